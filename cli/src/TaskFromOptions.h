#pragma once

#include "CliOptions.h"
#include "taskcore/TaskChecks.h"

namespace kestrova::cli {

// The task editor's fields as the command line fills them: the keyword gives the search URL,
// or the URL gives the keyword, as the editor keeps its two boxes in step.
TaskFields FieldsFrom(const CliOptions& options);

}  // namespace kestrova::cli
