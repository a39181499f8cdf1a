#pragma once

#include <chrono>
#include <functional>
#include <memory>

namespace tessel {

// The pending messages of one thread. Each thread gets its queue on first use; it
// ends with the thread, after which posting to it is a no-op.
class MessageQueue : public std::enable_shared_from_this<MessageQueue> {
  public:
    using Task = std::function<void()>;

    // While one lives on a thread, the messages that thread posts wake their owners only
    // when it next waits for a message of its own, calls Flush, or the last one ends: a
    // burst of posts to a thread wakes it once. A thread that sleeps other than in
    // WaitForMessage must Flush before it does.
    class BatchedWakeups {
      public:
        BatchedWakeups();
        ~BatchedWakeups();
        static void Flush();
        BatchedWakeups(const BatchedWakeups&) = delete;
        BatchedWakeups& operator=(const BatchedWakeups&) = delete;
    };

    // The calling thread's queue.
    static std::shared_ptr<MessageQueue> Current();

    // Posts from any thread; false when the queue has been closed.
    bool Post(Task task);

    // Runs the pending messages in order on the owning thread, including those
    // posted while it runs; re-entrant (a message may pump again). Returns how many ran.
    int Pump();

    // Waits up to `timeout` for a message to be pending (owning thread). Pump after it.
    bool WaitForMessage(std::chrono::milliseconds timeout);
    // Sleeps until a message is pending, however long that takes (owning thread).
    void WaitForMessage();

    // Called on the posting thread after a Post that found the queue empty, and by a Pump
    // that leaves messages waiting while it runs one; lets an event loop (the window's)
    // schedule a Pump on the owning thread. Set it on the owning thread.
    void SetWakeup(std::function<void()> wakeup);

    bool HasPending() const;
    void Close();  // drops pending messages; later posts are no-ops

    ~MessageQueue();

  private:
    struct State;
    MessageQueue();
    void Wake();
    static void WakeDeferred();
    std::unique_ptr<State> state_;
};

}  // namespace tessel
