#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Progress.h"
#include "fetchcore/CSaver.h"
#include "taskcore/JobProgress.h"

namespace kestrova::cli {

struct JobOutcome {
    bool success = false;
    std::string description;            // why the job failed
    int stopSignal = 0;                 // the signal that cancelled the job, or 0
    std::vector<std::string> warnings;  // what the job warned of, in order
};

// What asks a running job to stop: `received` answers the signal number once one has
// arrived (0 before), and `descriptor` becomes readable when it does (-1: none to watch).
struct StopRequest {
    std::function<int()> received;
    int descriptor = -1;
};

// Runs one job on a saver from this thread: starts it, sleeps until the saver's messages or
// a stop request arrive, pumps them so the saver's events come, and returns after the
// job's Complete. A non-zero stop answer cancels the job once.
class JobRunner : private fetchcore::CSaverEvents {
  public:
    JobRunner(fetchcore::CSaver& saver, JobProgress& results, Progress& progress);

    JobOutcome Run(std::shared_ptr<fetchcore::CTask> task, const StopRequest& stopRequested);

  private:
    void Complete(bool IsSuccess, const std::string& ErrDescription) override;
    void StartSavingPage(int32_t N, const std::string& url) override;
    void PageSkipped(int32_t N, const std::string& url) override;
    void SavingPageComplete(const std::string& url, bool IsSuccess,
                            const std::string& ErrDescription) override;
    void ResultList(const std::string& ResultList) override;
    void Waiting(int32_t Seconds, const std::string& Reason) override;
    void Warning(const std::string& Text) override;

    void Cancel(int signal);
    bool JobEndedSilently();

    fetchcore::CSaver& saver_;
    JobProgress& results_;
    Progress& progress_;
    bool complete_ = false;
    JobOutcome outcome_;
};

}  // namespace kestrova::cli
