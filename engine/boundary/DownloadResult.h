#pragma once

#include <cstdint>
#include <string>

#include "tessel/Variant.h"

namespace fetchcore {

// The one message a download worker sends its downloader.
struct DownloadResult {
    static constexpr int32_t kMsg = 0;

    std::string cookie;
    std::string page;  // empty on failure
    bool isSuccess = false;
    int32_t errNumber = 0;
    std::string errDescription;
    std::string url;

    tessel::VariantArray ToData() const;
    // Throws when an element cannot be converted. The URL is optional: the downloader
    // has no use for it.
    static DownloadResult FromData(const tessel::VariantArray& data);
};

}  // namespace fetchcore
