#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "parser/CGP.h"
#include "source/SearxngReader.h"

namespace {

void Require(bool holds) {
    if (!holds) __builtin_trap();
}

bool StartsWithHttpSchemeInAnyCase(std::string_view url) {
    const auto startsWith = [url](std::string_view prefix) {
        if (url.size() < prefix.size()) return false;
        for (std::size_t i = 0; i < prefix.size(); ++i) {
            if ((url[i] | 0x20) != prefix[i] && url[i] != prefix[i]) return false;
        }
        return true;
    };
    return startsWith("http://") || startsWith("https://");
}

}  // namespace

// Any answer is either read or refused with the parse error; what is read is http(s) only.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        const auto page = fetchcore::ReadSearxngPage(text);
        for (const auto& result : page.results) {
            Require(StartsWithHttpSchemeInAnyCase(result.url));
            Require(result.url.size() <= size);
            Require(result.title.size() + result.snippet.size() <= size);
        }
        (void)fetchcore::DescribeEngines(page.unresponsive);
    } catch (const tessel::ComError& error) {
        Require(error.Number() == fetchcore::CGP::kErrCannotParsePage);
    }
    return 0;
}
