#pragma once

#include <memory>
#include <optional>
#include <ostream>
#include <string>

#include "tessel/Log.h"

namespace kestrova::cli {

// The log the engine writes to: the --log file, which must be writable (else UsageError),
// or "Kestrova.log" in the data folder, which is created when missing. A data folder that
// cannot be made is reported on `warnings` and the run goes on without a log.
std::shared_ptr<tessel::Log> OpenCliLog(const std::optional<std::string>& logFile,
                                        std::ostream& warnings);

}  // namespace kestrova::cli
