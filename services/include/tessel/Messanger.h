#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "tessel/EventSource.h"
#include "tessel/MessageQueue.h"
#include "tessel/Object.h"
#include "tessel/Variant.h"

namespace tessel {

class MessangerEvents {
  public:
    virtual void MsgArrived(int32_t Msg, const VariantArray& Data, const std::string& Sender,
                            const std::string& Receiver) = 0;

  protected:
    ~MessangerEvents() = default;
};

// Cross-thread messenger. Send may be called from any thread; MsgArrived is raised on
// the thread that created the messenger, while that thread pumps its messages, in the
// order of sending. A message for a messenger that no longer exists, or whose thread
// has ended, is dropped.
class Messanger : public Object {
  public:
    Messanger();
    ~Messanger() override;
    Messanger(const Messanger&) = delete;
    Messanger& operator=(const Messanger&) = delete;

    void Send(int32_t Msg, VariantArray Data, std::string Sender = {}, std::string Receiver = {});

    // Sinks connect on the owning thread.
    EventSource<MessangerEvents>::Connection Connect(MessangerEvents& sink) {
        return events_->Connect(sink);
    }

  private:
    std::weak_ptr<MessageQueue> queue_;
    std::shared_ptr<EventSource<MessangerEvents>> events_;
};

}  // namespace tessel
