#pragma once

#include <httplib.h>

#include <functional>

#include "Counters.h"

namespace serpdouble {

// httplib's thread pool, counting what it is handed: httplib enqueues one task per
// accepted connection, so the count is the number of connections clients opened.
class CountingQueue : public httplib::TaskQueue {
  public:
    CountingQueue(std::size_t threads, Counters& counters) : pool_(threads), counters_(counters) {}

    void enqueue(std::function<void()> fn) override {
        counters_.Accepted();
        pool_.enqueue(std::move(fn));
    }
    void shutdown() override { pool_.shutdown(); }

  private:
    httplib::ThreadPool pool_;
    Counters& counters_;
};

}  // namespace serpdouble
