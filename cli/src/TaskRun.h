#pragma once

#include <string>
#include <vector>

#include "JobRunner.h"
#include "Progress.h"
#include "fetchcore/CSaver.h"
#include "taskcore/JobProgress.h"
#include "taskcore/TaskChecks.h"
#include "tessel/Log.h"

namespace kestrova::cli {

struct TaskResult {
    JobOutcome outcome;           // with the job's warnings
    std::vector<ResultRow> rows;  // in result order; empty when nothing was listed
};

// Runs one job for `values` on `saver`, showing it on `progress`, and returns once every
// thread of the job has ended. A stop request cancels it (see JobRunner).
TaskResult RunTask(fetchcore::CSaver& saver, const TaskValues& values, Progress& progress,
                   const StopRequest& stopRequested, tessel::Log& log);

}  // namespace kestrova::cli
