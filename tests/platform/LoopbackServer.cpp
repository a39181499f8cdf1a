#include "LoopbackServer.h"

#include <chrono>
#include <stdexcept>

namespace kestest {

LoopbackServer::LoopbackServer() {
    // Held handlers and kept-alive connections each take a thread: more than a loop opens.
    server_.new_task_queue = [] { return new httplib::ThreadPool(16); };
}

LoopbackServer::~LoopbackServer() {
    for (auto& gate : gates_) {
        gate.Open();
    }
    server_.stop();
    if (thread_.joinable()) {
        thread_.join();
    }
}

void LoopbackServer::Start() {
    server_.Get("/kestest-warmup", [](const httplib::Request&, httplib::Response& res) {
        res.set_content("ok", "text/plain");
    });
    port_ = server_.bind_to_any_port("127.0.0.1");
    if (port_ <= 0) {
        throw std::runtime_error("no free loopback port");
    }
    thread_ = std::thread([this] { server_.listen_after_bind(); });
    // stop() is ignored until the loop runs, and the destructor relies on it.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!server_.is_running() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::yield();
    }
    // httplib sets up its own state on first use, out of ThreadSanitizer's sight; one answer
    // before any concurrent ones orders every later serving thread after it.
    httplib::Client("127.0.0.1", port_).Get("/kestest-warmup");
}

std::string LoopbackServer::Url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
}

}  // namespace kestest
