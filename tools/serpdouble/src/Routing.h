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
// The Brave Search API's web search: the key in "X-Subscription-Token", "q", "count" (1 to
// 20) and "offset" (0 to 9); anything else is refused as the API refuses it.
void ServeBrave(const Context& ctx, const httplib::Request& req, httplib::Response& res);
void ServePage(const Context& ctx, const httplib::Request& req, httplib::Response& res);

}  // namespace serpdouble
