#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "CliOptions.h"
#include "JobRunner.h"
#include "Progress.h"
#include "fetchcore/CSaver.h"
#include "taskcore/TaskChecks.h"
#include "tessel/Log.h"

namespace kestrova::cli {

// One keyword of a keyword list and the checked task that searches for it.
struct KeywordTask {
    std::string keyword;
    TaskValues values;
};

struct KeywordRunSettings {
    OutputFormat format = OutputFormat::List;
    std::chrono::milliseconds pause{0};  // between two jobs
    Progress::Mode progressMode = Progress::Mode::Quiet;
    std::size_t width = 80;  // of the terminal, for Progress::Mode::Terminal
};

struct KeywordRunOutcome {
    int failed = 0;             // jobs that ended without results
    int stopSignal = 0;         // the signal that ended the run, or 0
    bool outputFailed = false;  // results could not be written; the run stopped there
};

// Runs one job per keyword, in turn, on one saver. A job that fails is told on `err` with
// its keyword and the run goes on; a stop request cancels the job under way (or ends the
// pause) and starts no other.
class KeywordRun {
  public:
    // Takes a finished job's rows, already written out in the run's format; false when they
    // could not be delivered.
    using Deliver = std::function<bool(const std::string& text)>;

    KeywordRun(fetchcore::CSaver& saver, std::shared_ptr<tessel::Log> log,
               KeywordRunSettings settings, std::ostream& err);

    KeywordRunOutcome Run(const std::vector<KeywordTask>& tasks, const Deliver& deliver,
                          const StopRequest& stopRequested);

  private:
    // Runs the job at `index`; false when the run must end after it.
    bool RunOne(const std::vector<KeywordTask>& tasks, std::size_t index, const Deliver& deliver,
                const StopRequest& stopRequested);
    // Waits the pause out; returns the stop signal that ended it early, or 0.
    int Pause(const StopRequest& stopRequested) const;

    fetchcore::CSaver& saver_;
    std::shared_ptr<tessel::Log> log_;
    KeywordRunSettings settings_;
    std::ostream& err_;
    KeywordRunOutcome outcome_;
};

}  // namespace kestrova::cli
