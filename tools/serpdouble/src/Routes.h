#pragma once

#include "Context.h"

namespace httplib {
class Server;
}

namespace serpdouble {

// Results pages at /google/search, result pages at /page/<i>..., 404 elsewhere.
// `ctx` must outlive the server.
void InstallRoutes(httplib::Server& server, const Context& ctx);

}  // namespace serpdouble
