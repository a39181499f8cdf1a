#pragma once

#include <memory>

#include "fetchcore/CTask.h"
#include "taskcore/TaskChecks.h"

namespace kestrova {

// A new engine task carrying the checked values, as the editor and the CLI start a job.
std::shared_ptr<fetchcore::CTask> NewTask(const TaskValues& values);

}  // namespace kestrova
