#include "boundary/DownloadResult.h"

namespace fetchcore {

tessel::VariantArray DownloadResult::ToData() const {
    return tessel::VariantArray{cookie, page, isSuccess, errNumber, errDescription, url};
}

DownloadResult DownloadResult::FromData(const tessel::VariantArray& data) {
    DownloadResult result;
    result.cookie = data(1).ToString();
    result.page = data(2).ToString();
    result.isSuccess = data(3).ToBool();
    result.errNumber = data(4).ToLong();
    result.errDescription = data(5).ToString();
    if (data.Count() >= 6) result.url = data(6).ToString();
    return result;
}

}  // namespace fetchcore
