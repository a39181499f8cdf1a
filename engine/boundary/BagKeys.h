#pragma once

namespace fetchcore::bagkey {

// The keys of the job data, in the order a saver adds them.
inline constexpr const char* kTask = "Task";
inline constexpr const char* kLog = "Log";
inline constexpr const char* kMessanger = "Messanger";
inline constexpr const char* kCookie = "Cookie";
inline constexpr const char* kSemaphoreName = "ConcurrentDownloadSemaphoreName";
inline constexpr const char* kCancelEventName = "CancelEventName";
// The saver's download service: the transfer loop and the settings its downloads share.
inline constexpr const char* kDownloads = "Downloads";

}  // namespace fetchcore::bagkey
