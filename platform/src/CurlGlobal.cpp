#include <curl/curl.h>

#include <mutex>

#include "platform/Transfer.h"

namespace platform {

// libcurl's global state is set up once for the whole process and never torn down:
// requests may still be alive on other threads while the process exits.
bool HttpAvailable() {
    static std::once_flag once;
    static bool available = false;
    std::call_once(once, [] { available = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK; });
    return available;
}

}  // namespace platform
