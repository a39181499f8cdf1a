#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzChecks.h"
#include "parser/CGP.h"
#include "source/BraveReader.h"

using fuzzcheck::Require;
using fuzzcheck::StartsWithHttpSchemeInAnyCase;

// Any answer is either read or refused with the parse error, and what is read is http(s)
// only; the error reader never fails, it finds an error object or none.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        const auto page = fetchcore::ReadBravePage(text);
        for (const auto& result : page.results) {
            Require(StartsWithHttpSchemeInAnyCase(result.url));
            Require(result.url.size() + result.title.size() + result.snippet.size() <= size);
        }
    } catch (const tessel::ComError& error) {
        Require(error.Number() == fetchcore::CGP::kErrCannotParsePage);
    }
    if (const auto error = fetchcore::ReadBraveError(text))
        Require(error->code.size() + error->detail.size() <= size);
    return 0;
}
