#include "KeywordRun.h"

#include <poll.h>

#include <algorithm>
#include <limits>
#include <sstream>

#include "ResultWriter.h"
#include "TaskRun.h"
#include "taskcore/KeywordList.h"

namespace kestrova::cli {

KeywordRun::KeywordRun(fetchcore::CSaver& saver, std::shared_ptr<tessel::Log> log,
                       KeywordRunSettings settings, std::ostream& err)
    : saver_(saver), log_(std::move(log)), settings_(settings), err_(err) {}

KeywordRunOutcome KeywordRun::Run(const std::vector<KeywordTask>& tasks, const Deliver& deliver,
                                  const StopRequest& stopRequested) {
    outcome_ = {};
    for (std::size_t i = 0; i < tasks.size(); ++i) {
        if (i > 0) outcome_.stopSignal = Pause(stopRequested);
        if (outcome_.stopSignal == 0) outcome_.stopSignal = stopRequested.received();
        if (outcome_.stopSignal != 0 || !RunOne(tasks, i, deliver, stopRequested)) break;
    }
    return outcome_;
}

bool KeywordRun::RunOne(const std::vector<KeywordTask>& tasks, std::size_t index,
                        const Deliver& deliver, const StopRequest& stopRequested) {
    const KeywordTask& task = tasks[index];
    Progress progress(err_, settings_.progressMode, settings_.width,
                      KeywordLabel(task.keyword, index, tasks.size()));
    const TaskResult result = RunTask(saver_, task.values, progress, stopRequested, *log_);
    for (const auto& warning : result.outcome.warnings)
        err_ << kProgramPrefix << task.keyword << ": warning: " << warning << "\n";
    outcome_.stopSignal = result.outcome.stopSignal;
    if (!result.outcome.success) {
        ++outcome_.failed;
        err_ << kProgramPrefix << task.keyword << ": " << result.outcome.description << "\n"
             << std::flush;
    } else {
        std::ostringstream text;
        WriteResults(text, result.rows, settings_.format, task.keyword);
        outcome_.outputFailed = !deliver(text.str());
    }
    return outcome_.stopSignal == 0 && !outcome_.outputFailed;
}

int KeywordRun::Pause(const StopRequest& stopRequested) const {
    // Sleeps on the stop descriptor until the pause is over; a signal that interrupts the
    // sleep is looked at at once.
    const auto end = std::chrono::steady_clock::now() + settings_.pause;
    for (auto now = std::chrono::steady_clock::now(); now < end;
         now = std::chrono::steady_clock::now()) {
        if (const int signal = stopRequested.received()) return signal;
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(end - now);
        pollfd fd{stopRequested.descriptor, POLLIN, 0};
        poll(&fd, 1,
             static_cast<int>(std::min<std::chrono::milliseconds::rep>(
                 left.count(), std::numeric_limits<int>::max())));
    }
    return stopRequested.received();
}

}  // namespace kestrova::cli
