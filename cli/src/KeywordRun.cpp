#include "KeywordRun.h"

#include <algorithm>
#include <sstream>
#include <thread>

#include "ResultWriter.h"
#include "TaskRun.h"

namespace kestrova::cli {
namespace {
// How often a pause looks for a stop request.
constexpr std::chrono::milliseconds kPauseTurn{50};
}  // namespace

std::string KeywordLabel(const std::string& keyword, std::size_t index, std::size_t count) {
    return keyword + " (" + std::to_string(index + 1) + "/" + std::to_string(count) + ")";
}

KeywordRun::KeywordRun(fetchcore::CSaver& saver, std::shared_ptr<tessel::Log> log,
                       KeywordRunSettings settings, std::ostream& err)
    : saver_(saver), log_(std::move(log)), settings_(settings), err_(err) {}

KeywordRunOutcome KeywordRun::Run(const std::vector<KeywordTask>& tasks, const Deliver& deliver,
                                  const JobRunner::StopRequest& stopRequested) {
    outcome_ = {};
    for (std::size_t i = 0; i < tasks.size(); ++i) {
        if (i > 0) outcome_.stopSignal = Pause(stopRequested);
        if (outcome_.stopSignal == 0) outcome_.stopSignal = stopRequested();
        if (outcome_.stopSignal != 0 || !RunOne(tasks, i, deliver, stopRequested)) break;
    }
    return outcome_;
}

bool KeywordRun::RunOne(const std::vector<KeywordTask>& tasks, std::size_t index,
                        const Deliver& deliver, const JobRunner::StopRequest& stopRequested) {
    const KeywordTask& task = tasks[index];
    Progress progress(err_, settings_.progressMode, settings_.width,
                      KeywordLabel(task.keyword, index, tasks.size()));
    const TaskResult result = RunTask(saver_, task.values, progress, stopRequested, *log_);
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

int KeywordRun::Pause(const JobRunner::StopRequest& stopRequested) const {
    const auto end = std::chrono::steady_clock::now() + settings_.pause;
    for (auto now = std::chrono::steady_clock::now(); now < end;
         now = std::chrono::steady_clock::now()) {
        if (const int signal = stopRequested()) return signal;
        std::this_thread::sleep_for(
            std::min<std::chrono::steady_clock::duration>(kPauseTurn, end - now));
    }
    return 0;
}

}  // namespace kestrova::cli
