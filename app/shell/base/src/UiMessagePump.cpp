#include "kesapp/UiMessagePump.h"

#include <sys/eventfd.h>

#include <cstdint>
#include <mutex>

#include <QSocketNotifier>

#include "tessel/Error.h"
#include "tessel/FileDescriptor.h"
#include "tessel/MessageQueue.h"

namespace kestrova {

// The eventfd that posting threads ring. Rung and closed under one lock, so a wakeup that
// a poster copied before the pump went away never writes to a closed (or reused) descriptor.
struct UiMessagePump::Doorbell {
    std::mutex lock;
    tessel::FileDescriptor fd;

    void Ring() {
        // A full counter (never reached) is the only failure, and the pump is due anyway.
        static constexpr uint64_t kOne = 1;
        std::lock_guard guard(lock);
        if (fd) tessel::WriteAll(fd.Get(), {reinterpret_cast<const char*>(&kOne), sizeof kOne});
    }
    void Close() {
        std::lock_guard guard(lock);
        fd.Close();
    }
};

UiMessagePump::UiMessagePump()
    : queue_(tessel::MessageQueue::Current()), doorbell_(std::make_shared<Doorbell>()) {
    doorbell_->fd = tessel::FileDescriptor(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC));
    if (!doorbell_->fd)
        throw tessel::ComError(tessel::err::kCannotCreateObject,
                               "Cannot create the message doorbell.");
    notifier_ = std::make_unique<QSocketNotifier>(doorbell_->fd.Get(), QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, notifier_.get(),
                     [this] { Drain(); });
    queue_->SetWakeup([doorbell = doorbell_] { doorbell->Ring(); });
    // Messages posted before the pump existed still need a turn.
    if (queue_->HasPending()) doorbell_->Ring();
}

UiMessagePump::~UiMessagePump() {
    queue_->SetWakeup(nullptr);
    notifier_.reset();
    doorbell_->Close();
}

void UiMessagePump::Drain() {
    // Only empties the counter: an already empty one (EAGAIN) is just as good.
    uint64_t rings = 0;
    tessel::ReadSome(doorbell_->fd.Get(), &rings, sizeof rings);
    // Re-entrant: a handler that opens a modal box gets later messages from the nested loop.
    queue_->Pump();
}

}  // namespace kestrova
