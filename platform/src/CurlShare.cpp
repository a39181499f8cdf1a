#include "CurlShare.h"

#include "platform/HttpRequest.h"

namespace platform {

CurlShare::CurlShare() : handle_(curl_share_init()) {
    CURLSH* share = handle_.get();
    bool ok = share != nullptr;
    ok = ok && curl_share_setopt(share, CURLSHOPT_USERDATA, this) == CURLSHE_OK;
    ok = ok && curl_share_setopt(share, CURLSHOPT_LOCKFUNC, &CurlShare::Lock) == CURLSHE_OK;
    ok = ok && curl_share_setopt(share, CURLSHOPT_UNLOCKFUNC, &CurlShare::Unlock) == CURLSHE_OK;
    ok = ok && curl_share_setopt(share, CURLSHOPT_SHARE, CURL_LOCK_DATA_DNS) == CURLSHE_OK;
    ok = ok && curl_share_setopt(share, CURLSHOPT_SHARE, CURL_LOCK_DATA_SSL_SESSION) == CURLSHE_OK;
    if (!ok) {
        throw tessel::ComError(httperr::kUnavailable,
                               "The HTTP client could not set up shared connection data. ");
    }
}

void CurlShare::Lock(CURL*, curl_lock_data data, curl_lock_access, void* self) {
    static_cast<CurlShare*>(self)->locks_.at(static_cast<std::size_t>(data)).lock();
}

void CurlShare::Unlock(CURL*, curl_lock_data data, void* self) {
    static_cast<CurlShare*>(self)->locks_.at(static_cast<std::size_t>(data)).unlock();
}

}  // namespace platform
