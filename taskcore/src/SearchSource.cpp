#include "taskcore/SearchSource.h"

#include "fetchcore/BraveAddress.h"
#include "fetchcore/SearxngAddress.h"
#include "taskcore/SearchUrl.h"

namespace kestrova {

SearchSource SourceOfAddress(const std::string& url) {
    // The engine tells its sources apart by the path; a Brave path with format=json in its
    // query is still the Brave Search API.
    if (fetchcore::IsBraveAddress(url)) return SearchSource::Brave;
    if (fetchcore::IsSearxngAddress(url)) return SearchSource::Searxng;
    return SearchSource::Google;
}

std::string SourceAddress(SearchSource source, const std::string& keyword,
                          const std::string& searxngInstance) {
    switch (source) {
        case SearchSource::Searxng:
            return SearxngSearchURL(searxngInstance, keyword);
        case SearchSource::Brave:
            return BraveSearchURL(keyword);
        case SearchSource::Google:
            break;
    }
    return KeywordToURL(keyword);
}

}  // namespace kestrova
