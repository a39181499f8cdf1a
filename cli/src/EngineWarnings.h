#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace kestrova::cli {

// The warnings a job leaves in its log that the user should see on standard error: noted
// where the log ends before the job, read from there after it.
class EngineWarnings {
  public:
    explicit EngineWarnings(std::string logFile);

    // One line naming every engine that did not answer on a page with results, or nothing.
    std::optional<std::string> Unresponsive() const;

  private:
    std::string logFile_;
    std::uintmax_t start_ = 0;
};

}  // namespace kestrova::cli
