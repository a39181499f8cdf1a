#include "RawHttpServer.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>

namespace kestest {

RawHttpServer::RawHttpServer(std::string reply) : reply_(std::move(reply)) {
    listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    int pipeEnds[2] = {-1, -1};
    if (listener_ < 0 || ::bind(listener_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        ::listen(listener_, 16) != 0 ||
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0 ||
        ::pipe2(pipeEnds, O_CLOEXEC) != 0) {
        if (listener_ >= 0) {
            ::close(listener_);
        }
        throw std::runtime_error("raw server could not listen");
    }
    wakeRead_ = pipeEnds[0];
    wakeWrite_ = pipeEnds[1];
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { Serve(); });
}

RawHttpServer::~RawHttpServer() {
    (void)!::write(wakeWrite_, "x", 1);
    thread_.join();
    ::close(listener_);
    ::close(wakeRead_);
    ::close(wakeWrite_);
}

std::string RawHttpServer::Url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
}

std::string RawHttpServer::LastRequest() {
    std::lock_guard lock(mutex_);
    return lastRequest_;
}

void RawHttpServer::Serve() {
    for (;;) {
        pollfd watched[2] = {{listener_, POLLIN, 0}, {wakeRead_, POLLIN, 0}};
        if (::poll(watched, 2, -1) < 0 || (watched[1].revents & POLLIN)) {
            return;
        }
        const int connection = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (connection >= 0) {
            Answer(connection);
            ::close(connection);
        }
    }
}

// Reads the request head, then writes the reply and closes, which ends the body.
void RawHttpServer::Answer(int connection) {
    std::string request;
    char buffer[4096];
    while (request.find("\r\n\r\n") == std::string::npos) {
        pollfd readable{connection, POLLIN, 0};
        if (::poll(&readable, 1, 10000) <= 0) {
            return;
        }
        const auto got = ::read(connection, buffer, sizeof buffer);
        if (got <= 0) {
            return;
        }
        request.append(buffer, static_cast<size_t>(got));
    }
    {
        std::lock_guard lock(mutex_);
        lastRequest_ = request;
    }
    size_t sent = 0;
    while (sent < reply_.size()) {
        const auto wrote =
            ::send(connection, reply_.data() + sent, reply_.size() - sent, MSG_NOSIGNAL);
        if (wrote <= 0) {
            return;
        }
        sent += static_cast<size_t>(wrote);
    }
    ::shutdown(connection, SHUT_WR);
}

}  // namespace kestest
