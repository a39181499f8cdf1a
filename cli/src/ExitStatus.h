#pragma once

namespace kestrova::cli::exit_status {

inline constexpr int kComplete = 0;
inline constexpr int kFailed = 1;
inline constexpr int kUsage = 2;
// A job stopped by a signal ends with 128 + the signal's number (130 for Ctrl-C).
inline constexpr int kSignalBase = 128;

}  // namespace kestrova::cli::exit_status
