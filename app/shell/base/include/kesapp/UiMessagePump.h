#pragma once

#include <memory>

class QSocketNotifier;

namespace tessel {
class MessageQueue;
}

namespace kestrova {

// Runs the user-interface thread's pending messages (the engine's events) from the Qt event
// loop, in nested loops too: modal message boxes, the About window, the splash wait. Create
// it on the user-interface thread, one at a time. Posting threads only write to an eventfd,
// so no Qt call is made off the user-interface thread.
class UiMessagePump {
  public:
    UiMessagePump();
    ~UiMessagePump();
    UiMessagePump(const UiMessagePump&) = delete;
    UiMessagePump& operator=(const UiMessagePump&) = delete;

  private:
    struct Doorbell;
    void Drain();

    std::shared_ptr<tessel::MessageQueue> queue_;
    std::shared_ptr<Doorbell> doorbell_;
    std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace kestrova
