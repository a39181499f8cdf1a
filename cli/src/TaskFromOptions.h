#pragma once

#include <memory>

#include "CliOptions.h"
#include "fetchcore/CTask.h"
#include "taskcore/TaskChecks.h"

namespace kestrova::cli {

// The task editor's fields as the command line fills them: the keyword gives the search URL,
// or the URL gives the keyword, as the editor keeps its two boxes in step.
TaskFields FieldsFrom(const CliOptions& options);

// A task record holding values that passed the checks.
std::shared_ptr<fetchcore::CTask> TaskFrom(const TaskValues& values);

}  // namespace kestrova::cli
