#pragma once

#include <httplib.h>

#include <deque>
#include <string>
#include <thread>

#include "Gate.h"

namespace kestest {

// An httplib server on 127.0.0.1 and a free port, on a thread of its own. Register the
// handlers through Http(), then Start(). Gates made here are all opened before the server
// stops, so no handler is left waiting.
class LoopbackServer {
  public:
    LoopbackServer();
    ~LoopbackServer();
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    httplib::Server& Http() { return server_; }
    Gate& NewGate() { return gates_.emplace_back(); }
    void Start();
    std::string Url(const std::string& path) const;

  private:
    httplib::Server server_;
    std::deque<Gate> gates_;
    std::thread thread_;
    int port_ = -1;
};

}  // namespace kestest
