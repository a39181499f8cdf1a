#include "JobRunner.h"

#include <chrono>

#include "tessel/Toolbox.h"
#include "tessel/WorkerThread.h"

namespace kestrova::cli {
namespace {
// How long one turn waits for a message before looking at the stop request again.
constexpr std::chrono::milliseconds kTurn{50};
constexpr const char* kEndedSilently = "The save job ended without a result; see the log. ";
}  // namespace

JobRunner::JobRunner(fetchcore::CSaver& saver, ResultTable& results, Progress& progress)
    : saver_(saver), results_(results), progress_(progress) {}

JobOutcome JobRunner::Run(std::shared_ptr<fetchcore::CTask> task,
                          const StopRequest& stopRequested) {
    complete_ = false;
    outcome_ = {};
    const auto connection = saver_.Connect(*this);
    saver_.Save(std::move(task));
    while (!complete_) {
        if (outcome_.stopSignal == 0) {
            if (const int signal = stopRequested()) Cancel(signal);
        }
        tessel::Toolbox::PumpMessagesFor(kTurn);
        if (!complete_ && JobEndedSilently()) {
            outcome_.success = false;
            outcome_.description = kEndedSilently;
            break;
        }
    }
    return outcome_;
}

void JobRunner::Cancel(int signal) {
    outcome_.stopSignal = signal;
    saver_.CancelAll();
}

// A job whose thread failed before it could report, or that never got a thread, sends no
// Complete; without this the loop would wait for ever.
bool JobRunner::JobEndedSilently() {
    if (tessel::WorkerThread::RunningCount() > 0) return false;
    tessel::Toolbox::PumpMessages();  // what the last thread sent before it ended
    return !complete_;
}

void JobRunner::Complete(bool IsSuccess, const std::string& ErrDescription) {
    complete_ = true;
    outcome_.success = IsSuccess;
    outcome_.description = ErrDescription;
}

void JobRunner::StartSavingPage(int32_t N, const std::string& url) {
    results_.StartSavingPage(N, url);
    progress_.StartSavingPage(N, url);
}

void JobRunner::PageSkipped(int32_t N, const std::string& url) {
    results_.PageSkipped(N, url);
    progress_.PageSkipped(N, url);
}

void JobRunner::SavingPageComplete(const std::string& url, bool IsSuccess,
                                   const std::string& ErrDescription) {
    results_.SavingPageComplete(url, IsSuccess, ErrDescription);
    progress_.SavingPageComplete(url, IsSuccess, ErrDescription);
}

void JobRunner::ResultList(const std::string& ResultList) {
    results_.ResultList(ResultList);
    progress_.ResultList(results_.Rows().size());
}

}  // namespace kestrova::cli
