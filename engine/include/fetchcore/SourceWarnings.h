#pragma once

namespace fetchcore {

// A SearXNG results page that brought results but named engines that did not answer is
// logged (level 4) under this source, as "<page address>. " + kUnresponsiveWarning +
// "name (reason), ..."; front ends hear of each list of names once, as the saver's Warning.
inline constexpr const char* kUnresponsiveSource = "CSaveWorker.UnresponsiveEngines";
inline constexpr const char* kUnresponsiveWarning =
    "Some search engines of the SearXNG instance did not answer: ";

}  // namespace fetchcore
