#pragma once

#include <memory>

namespace tessel {
class MessageQueue;
}

namespace platform {

// An eventfd that rings whenever a message is posted to the queue of the thread that made
// the doorbell, so that thread can sleep on the descriptor among others (poll, a Qt socket
// notifier) until there is work. Ringing and closing happen under one lock, so a post
// that comes late never writes to a closed (or reused) descriptor.
class MessageDoorbell {
  public:
    MessageDoorbell();  // throws tessel::ComError when no eventfd can be made
    ~MessageDoorbell();
    MessageDoorbell(const MessageDoorbell&) = delete;
    MessageDoorbell& operator=(const MessageDoorbell&) = delete;

    // Readable while a ring has not been cleared.
    int Descriptor() const;
    // Forgets the rings so far; pump the queue after it, not before, or a post in between
    // would go unheard.
    void Clear();
    void Ring();

  private:
    struct Bell;
    std::shared_ptr<tessel::MessageQueue> queue_;
    std::shared_ptr<Bell> bell_;
};

}  // namespace platform
