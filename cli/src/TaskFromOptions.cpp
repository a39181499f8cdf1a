#include "TaskFromOptions.h"

#include "taskcore/SearchSource.h"
#include "taskcore/SearchUrl.h"

namespace kestrova::cli {

namespace {

// --url as given; else --searxng or --brave, else KESTROVA_SEARXNG, else the plain search
// address.
std::string SearchUrlFrom(const CliOptions& o) {
    if (o.searchUrl) return *o.searchUrl;
    if (o.searxng) return SourceAddress(SearchSource::Searxng, o.keyword, *o.searxng);
    if (o.brave) return SourceAddress(SearchSource::Brave, o.keyword);
    return DefaultSearchURL(o.keyword);
}

}  // namespace

TaskFields FieldsFrom(const CliOptions& o) {
    TaskFields fields;
    fields.keyword = o.searchUrl ? URLToKeyword(*o.searchUrl) : o.keyword;
    fields.searchUrl = SearchUrlFrom(o);
    fields.resultsFrom = o.from;
    fields.resultsTo = o.to;
    fields.resultsPerPage = o.perPage;
    fields.downloadPages = o.downloadFolder.has_value();
    fields.saveTo = o.downloadFolder.value_or("");
    fields.skipNonHtmlPages = o.skipNonHtml;
    return fields;
}

}  // namespace kestrova::cli
