#include "boundary/DownloadResult.h"

namespace fetchcore {
namespace {

// The worker sends its body as an object; a page given as text is taken as well.
std::shared_ptr<PageBody> PageOf(const tessel::Variant& page) {
    if (page.IsObject()) return page.As<PageBody>();
    return std::make_shared<PageBody>(platform::ResponseBody::Holding(page.ToString()));
}

}  // namespace

tessel::VariantArray DownloadResult::ToData() const {
    // The body goes as an object, so its bytes stay where they are; a failure has none.
    const tessel::Variant body = page ? tessel::Variant(page) : tessel::Variant("");
    return tessel::VariantArray{cookie, body, isSuccess, errNumber, errDescription, url};
}

DownloadResult DownloadResult::FromData(const tessel::VariantArray& data) {
    DownloadResult result;
    result.cookie = data(1).ToString();
    result.page = PageOf(data(2));
    result.isSuccess = data(3).ToBool();
    result.errNumber = data(4).ToLong();
    result.errDescription = data(5).ToString();
    if (data.Count() >= 6) result.url = data(6).ToString();
    return result;
}

const platform::ResponseBody& DownloadResult::Body() const {
    static const platform::ResponseBody kNone;
    return page ? page->Body() : kNone;
}

}  // namespace fetchcore
