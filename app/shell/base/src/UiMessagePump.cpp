#include "kesapp/UiMessagePump.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <mutex>

#include <QSocketNotifier>

#include "tessel/Error.h"
#include "tessel/MessageQueue.h"

namespace kestrova {

// The eventfd that posting threads ring. Rung and closed under one lock, so a wakeup that
// a poster copied before the pump went away never writes to a closed (or reused) descriptor.
struct UiMessagePump::Doorbell {
    std::mutex lock;
    int fd = -1;

    void Ring() {
        std::lock_guard guard(lock);
        if (fd >= 0) eventfd_write(fd, 1);
    }
    void Close() {
        std::lock_guard guard(lock);
        if (fd >= 0) ::close(fd);
        fd = -1;
    }
};

UiMessagePump::UiMessagePump()
    : queue_(tessel::MessageQueue::Current()), doorbell_(std::make_shared<Doorbell>()) {
    doorbell_->fd = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (doorbell_->fd < 0)
        throw tessel::ComError(tessel::err::kCannotCreateObject,
                               "Cannot create the message doorbell.");
    notifier_ = std::make_unique<QSocketNotifier>(doorbell_->fd, QSocketNotifier::Read);
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
    eventfd_t rings = 0;
    eventfd_read(doorbell_->fd, &rings);
    // Re-entrant: a handler that opens a modal box gets later messages from the nested loop.
    queue_->Pump();
}

}  // namespace kestrova
