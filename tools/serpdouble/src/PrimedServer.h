#pragma once

#include <httplib.h>

namespace serpdouble {

// httplib builds some tables (the request methods, the Range patterns) on first use,
// behind guards that ThreadSanitizer cannot see inside the uninstrumented library, so two
// first requests at once look like a race. Serving one request in memory before any pool
// thread exists builds them where every later thread is ordered after.
class PrimedServer : public httplib::Server {
  public:
    // Call before the routes are installed and before listening.
    void Prime();
};

}  // namespace serpdouble
