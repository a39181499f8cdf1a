#pragma once

#include <map>
#include <string>

namespace kestrova {

// Which of the saver's jobs the user's Cancel cut short. Cancel reaches every job running
// then, but a job counts as cancelled only when one of its pages failed after it: pressed
// after the job's last page, it cancelled nothing. Jobs are named by the saver's job IDs.
class CancelledJobs {
  public:
    void Started(const std::string& job) { jobs_[job] = {}; }
    void CancelPressed() {
        for (auto& [id, job] : jobs_) job.cancelPressed = true;
    }
    void PageEnded(const std::string& job, bool isSuccess) {
        const auto found = jobs_.find(job);
        if (found != jobs_.end() && found->second.cancelPressed && !isSuccess)
            found->second.cutShort = true;
    }
    // Whether the job that ended was cut short; the job is forgotten.
    bool Ended(const std::string& job) {
        const auto ended = jobs_.extract(job);
        return !ended.empty() && ended.mapped().cutShort;
    }

  private:
    struct Job {
        bool cancelPressed = false;
        bool cutShort = false;
    };
    std::map<std::string, Job> jobs_;
};

}  // namespace kestrova
