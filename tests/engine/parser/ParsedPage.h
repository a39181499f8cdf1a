#pragma once

#include <string>
#include <vector>

#include "parser/CGP.h"
#include "tessel/RecordNode.h"

// Reads a parsed page the way the save job does: each named value is element 1 of the
// value list of the field with that name.
struct ParsedPage {
    std::vector<std::string> urls;
    std::vector<int> positions;
    bool noMorePages = false;
};

inline const tessel::Variant& ValueOf(const tessel::RecordNode& node, const std::string& name) {
    return node.Fields().Item(name).Values().Item(1);
}

inline ParsedPage Parse(const std::string& page) {
    const auto record = fetchcore::CGP().ParsePage(page);
    ParsedPage parsed;
    parsed.noMorePages = ValueOf(*record, "NoMorePages").ToBool();
    for (const tessel::RecordNode& child : record->Children()) {
        parsed.positions.push_back(ValueOf(child, "Pos").ToLong());
        parsed.urls.push_back(ValueOf(child, "URL").ToString());
    }
    return parsed;
}

inline std::vector<std::string> LinksOf(const std::string& page) {
    return Parse(page).urls;
}

// A minimal page of the 2010 layout around the given result entries.
inline std::string ResultsPage(const std::string& entries, bool withNavigationBar = true) {
    std::string page = "<html><span class=tbpc>Show options...</span>";
    page += "<h2 class=hd>Search Results</h2><div><ol>" + entries + "</ol></div>";
    if (withNavigationBar) page += "<div id=navcnt></div>";
    return page + "<script>tail()</script>";
}

inline std::string Entry(const std::string& anchorAttributes) {
    return "<li class=g><h3 class=r><a " + anchorAttributes + ">Title</a></h3>";
}

inline std::string LinkEntry(const std::string& url) {
    return Entry("href=\"" + url + "\"");
}
