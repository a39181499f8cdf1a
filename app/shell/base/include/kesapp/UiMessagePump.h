#pragma once

#include <memory>

class QSocketNotifier;

namespace tessel {
class MessageQueue;
}
namespace platform {
class MessageDoorbell;
}

namespace kestrova {

// Runs the user-interface thread's pending messages (the engine's events) from the Qt event
// loop, in nested loops too: modal message boxes, the About window, the splash wait. Create
// it on the user-interface thread, one at a time. Posting threads only write to an eventfd,
// (the doorbell), so no Qt call is made off the user-interface thread.
class UiMessagePump {
  public:
    UiMessagePump();
    ~UiMessagePump();
    UiMessagePump(const UiMessagePump&) = delete;
    UiMessagePump& operator=(const UiMessagePump&) = delete;

  private:
    void Drain();

    std::shared_ptr<tessel::MessageQueue> queue_;
    std::unique_ptr<platform::MessageDoorbell> doorbell_;
    std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace kestrova
