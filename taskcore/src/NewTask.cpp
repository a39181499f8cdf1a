#include "taskcore/NewTask.h"

namespace kestrova {

std::shared_ptr<fetchcore::CTask> NewTask(const TaskValues& v) {
    auto task = std::make_shared<fetchcore::CTask>();
    task->SearchURL(v.SearchURL);
    task->KW(v.KW);
    task->ResultsFrom(v.ResultsFrom);
    task->ResultsTo(v.ResultsTo);
    task->ResultsPerPage(v.ResultsPerPage);
    task->DownloadResultPages(v.DownloadResultPages);
    task->SkipNonHTMLFiles(v.SkipNonHTMLFiles);
    task->SaveResultsToFolder(v.SaveResultsToFolder);
    task->Resume(v.Resume);
    task->SearchApiKey(v.SearchApiKey);
    task->SearchApiKeyOrigin(v.SearchApiKeyOrigin);
    task->Manifest(v.Manifest);
    task->WarcFile(v.WarcFile);
    return task;
}

}  // namespace kestrova
