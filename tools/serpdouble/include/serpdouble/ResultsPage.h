#pragma once

#include <string>
#include <vector>

namespace serpdouble {

// One results page in the search engine's 2010 layout, as the harvest engine reads it.
struct ResultsPage {
    std::string keyword;                        // as typed; escaped where the page shows it
    std::string searchPath = "/google/search";  // target of the page's own search links
    int start = 0;                              // 0-based offset of the first entry
    int perPage = 10;
    int total = 0;                   // number of results announced
    std::vector<std::string> hrefs;  // one entry per link, attribute values as is
    bool moreResults = false;        // draw the navigation bar
    bool omittedNotice = false;      // the notice that similar entries were left out
};

std::string RenderResultsPage(const ResultsPage& page);

}  // namespace serpdouble
