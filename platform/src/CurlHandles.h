#pragma once

#include <curl/curl.h>

#include <memory>

namespace platform {

struct EasyCleanup {
    void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
struct MultiCleanup {
    void operator()(CURLM* multi) const { curl_multi_cleanup(multi); }
};
struct ShareCleanup {
    void operator()(CURLSH* share) const { curl_share_cleanup(share); }
};
struct SlistCleanup {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

using EasyHandle = std::unique_ptr<CURL, EasyCleanup>;
using MultiHandle = std::unique_ptr<CURLM, MultiCleanup>;
using ShareHandle = std::unique_ptr<CURLSH, ShareCleanup>;
using HeaderList = std::unique_ptr<curl_slist, SlistCleanup>;

}  // namespace platform
