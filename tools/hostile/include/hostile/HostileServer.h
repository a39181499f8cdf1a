#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace hostile {

// One misbehaving answer, served at its own path.
struct Answer {
    std::string path;         // "/bad-chunk"
    std::string description;  // what the server does there
    bool tls = false;         // served on one of the TLS ports
};

// A server on 127.0.0.1 that answers every request wrongly in a different way, for tests
// and demos of what a client does with hostile answers. Its results page at
// /google/search lists one link per answer, so a harvest job meets every fault once.
// Plain HTTP on one port; TLS with a self-signed and with an expired certificate on two
// more. Each connection is served on a thread of its own; Stop ends them all.
class HostileServer {
  public:
    HostileServer();
    ~HostileServer();
    HostileServer(const HostileServer&) = delete;
    HostileServer& operator=(const HostileServer&) = delete;

    // Binds three free ports on 127.0.0.1 (the first is `port` when not 0) and serves.
    void Start(std::uint16_t port = 0);
    void Stop();

    std::uint16_t Port() const;
    std::string SearchURL() const;      // the results page listing every answer
    std::string HugeSearchURL() const;  // a results page of kHugePageBytes
    std::string URL(const Answer& answer) const;

    static const std::vector<Answer>& Answers();
    static constexpr std::size_t kHugePageBytes = 50u << 20;

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace hostile
