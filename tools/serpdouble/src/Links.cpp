#include "serpdouble/Links.h"

namespace serpdouble {

namespace {

LinkKind KindOf(int i, const LinkKinds& kinds) {
    const auto found = kinds.find(i);
    return found == kinds.end() ? LinkKind::Plain : found->second;
}

// A repeated link stands for the nearest earlier result that is not itself a repeat.
int Origin(int i, const LinkKinds& kinds) {
    while (i > 1 && KindOf(i, kinds) == LinkKind::Repeat) --i;
    return i;
}

std::string PagePath(int i) {
    return "/page/" + std::to_string(i);
}

std::string WithScheme(const std::string& base, const std::string& scheme) {
    const auto colon = base.find("://");
    return colon == std::string::npos ? base : scheme + base.substr(colon);
}

}  // namespace

std::string HrefFor(const std::string& base, int i, const LinkKinds& kinds) {
    i = Origin(i, kinds);
    switch (KindOf(i, kinds)) {
        case LinkKind::Pdf:
            return base + PagePath(i) + ".pdf";
        case LinkKind::PostScriptUpper:
            return base + PagePath(i) + ".PS";
        case LinkKind::Https:
            return WithScheme(base, "https") + PagePath(i);
        case LinkKind::Entities:
            return base + PagePath(i) + "?a=1&amp;b=2";
        case LinkKind::UpperScheme:
            return WithScheme(base, "HTTP") + PagePath(i);
        case LinkKind::Relative:
            return PagePath(i);
        case LinkKind::Plain:
        case LinkKind::Repeat:
            break;
    }
    return base + PagePath(i);
}

std::optional<std::string> LinkFor(const std::string& base, int i, const LinkKinds& kinds) {
    i = Origin(i, kinds);
    switch (KindOf(i, kinds)) {
        case LinkKind::Relative:
            return std::nullopt;
        case LinkKind::Entities:
            return base + PagePath(i) + "?a=1&b=2";
        default:
            return HrefFor(base, i, kinds);
    }
}

std::optional<LinkKind> LinkKindFromName(const std::string& name) {
    static const std::map<std::string, LinkKind> kNames = {
        {"plain", LinkKind::Plain},        {"pdf", LinkKind::Pdf},
        {"ps", LinkKind::PostScriptUpper}, {"https", LinkKind::Https},
        {"repeat", LinkKind::Repeat},      {"entities", LinkKind::Entities},
        {"upper", LinkKind::UpperScheme},  {"relative", LinkKind::Relative},
    };
    const auto found = kNames.find(name);
    if (found == kNames.end()) return std::nullopt;
    return found->second;
}

}  // namespace serpdouble
