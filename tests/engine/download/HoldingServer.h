#pragma once

#include <httplib.h>

#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

namespace dltest {

// A loopback server whose answers to /page/<n> wait until a number of requests are in at
// once (or until released), and which counts the requests it holds. A request stops
// counting before any byte of its answer is written, so the count never exceeds the
// number of clients still waiting for an answer.
class HoldingServer {
  public:
    explicit HoldingServer(std::string body);
    ~HoldingServer();
    HoldingServer(const HoldingServer&) = delete;
    HoldingServer& operator=(const HoldingServer&) = delete;

    // Answers are held until this many requests are in at once; after that, none is held.
    void HoldUntilInFlight(int count);
    void Release();  // lets every held and later answer go

    std::string Url(const std::string& path) const;
    int Requests() const;
    // Sleeps until `count` requests have come in; false after a generous deadline.
    bool WaitForRequests(int count) const;
    int MaxInFlight() const;

  private:
    void Answer(httplib::Response& res);
    void WarmUp();

    const std::string body_;
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    int holdUntil_ = 0;
    bool released_ = false;
    int inFlight_ = 0;
    int maxInFlight_ = 0;
    int requests_ = 0;
    httplib::Server server_;
    int port_ = -1;
    std::thread thread_;
};

}  // namespace dltest
