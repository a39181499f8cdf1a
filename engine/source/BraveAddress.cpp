#include "fetchcore/BraveAddress.h"

#include <algorithm>
#include <string_view>

namespace fetchcore {

bool IsBraveAddress(const std::string& url) {
    const std::string_view address = url;
    const std::string_view path = address.substr(0, std::min(url.find('?'), url.find('#')));
    return path.ends_with("/res/v1/web/search");
}

}  // namespace fetchcore
