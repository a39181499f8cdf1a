#include "HoldingServer.h"

#include <chrono>
#include <stdexcept>

namespace dltest {

HoldingServer::HoldingServer(std::string body) : body_(std::move(body)) {
    server_.new_task_queue = [] { return new httplib::ThreadPool(32); };
    // An idle kept-alive connection would hold the server's stop for its whole time-out.
    server_.set_keep_alive_max_count(1);
    server_.Get("/warmup", [](const httplib::Request&, httplib::Response& res) {
        res.set_content("ok", "text/plain");
    });
    server_.Get(R"(/page/\d+)",
                [this](const httplib::Request&, httplib::Response& res) { Answer(res); });
    port_ = server_.bind_to_any_port("127.0.0.1");
    if (port_ <= 0) throw std::runtime_error("no free loopback port");
    thread_ = std::thread([this] { server_.listen_after_bind(); });
    WarmUp();
}

HoldingServer::~HoldingServer() {
    Release();
    server_.stop();
    if (thread_.joinable()) thread_.join();
}

void HoldingServer::WarmUp() {
    // httplib sets up tables on first use, out of ThreadSanitizer's sight; one request
    // before any concurrent ones orders every later serving thread after it.
    httplib::Client("127.0.0.1", port_).Get("/warmup");
}

void HoldingServer::HoldUntilInFlight(int count) {
    std::lock_guard lock(mutex_);
    holdUntil_ = count;
}

void HoldingServer::Release() {
    {
        std::lock_guard lock(mutex_);
        released_ = true;
    }
    changed_.notify_all();
}

void HoldingServer::Answer(httplib::Response& res) {
    {
        std::unique_lock lock(mutex_);
        ++requests_;
        ++inFlight_;
        maxInFlight_ = std::max(maxInFlight_, inFlight_);
        changed_.notify_all();
        // Bounded, so a faulty client makes the test fail instead of hang.
        changed_.wait_for(lock, std::chrono::seconds(20),
                          [this] { return released_ || maxInFlight_ >= holdUntil_; });
        --inFlight_;
    }
    res.set_content(body_, "text/html");
}

std::string HoldingServer::Url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
}

int HoldingServer::Requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

bool HoldingServer::WaitForRequests(int count) const {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::seconds(20), [&] { return requests_ >= count; });
}

int HoldingServer::MaxInFlight() const {
    std::lock_guard lock(mutex_);
    return maxInFlight_;
}

}  // namespace dltest
