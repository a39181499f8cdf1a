#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "tessel/Messanger.h"

namespace fetchcore {

// A job's reports to its saver, as the numbered messages the saver turns into events.
// The job-complete message goes out once; nothing follows it, so a saver never hears of
// a job after its Complete.
class JobReporter {
  public:
    JobReporter(std::shared_ptr<tessel::Messanger> messanger, std::string jobId)
        : messanger_(std::move(messanger)), jobId_(std::move(jobId)) {}

    void PageSkipped(int32_t n, const std::string& url);
    void StartSavingPage(int32_t n, const std::string& url);
    void SavingPageComplete(const std::string& url, bool isSuccess,
                            const std::string& errDescription);
    void ResultList(const std::string& list);
    void Waiting(int32_t seconds, const std::string& reason);
    void Warning(const std::string& text);
    void Complete(bool isSuccess, int32_t errNumber, const std::string& errDescription);

    bool Finished() const { return finished_; }

  private:
    template <class Message>
    void Send(const Message& message);

    std::shared_ptr<tessel::Messanger> messanger_;
    std::string jobId_;
    bool finished_ = false;
};

}  // namespace fetchcore
