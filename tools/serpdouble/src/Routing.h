#pragma once

#include "Context.h"

namespace httplib {
struct Request;
struct Response;
}  // namespace httplib

namespace serpdouble {

void ServeSearch(const Context& ctx, const httplib::Request& req, httplib::Response& res);
// SearXNG's JSON API: "q", "pageno" (from 1) and "format=json".
void ServeSearxng(const Context& ctx, const httplib::Request& req, httplib::Response& res);
void ServePage(const Context& ctx, const httplib::Request& req, httplib::Response& res);

}  // namespace serpdouble
