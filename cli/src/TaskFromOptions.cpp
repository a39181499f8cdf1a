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

std::shared_ptr<fetchcore::CTask> TaskFrom(const TaskValues& v) {
    auto task = std::make_shared<fetchcore::CTask>();
    task->SearchURL(v.SearchURL);
    task->KW(v.KW);
    task->ResultsFrom(v.ResultsFrom);
    task->ResultsTo(v.ResultsTo);
    task->ResultsPerPage(v.ResultsPerPage);
    task->DownloadResultPages(v.DownloadResultPages);
    task->SkipNonHTMLFiles(v.SkipNonHTMLFiles);
    task->SaveResultsToFolder(v.SaveResultsToFolder);
    return task;
}

}  // namespace kestrova::cli
