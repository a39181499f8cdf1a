#pragma once

#include "job/JobContext.h"

namespace fetchcore {

// Completes a job whose result list was made: writes the folder's manifest, then reports
// success, or the first failure of the manifest or the WARC file (logged as well).
void CompleteListedJob(JobContext& job);

}  // namespace fetchcore
