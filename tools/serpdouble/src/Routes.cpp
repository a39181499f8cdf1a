#include "Routes.h"

#include <httplib.h>

#include "Answer.h"
#include "Routing.h"

namespace serpdouble {

namespace {

void ServeOther(const Context& ctx, const httplib::Request& req, httplib::Response& res) {
    Answer answer(ctx, req, res, PathKind::Other);
    if (!answer.Wait(ctx.options.latency)) return;
    const std::map<int, Fault> none;
    if (const Fault* fault = FindFault(ctx, req.path, none, 0);
        fault && answer.Apply(*fault, "Not Found", "text/plain")) {
        return;
    }
    answer.Body(404, "Not Found", "text/plain");
}

}  // namespace

void InstallRoutes(httplib::Server& server, const Context& ctx) {
    const Context* c = &ctx;
    server.Get("/google/search", [c](const httplib::Request& req, httplib::Response& res) {
        ServeSearch(*c, req, res);
    });
    server.Get("/search", [c](const httplib::Request& req, httplib::Response& res) {
        ServeSearxng(*c, req, res);
    });
    server.Get("/res/v1/web/search", [c](const httplib::Request& req, httplib::Response& res) {
        ServeBrave(*c, req, res);
    });
    server.Get(R"(/page/(\d+)(.*))", [c](const httplib::Request& req, httplib::Response& res) {
        ServePage(*c, req, res);
    });
    server.Get(".*", [c](const httplib::Request& req, httplib::Response& res) {
        ServeOther(*c, req, res);
    });
}

}  // namespace serpdouble
