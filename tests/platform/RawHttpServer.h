#pragma once

#include <mutex>
#include <string>
#include <thread>

namespace kestest {

// A loopback server that answers every connection with the same bytes, exactly as given,
// for answers httplib will not write (odd status lines, interim responses, own encodings).
class RawHttpServer {
  public:
    explicit RawHttpServer(std::string reply);
    ~RawHttpServer();
    RawHttpServer(const RawHttpServer&) = delete;
    RawHttpServer& operator=(const RawHttpServer&) = delete;

    std::string Url(const std::string& path) const;
    // The head of the last request, as received.
    std::string LastRequest();

  private:
    void Serve();
    void Answer(int connection);

    std::string reply_;
    std::mutex mutex_;
    std::string lastRequest_;
    int listener_ = -1;
    int wakeRead_ = -1;
    int wakeWrite_ = -1;
    int port_ = 0;
    std::thread thread_;
};

}  // namespace kestest
