#include "CurlShare.h"

#include "platform/Transfer.h"

namespace platform {

CurlShare::CurlShare() : handle_(curl_share_init()) {
    CURLSH* share = handle_.get();
    bool ok = share != nullptr;
    ok = ok && curl_share_setopt(share, CURLSHOPT_SHARE, CURL_LOCK_DATA_DNS) == CURLSHE_OK;
    ok = ok && curl_share_setopt(share, CURLSHOPT_SHARE, CURL_LOCK_DATA_SSL_SESSION) == CURLSHE_OK;
    if (!ok) {
        throw tessel::ComError(httperr::kUnavailable,
                               "The HTTP client could not set up shared connection data. ");
    }
}

}  // namespace platform
