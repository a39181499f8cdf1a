#pragma once

#include <poll.h>

namespace kestest {

// Whether the descriptor polls readable now, without waiting.
inline bool Readable(int fd) {
    pollfd entry{fd, POLLIN, 0};
    return poll(&entry, 1, 0) == 1 && (entry.revents & POLLIN) != 0;
}

// Sleeps until the descriptor polls readable.
inline bool SleepUntilReadable(int fd) {
    pollfd entry{fd, POLLIN, 0};
    return poll(&entry, 1, -1) == 1;
}

}  // namespace kestest
