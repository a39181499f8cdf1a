#include "Socket.h"

#include <poll.h>
#include <sys/socket.h>

#include <cerrno>

namespace hostile {

std::optional<std::string> ReadRequestTarget(int fd, const StopSignal& stop) {
    constexpr std::size_t kMaxHead = 64 * 1024;
    std::string head;
    pollfd waiting{fd, POLLIN, 0};
    while (head.find("\r\n\r\n") == std::string::npos && head.size() < kMaxHead) {
        if (stop.Raised()) return std::nullopt;
        const int ready = ::poll(&waiting, 1, 50);
        if (ready < 0 && errno != EINTR) return std::nullopt;
        if (ready <= 0) continue;
        char buffer[4096];
        const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
        if (n <= 0) return std::nullopt;
        head.append(buffer, static_cast<std::size_t>(n));
    }
    // "GET /target HTTP/1.1"
    const auto from = head.find(' ');
    const auto to = head.find(' ', from + 1);
    if (from == std::string::npos || to == std::string::npos) return std::nullopt;
    return head.substr(from + 1, to - from - 1);
}

bool SendAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

}  // namespace hostile
