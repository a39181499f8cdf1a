#include "kesapp/UiMessagePump.h"

#include <QSocketNotifier>

#include "platform/MessageDoorbell.h"
#include "tessel/MessageQueue.h"

namespace kestrova {

UiMessagePump::UiMessagePump()
    : queue_(tessel::MessageQueue::Current()),
      doorbell_(std::make_unique<platform::MessageDoorbell>()) {
    notifier_ = std::make_unique<QSocketNotifier>(doorbell_->Descriptor(), QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, notifier_.get(),
                     [this] { Drain(); });
}

UiMessagePump::~UiMessagePump() {
    notifier_.reset();  // before the descriptor it watches closes
    doorbell_.reset();
}

void UiMessagePump::Drain() {
    doorbell_->Clear();
    // Re-entrant: a handler that opens a modal box gets later messages from the nested loop.
    queue_->Pump();
}

}  // namespace kestrova
