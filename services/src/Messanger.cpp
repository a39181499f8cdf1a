#include "tessel/Messanger.h"

namespace tessel {

Messanger::Messanger()
    : queue_(MessageQueue::Current()), events_(std::make_shared<EventSource<MessangerEvents>>()) {}

Messanger::~Messanger() = default;

void Messanger::Send(int32_t Msg, VariantArray Data, std::string Sender, std::string Receiver) {
    auto queue = queue_.lock();
    if (!queue) return;
    std::weak_ptr<EventSource<MessangerEvents>> events = events_;
    queue->Post([events, Msg, Data = std::move(Data), Sender = std::move(Sender),
                 Receiver = std::move(Receiver)] {
        if (auto source = events.lock()) {
            source->Raise(&MessangerEvents::MsgArrived, Msg, Data, Sender, Receiver);
        }
    });
}

}  // namespace tessel
