#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "boundary/PageBody.h"
#include "tessel/Variant.h"

namespace fetchcore {

// The one message a download worker sends its downloader.
struct DownloadResult {
    static constexpr int32_t kMsg = 0;

    std::string cookie;
    std::shared_ptr<PageBody> page;  // none on failure
    bool isSuccess = false;
    int32_t errNumber = 0;
    std::string errDescription;
    std::string url;

    tessel::VariantArray ToData() const;
    // The body the result carries, or an empty one.
    const platform::ResponseBody& Body() const;
    // Throws when an element cannot be converted. The URL is optional: the downloader
    // has no use for it.
    static DownloadResult FromData(const tessel::VariantArray& data);
};

}  // namespace fetchcore
