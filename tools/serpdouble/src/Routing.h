#pragma once

#include "Context.h"

namespace httplib {
struct Request;
struct Response;
}  // namespace httplib

namespace serpdouble {

void ServeSearch(const Context& ctx, const httplib::Request& req, httplib::Response& res);
void ServePage(const Context& ctx, const httplib::Request& req, httplib::Response& res);

}  // namespace serpdouble
