#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "tessel/Object.h"

namespace tessel {

// Levels used by the components.
namespace level {
inline constexpr int kError = 0;
inline constexpr int kEngineError = 4;
inline constexpr int kInfo = 5;
}  // namespace level

// Appends one line per entry to a file. Any number of Log objects on any threads may
// share a file: each entry is written whole, entries never interleave. Line format:
//   2026-12-07 05:07:51.123<TAB>T<thread><TAB>L<level><TAB><number><TAB><source><TAB><message>
// Control characters in source and message are escaped (\n, \r, \t, \\, \xNN).
class Log : public Object {
  public:
    // Binds the log to `fileName` (created on first write). An empty name gives a log
    // that drops its entries: a worker whose owner has no log file still does its work.
    void Open(const std::string& fileName);
    const std::string& FileName() const { return fileName_; }

    // Appends one entry. A log that is not open, or whose file cannot be written,
    // drops the entry: logging never fails its caller.
    void Write(int32_t number, const std::string& message, int level, const std::string& source);

    // The escaped form used in the file, for callers that need to find an entry.
    static std::string Escape(const std::string& text);

  private:
    std::string fileName_;
};

}  // namespace tessel
