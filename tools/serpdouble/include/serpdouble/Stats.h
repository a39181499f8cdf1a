#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace serpdouble {

enum class PathKind { Search, Page, Other };

// One request as it reached the double.
struct RequestRecord {
    PathKind kind = PathKind::Other;
    std::string target;  // path and query exactly as sent
    std::vector<std::pair<std::string, std::string>> headers;

    // The first header of that name, compared without regard to letter case.
    std::optional<std::string> Header(std::string_view name) const;
};

// Counters of a running double, read as one consistent snapshot.
struct Stats {
    int searchRequests = 0;
    int pageRequests = 0;
    int otherRequests = 0;
    int inFlight = 0;  // requests not yet done with: a client may hold its answer a moment before
    int maxInFlight = 0;  // the most seen at once since start or the last reset
    // Requests whose answer has not begun: never more than the clients waiting for one.
    int answering = 0;
    int maxAnswering = 0;  // the most seen at once since start or the last reset
    int stalled = 0;       // requests held in a stall right now
    int connections = 0;   // connections accepted
    std::optional<RequestRecord> last;

    int Requests() const { return searchRequests + pageRequests + otherRequests; }
};

}  // namespace serpdouble
