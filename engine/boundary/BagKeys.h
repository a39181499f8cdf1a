#pragma once

namespace fetchcore::bagkey {

// The keys of the job data and of a download's parameter bag; both bags share the last five.
inline constexpr const char* kTask = "Task";
inline constexpr const char* kURL = "URL";
inline constexpr const char* kSizeB = "SizeB";
inline constexpr const char* kLog = "Log";
inline constexpr const char* kMessanger = "Messanger";
inline constexpr const char* kCookie = "Cookie";
inline constexpr const char* kSemaphoreName = "ConcurrentDownloadSemaphoreName";
inline constexpr const char* kCancelEventName = "CancelEventName";
// Optional in a download's bag: the most its body may weigh, in bytes.
inline constexpr const char* kLimitB = "LimitB";
// Optional in a download's bag: the folder whose file system holds a large body until
// it is saved.
inline constexpr const char* kSpoolFolder = "SpoolFolder";

}  // namespace fetchcore::bagkey
