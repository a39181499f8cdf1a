#pragma once

#include <memory>
#include <string>

#include "boundary/JobData.h"
#include "job/JobContext.h"
#include "job/PagesPhase.h"
#include "job/ResultsPhase.h"
#include "tessel/KeyedCollection.h"
#include "tessel/WorkerThread.h"

namespace fetchcore {

// One save job on a thread of its own, created by its saver as "fetchcore.csaveworker"
// and run through "Run" with the job data. Reports every step to the saver's messenger;
// its last report is always the job-complete message.
class CSaveWorker : public tessel::Worker {
  public:
    bool HasMethod(const std::string& name) const override { return name == "Run"; }
    void Call(const std::string& name, const tessel::Variant& argument) override;

    // Returns when the job has finished.
    void Run(const tessel::Variant& Data);

  private:
    void Start(const JobData& data);
    void PrepareFolder();
    void WaitUntilFinished();
    void ReportRunFailure(const JobData& data, const tessel::ComError& error);
    void Release();

    std::unique_ptr<JobContext> job_;
    std::unique_ptr<PagesPhase> pages_;
    std::unique_ptr<ResultsPhase> results_;
};

}  // namespace fetchcore
