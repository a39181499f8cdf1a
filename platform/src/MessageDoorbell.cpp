#include "platform/MessageDoorbell.h"

#include <sys/eventfd.h>

#include <cstdint>
#include <mutex>

#include "tessel/Error.h"
#include "tessel/FileDescriptor.h"
#include "tessel/MessageQueue.h"

namespace platform {

struct MessageDoorbell::Bell {
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

MessageDoorbell::MessageDoorbell()
    : queue_(tessel::MessageQueue::Current()), bell_(std::make_shared<Bell>()) {
    bell_->fd = tessel::FileDescriptor(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC));
    if (!bell_->fd)
        throw tessel::ComError(tessel::err::kCannotCreateObject,
                               "Cannot create the message doorbell.");
    queue_->SetWakeup([bell = bell_] { bell->Ring(); });
    // Messages posted before the doorbell existed still need a turn.
    if (queue_->HasPending()) bell_->Ring();
}

MessageDoorbell::~MessageDoorbell() {
    queue_->SetWakeup(nullptr);
    bell_->Close();
}

int MessageDoorbell::Descriptor() const {
    return bell_->fd.Get();
}

void MessageDoorbell::Clear() {
    // Only empties the counter: an already empty one (EAGAIN) is just as good.
    uint64_t rings = 0;
    tessel::ReadSome(bell_->fd.Get(), &rings, sizeof rings);
}

void MessageDoorbell::Ring() {
    bell_->Ring();
}

}  // namespace platform
