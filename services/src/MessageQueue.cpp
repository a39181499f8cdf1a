#include "tessel/MessageQueue.h"

#include <condition_variable>
#include <cstdio>
#include <deque>
#include <exception>
#include <mutex>
#include <vector>

#include "ThreadRun.h"
#include "tessel/Error.h"

namespace tessel {

struct MessageQueue::State {
    mutable std::mutex lock;
    std::condition_variable arrived;
    std::deque<Task> pending;
    std::function<void()> wakeup;
    bool closed = false;
};

namespace {
// Owns the thread's queue and closes it when the thread ends, so senders that still
// hold a reference drop their messages instead of queueing them forever.
struct ThreadQueueHolder {
    std::shared_ptr<MessageQueue> queue;
    ~ThreadQueueHolder() {
        if (queue) queue->Close();
    }
};

thread_local ThreadQueueHolder gHolder;

// The queues this thread posted to while it batches wake-ups, to be woken before it sleeps.
thread_local int gBatching = 0;
thread_local std::vector<std::weak_ptr<MessageQueue>> gUnwoken;
}  // namespace

MessageQueue::BatchedWakeups::BatchedWakeups() {
    ++gBatching;
}

MessageQueue::BatchedWakeups::~BatchedWakeups() {
    if (--gBatching == 0) WakeDeferred();
}

void MessageQueue::BatchedWakeups::Flush() {
    WakeDeferred();
}

void MessageQueue::WakeDeferred() {
    std::vector<std::weak_ptr<MessageQueue>> unwoken;
    unwoken.swap(gUnwoken);
    for (const auto& queue : unwoken) {
        if (const auto q = queue.lock()) q->Wake();
    }
}

void detail::CloseThreadQueue() {
    if (gHolder.queue) gHolder.queue->Close();
    gHolder.queue.reset();
}

MessageQueue::MessageQueue() : state_(std::make_unique<State>()) {}
MessageQueue::~MessageQueue() = default;

std::shared_ptr<MessageQueue> MessageQueue::Current() {
    if (!gHolder.queue) gHolder.queue = std::shared_ptr<MessageQueue>(new MessageQueue());
    return gHolder.queue;
}

bool MessageQueue::Post(Task task) {
    bool wasEmpty = false;
    {
        std::lock_guard guard(state_->lock);
        if (state_->closed) return false;
        wasEmpty = state_->pending.empty();
        state_->pending.push_back(std::move(task));
    }
    // Only the first message wakes the owner: a pump drains the queue before it sleeps again.
    if (!wasEmpty) return true;
    if (gBatching > 0) {
        gUnwoken.push_back(weak_from_this());
    } else {
        Wake();
    }
    return true;
}

void MessageQueue::Wake() {
    std::function<void()> wakeup;
    {
        std::lock_guard guard(state_->lock);
        wakeup = state_->wakeup;
    }
    state_->arrived.notify_one();
    if (wakeup) wakeup();
}

int MessageQueue::Pump() {
    int ran = 0;
    bool rang = false;
    for (;;) {
        Task task;
        std::function<void()> wakeup;
        {
            std::lock_guard guard(state_->lock);
            if (state_->pending.empty()) return ran;
            task = std::move(state_->pending.front());
            state_->pending.pop_front();
            // A message may open a nested loop (a modal box) that only pumps when woken;
            // those still waiting must wake it, as no post will while the queue is not empty.
            if (!rang && !state_->pending.empty()) wakeup = state_->wakeup;
        }
        if (wakeup) {
            wakeup();
            rang = true;
        }
        try {
            task();
        } catch (const std::exception& e) {
            // A handler that lets an error escape must not unwind through whatever
            // code happened to pump.
            const ComError error = ToComError(e);
            std::fprintf(stderr, "kestrova: unhandled error %d in a message handler: %s\n",
                         error.Number(), error.Description().c_str());
        }
        ++ran;
    }
}

bool MessageQueue::WaitForMessage(std::chrono::milliseconds timeout) {
    WakeDeferred();
    std::unique_lock guard(state_->lock);
    return state_->arrived.wait_for(guard, timeout, [&] { return !state_->pending.empty(); });
}

void MessageQueue::WaitForMessage() {
    WakeDeferred();
    std::unique_lock guard(state_->lock);
    state_->arrived.wait(guard, [&] { return !state_->pending.empty(); });
}

void MessageQueue::SetWakeup(std::function<void()> wakeup) {
    std::lock_guard guard(state_->lock);
    state_->wakeup = std::move(wakeup);
}

bool MessageQueue::HasPending() const {
    std::lock_guard guard(state_->lock);
    return !state_->pending.empty();
}

void MessageQueue::Close() {
    std::deque<Task> dropped;
    {
        std::lock_guard guard(state_->lock);
        state_->closed = true;
        state_->wakeup = nullptr;
        dropped.swap(state_->pending);
    }
    // `dropped` is destroyed here, outside the lock: its messages may own objects whose
    // destructors post again.
}

}  // namespace tessel
