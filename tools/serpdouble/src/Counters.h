#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "serpdouble/Stats.h"

namespace serpdouble {

// The double's request counters, shared by all serving threads.
class Counters {
  public:
    // Counts a request as in flight for as long as it lives.
    class Visit {
      public:
        explicit Visit(Counters& counters) : counters_(counters) {}
        ~Visit() { counters_.Leave(); }
        Visit(const Visit&) = delete;
        Visit& operator=(const Visit&) = delete;

      private:
        Counters& counters_;
    };

    // Counts a request as stalled for as long as it lives.
    class Stall {
      public:
        explicit Stall(Counters& counters);
        ~Stall();
        Stall(const Stall&) = delete;
        Stall& operator=(const Stall&) = delete;

      private:
        Counters& counters_;
    };

    // Counts a request as being answered until its handler returns, which is before any
    // byte of the answer is written: a client never holds an answer still counted here.
    class Answering {
      public:
        explicit Answering(Counters& counters);
        ~Answering();
        Answering(const Answering&) = delete;
        Answering& operator=(const Answering&) = delete;

      private:
        Counters& counters_;
    };

    std::shared_ptr<Visit> Arrive(RequestRecord record);
    void Accepted();  // a client opened a connection
    Stats Snapshot() const;
    std::vector<RequestRecord> Requests() const;
    // How many of the kept requests asked for exactly `target`.
    int TimesAsked(const std::string& target) const;
    bool WaitFor(const std::function<bool(const Stats&)>& ready,
                 std::chrono::milliseconds timeout) const;
    void Reset();

    static constexpr std::size_t kKeptRecords = 4096;

  private:
    void Leave();
    void Change(const std::function<void(Stats&)>& change);

    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    Stats stats_;
    std::deque<RequestRecord> records_;
};

}  // namespace serpdouble
