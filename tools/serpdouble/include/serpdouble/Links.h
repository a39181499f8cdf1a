#pragma once

#include <map>
#include <optional>
#include <string>

namespace serpdouble {

// How a result's link is written on the results page. Every kind points at the double.
enum class LinkKind {
    Plain,            // http://HOST/page/<i>
    Pdf,              // http://HOST/page/<i>.pdf
    PostScriptUpper,  // http://HOST/page/<i>.PS
    Https,            // https://HOST/page/<i> (the double does not speak TLS)
    Repeat,           // the same link as result i-1 (Plain for result 1)
    Entities,         // http://HOST/page/<i>?a=1&amp;b=2, read as ...?a=1&b=2
    UpperScheme,      // HTTP://HOST/page/<i>
    Relative,         // /page/<i>, which a reader of the page must skip
};

using LinkKinds = std::map<int, LinkKind>;  // result number -> kind; missing means Plain

// The href attribute value of result `i` as it stands in the page; `base` is
// "http://HOST:PORT" without a trailing slash.
std::string HrefFor(const std::string& base, int i, const LinkKinds& kinds);

// The address a correct reader of the page takes from that href (entities decoded), or
// nothing when the link is not an absolute http(s) address and must be skipped.
std::optional<std::string> LinkFor(const std::string& base, int i, const LinkKinds& kinds);

// Parses a LinkKind from its lower-case name ("plain", "pdf", "ps", "https", "repeat",
// "entities", "upper", "relative").
std::optional<LinkKind> LinkKindFromName(const std::string& name);

}  // namespace serpdouble
