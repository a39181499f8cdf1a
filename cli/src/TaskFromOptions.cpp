#include "TaskFromOptions.h"

#include "taskcore/SearchUrl.h"

namespace kestrova::cli {

TaskFields FieldsFrom(const CliOptions& o) {
    TaskFields fields;
    fields.keyword = o.searchUrl ? URLToKeyword(*o.searchUrl) : o.keyword;
    fields.searchUrl = o.searchUrl ? *o.searchUrl : KeywordToURL(o.keyword);
    fields.resultsFrom = o.from;
    fields.resultsTo = o.to;
    fields.resultsPerPage = o.perPage;
    fields.downloadPages = o.downloadFolder.has_value();
    fields.saveTo = o.downloadFolder.value_or("");
    fields.skipNonHtmlPages = o.skipNonHtml;
    return fields;
}

}  // namespace kestrova::cli
