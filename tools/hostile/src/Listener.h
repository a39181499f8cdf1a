#pragma once

#include <cstdint>
#include <functional>
#include <list>
#include <mutex>
#include <set>
#include <thread>

#include "StopSignal.h"

namespace hostile {

// A listening socket on 127.0.0.1 that serves each accepted connection on a thread of its
// own. Stop breaks every open connection and joins every thread.
class Listener {
  public:
    using Handler = std::function<void(int fd, const StopSignal& stop)>;

    explicit Listener(Handler handler);
    ~Listener();
    Listener(const Listener&) = delete;
    Listener& operator=(const Listener&) = delete;

    std::uint16_t Bind(std::uint16_t port);  // throws std::runtime_error; returns the port
    void Start();
    void Stop();

  private:
    struct Served {
        bool done = false;
        std::jthread thread;  // declared last, so it is joined before `done` goes
    };

    void AcceptLoop();
    void Serve(int fd);
    void Forget(int fd);
    void JoinFinished();

    Handler handler_;
    int fd_ = -1;
    StopSignal stop_;
    std::mutex mutex_;
    std::set<int> open_;
    std::list<Served> served_;
    std::thread acceptor_;
};

}  // namespace hostile
