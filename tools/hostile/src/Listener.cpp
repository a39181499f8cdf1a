#include "Listener.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>
#include <string>

namespace hostile {

Listener::Listener(Handler handler) : handler_(std::move(handler)) {}

Listener::~Listener() {
    Stop();
}

std::uint16_t Listener::Bind(std::uint16_t port) {
    fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd_ < 0) throw std::runtime_error("cannot open a socket");
    const int on = 1;
    ::setsockopt(fd_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    socklen_t length = sizeof address;
    if (::bind(fd_, reinterpret_cast<sockaddr*>(&address), length) != 0 || ::listen(fd_, 64) != 0 ||
        ::getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        ::close(fd_);
        fd_ = -1;
        throw std::runtime_error("cannot listen on 127.0.0.1:" + std::to_string(port));
    }
    return ntohs(address.sin_port);
}

void Listener::Start() {
    acceptor_ = std::thread([this] { AcceptLoop(); });
}

void Listener::Stop() {
    stop_.Raise();
    if (acceptor_.joinable()) acceptor_.join();
    std::list<Served> served;
    {
        std::lock_guard lock(mutex_);
        for (int fd : open_) ::shutdown(fd, SHUT_RDWR);  // wakes reads and writes at once
        served.swap(served_);
    }
    served.clear();  // joins
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

void Listener::AcceptLoop() {
    pollfd waiting{fd_, POLLIN, 0};
    while (!stop_.Raised()) {
        if (::poll(&waiting, 1, 50) <= 0) continue;
        const int fd = ::accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0) continue;
        JoinFinished();
        std::lock_guard lock(mutex_);
        open_.insert(fd);
        auto& entry = served_.emplace_back();
        entry.thread = std::jthread([this, fd, &entry] {
            Serve(fd);
            std::lock_guard done(mutex_);
            entry.done = true;
        });
    }
}

void Listener::Serve(int fd) {
    handler_(fd, stop_);
    Forget(fd);
}

void Listener::Forget(int fd) {
    std::lock_guard lock(mutex_);
    open_.erase(fd);
    ::close(fd);
}

void Listener::JoinFinished() {
    std::list<Served> finished;
    {
        std::lock_guard lock(mutex_);
        for (auto it = served_.begin(); it != served_.end();) {
            auto next = std::next(it);
            if (it->done) finished.splice(finished.end(), served_, it);
            it = next;
        }
    }
    finished.clear();  // joins outside the lock: a finishing thread still takes it
}

}  // namespace hostile
