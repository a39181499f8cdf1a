#pragma once

#include <array>

namespace kestrova::art {

// The program's own pictures, compiled into it as Qt resources.
inline constexpr const char* kSplash = ":/kestrova/splash.png";  // 400 x 316
inline constexpr const char* kLogo = ":/kestrova/logo.png";      // 64 x 64, also the window icon

// 16 x 16 images of the navigation tree's nodes.
inline constexpr const char* kNodeTask = ":/kestrova/icons/node-task.png";
inline constexpr const char* kNodeDownload = ":/kestrova/icons/node-download.png";
inline constexpr const char* kNodeList = ":/kestrova/icons/node-list.png";

// 16 x 16 images of a page's state in the progress view.
inline constexpr const char* kStateProgress = ":/kestrova/icons/state-progress.png";
inline constexpr const char* kStateSkipped = ":/kestrova/icons/state-skipped.png";
inline constexpr const char* kStateComplete = ":/kestrova/icons/state-complete.png";
inline constexpr const char* kStateFailed = ":/kestrova/icons/state-failed.png";

// The picture the third status panel starts with; the progress view shows it by a page error.
inline constexpr const char* kStatusError = ":/kestrova/icons/status-error.png";

inline constexpr std::array kAll = {kSplash,      kLogo,          kNodeTask,     kNodeDownload,
                                    kNodeList,    kStateProgress, kStateSkipped, kStateComplete,
                                    kStateFailed, kStatusError};

}  // namespace kestrova::art
