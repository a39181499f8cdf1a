#pragma once

#include <cstdint>

#include "tessel/Error.h"

namespace fetchcore::dlerr {

// How a download fails on its own (beside the transfer's own numbers).
inline constexpr int32_t kCancelled = tessel::UserError(0);
inline constexpr int32_t kTimeout = tessel::UserError(0x28B);
inline constexpr int32_t kInteractive = tessel::UserError(0x28C);
inline constexpr int32_t kStatus = tessel::UserError(0x28D);
inline constexpr int32_t kOffline = tessel::UserError(0x301);

// Raised by the downloader when a download cannot be started.
inline constexpr int32_t kAlreadyDownloading = tessel::UserError(0x281);
inline constexpr int32_t kStartFailed = tessel::UserError(0x282);
// Kept as it is when a start fails with it, instead of becoming kStartFailed.
inline constexpr int32_t kPassThrough = tessel::UserError(0x28A);

inline constexpr const char* kCancelledText = "Cancelled";
inline constexpr const char* kTimeoutText = "Timeout exceeded";
inline constexpr const char* kInteractiveText = "Looping in interactive state";
inline constexpr const char* kOfflineText = "Connection status is offline. ";

}  // namespace fetchcore::dlerr
