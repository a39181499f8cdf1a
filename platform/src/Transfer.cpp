#include "platform/Transfer.h"

#include "platform/ReasonPhrase.h"
#include "tessel/Text.h"

namespace platform {

std::optional<std::string_view> ResponseHead::Header(std::string_view name) const {
    for (const std::string& line : headerLines) {
        const std::string_view text = line;
        if (text.size() > name.size() && text[name.size()] == ':' &&
            tessel::StartsWithNoCase(text, name)) {
            return tessel::TrimBlanks(text.substr(name.size() + 1), " \t");
        }
    }
    return std::nullopt;
}

std::string TransferResult::StatusText() const {
    return reason.empty() ? std::string(StandardReasonPhrase(status)) : reason;
}

}  // namespace platform
