#include "parser/CGP.h"

#include <string_view>

#include "parser/BoldTags.h"
#include "parser/Entities.h"
#include "parser/EntryLink.h"
#include "parser/PageMarkers.h"
#include "parser/TextSearch.h"

namespace fetchcore {
namespace {

using parser::Find;
namespace markers = parser::markers;
constexpr auto npos = std::string_view::npos;

std::string_view FromPageStart(std::string_view page) {
    const std::size_t start = Find(page, markers::kPageStart);
    return start == npos ? page : page.substr(start);
}

bool NoMorePages(std::string_view page) {
    return !parser::Contains(page, markers::kNavigationBar) ||
           parser::Contains(page, markers::kOmittedNotice);
}

// From the first "<div" after the heading up to the first "<script>" after that; empty
// when the page has no results heading.
std::string_view ResultsSection(std::string_view page) {
    const std::size_t heading = Find(page, markers::kResultsHeading);
    if (heading == npos) return {};
    std::string_view section = page.substr(heading);
    if (const std::size_t list = Find(section, markers::kListStart); list != npos) {
        section.remove_prefix(list);
    }
    if (const std::size_t end = Find(section, markers::kSectionEnd); end != npos) {
        section = section.substr(0, end);
    }
    return section;
}

void AddLinks(std::string_view section, tessel::RecordNode& record) {
    const std::size_t step = markers::kEntryStart.size();
    std::size_t entryStart = Find(section, markers::kEntryStart);
    int32_t pos = 0;
    while (entryStart != npos) {
        const std::size_t next = Find(section, markers::kEntryStart, entryStart + step);
        const std::size_t entryEnd = next == npos ? section.size() : next;
        const auto entry = section.substr(entryStart + step, entryEnd - entryStart - step);
        const auto link = parser::RawLinkOfEntry(entry);
        if (link && parser::IsResultLink(*link)) {
            tessel::RecordNode& child = record.Children().Add();
            child.Fields().Add("Pos", ++pos);
            child.Fields().Add("URL", parser::DecodeEntities(*link));
        }
        entryStart = next;
    }
}

}  // namespace

std::shared_ptr<tessel::RecordNode> CGP::ParsePage(const std::string& pageText) const {
    try {
        auto record = std::make_shared<tessel::RecordNode>();
        const std::string_view page = FromPageStart(pageText);
        const bool noMorePages = NoMorePages(page);
        const std::string unbolded = parser::StripBoldTags(page);
        AddLinks(ResultsSection(unbolded), *record);
        record->Fields().Add("NoMorePages", noMorePages);
        return record;
    } catch (...) {
        // Whatever the record library failed with, the caller sees one parse error.
        throw tessel::ComError(kErrCannotParsePage, kCannotParsePageText);
    }
}

}  // namespace fetchcore
