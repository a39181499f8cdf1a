#include "job/JobEnd.h"

namespace fetchcore {

void CompleteListedJob(JobContext& job) {
    std::optional<tessel::ComError> failure;
    if (job.manifest) failure = tessel::Trap([&] { job.manifest->Write(); });
    if (!failure && job.archive) failure = job.archive->Failure();
    if (!failure) return job.report->Complete(true, 0, "");
    job.LogError(*failure, "Complete");
    job.report->Complete(false, failure->Number(), failure->Description());
}

}  // namespace fetchcore
