#include "JobRunner.h"

#include <poll.h>

#include "platform/MessageDoorbell.h"
#include "tessel/MessageQueue.h"
#include "tessel/Toolbox.h"
#include "tessel/WorkerThread.h"

namespace kestrova::cli {
namespace {

constexpr const char* kEndedSilently = "The save job ended without a result; see the log. ";

// Sleeps until one of the descriptors (those not -1) is readable or a signal interrupts.
void SleepUntilReadable(int first, int second) {
    pollfd fds[2] = {{first, POLLIN, 0}, {second, POLLIN, 0}};
    poll(fds, second >= 0 ? 2 : 1, -1);
}

}  // namespace

JobRunner::JobRunner(fetchcore::CSaver& saver, JobProgress& results, Progress& progress)
    : saver_(saver), results_(results), progress_(progress) {}

JobOutcome JobRunner::Run(std::shared_ptr<fetchcore::CTask> task,
                          const StopRequest& stopRequested) {
    complete_ = false;
    outcome_ = {};
    const auto connection = saver_.Connect(*this);
    platform::MessageDoorbell doorbell;
    // The last worker thread ending wakes the loop too: a job may end without a word.
    const auto idleWatch =
        tessel::WorkerThread::ObserveIdle([queue = std::weak_ptr(tessel::MessageQueue::Current())] {
            if (auto q = queue.lock()) q->Post([] {});
        });
    saver_.Save(std::move(task));
    for (;;) {
        doorbell.Clear();
        tessel::Toolbox::PumpMessages();
        if (outcome_.stopSignal == 0 && stopRequested.received) {
            if (const int signal = stopRequested.received()) Cancel(signal);
        }
        if (complete_) break;
        if (JobEndedSilently()) {
            outcome_.success = false;
            outcome_.description = kEndedSilently;
            break;
        }
        // A stop already acted on stays readable: watching it again would spin.
        SleepUntilReadable(doorbell.Descriptor(),
                           outcome_.stopSignal == 0 ? stopRequested.descriptor : -1);
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

void JobRunner::Waiting(int32_t Seconds, const std::string& Reason) {
    progress_.Waiting(Seconds, Reason);
}

void JobRunner::Warning(const std::string& Text) {
    outcome_.warnings.push_back(Text);
}

void JobRunner::ResultList(const std::string& ResultList) {
    results_.ResultList(ResultList);
    progress_.ResultList(results_.ListedCount());
}

}  // namespace kestrova::cli
