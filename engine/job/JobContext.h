#pragma once

#include <memory>
#include <optional>
#include <string>

#include "corpus/JobArchive.h"
#include "corpus/Manifest.h"
#include "download/DownloadService.h"
#include "fetchcore/CTask.h"
#include "job/JobReporter.h"
#include "job/ResultTable.h"
#include "tessel/Error.h"
#include "tessel/Log.h"

namespace fetchcore {

// What both phases of one save job share. Lives on the job's thread.
struct JobContext {
    std::shared_ptr<tessel::Log> log;  // the job's own, on its saver's log file
    std::shared_ptr<CTask> task;
    std::optional<JobReporter> report;
    std::string semaphoreName;
    std::string cancelEventName;
    std::shared_ptr<const DownloadService> downloads;
    bool skipNonHTML = false;
    ResultTable results;
    std::shared_ptr<JobArchive> archive;  // when the task names a WARC file
    std::optional<Manifest> manifest;     // when the task asks for one and saves pages

    bool Finished() const { return report && report->Finished(); }

    // `procedure` names the failing step, as "CSaveWorker.<procedure>".
    void LogError(const tessel::ComError& error, const std::string& procedure) const {
        if (log) {
            log->Write(error.Number(), error.Description(), tessel::level::kEngineError,
                       "CSaveWorker." + procedure);
        }
    }

    // Tells the user something that does not end the job: raised as a Warning, and logged
    // under "CSaveWorker.<procedure>" unless the caller logs it its own way.
    void Warn(const std::string& text, const std::string& procedure, bool logIt = true) {
        if (logIt && log) log->Write(0, text, tessel::level::kInfo, "CSaveWorker." + procedure);
        if (report) report->Warning(text);
    }
};

}  // namespace fetchcore
