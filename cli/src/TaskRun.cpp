#include "TaskRun.h"

#include <memory>
#include <string>

#include "fetchcore/FileNaming.h"
#include "taskcore/NewTask.h"
#include "tessel/WorkerThread.h"

namespace kestrova::cli {
namespace {

// Where the job saved a page: the engine's own rule, as the window uses to open saved pages.
JobProgress::SavedPathRule SavedPathRule(std::shared_ptr<fetchcore::CTask> task) {
    return [task](int32_t N, const std::string& url) {
        return fetchcore::SavedPagePath(task->SaveResultsToFolder(), task->KW(), N, url);
    };
}

}  // namespace

TaskResult RunTask(fetchcore::CSaver& saver, const TaskValues& values, Progress& progress,
                   const StopRequest& stopRequested, tessel::Log& log) {
    auto task = NewTask(values);
    JobProgress results(SavedPathRule(task));
    JobRunner runner(saver, results, progress);
    progress.Started();
    TaskResult result{runner.Run(task, stopRequested), {}};
    tessel::WorkerThread::JoinAll();
    progress.Finish();
    if (result.outcome.stopSignal)
        log.Write(0, "Cancelled by signal " + std::to_string(result.outcome.stopSignal),
                  tessel::level::kInfo, "kestrova-cli.RunJob");
    if (result.outcome.success) result.rows = results.ListedRows();
    return result;
}

}  // namespace kestrova::cli
