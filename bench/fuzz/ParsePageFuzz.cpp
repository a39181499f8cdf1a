#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "parser/CGP.h"

namespace {

void Require(bool holds) {
    if (!holds) __builtin_trap();
}

bool StartsWithHttpInAnyCase(std::string_view url) {
    if (url.size() < 4) return false;
    for (std::size_t i = 0; i < 4; ++i) {
        if ((url[i] | 0x20) != "http"[i]) return false;
    }
    return true;
}

}  // namespace

// Any page parses without error; what comes out keeps the record's promises.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string page(reinterpret_cast<const char*>(data), size);
    const auto record = fetchcore::CGP().ParsePage(page);
    Require(record->Fields().Count() == 1);
    Require(record->Fields().Item("NoMorePages").Values().Item(1).IsBool());
    int32_t expectedPos = 0;
    for (const tessel::RecordNode& child : record->Children()) {
        Require(child.Fields().Item("Pos").Values().Item(1).ToLong() == ++expectedPos);
        const std::string url = child.Fields().Item("URL").Values().Item(1).ToString();
        Require(StartsWithHttpInAnyCase(url));
        Require(!url.starts_with("http://74.125.153.132/"));
        Require(!url.starts_with("http://news.google.com/"));
        Require(url.size() <= size);
    }
    return 0;
}
