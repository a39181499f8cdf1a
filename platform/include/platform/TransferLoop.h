#pragma once

#include <memory>

#include "platform/Transfer.h"

namespace platform {

// Drives every transfer submitted to it from one thread of its own, on one libcurl multi
// handle, as curl does: a fixed number at once, the rest waiting first in, first out. Its
// transfers share connections, DNS answers and TLS sessions. The thread starts with the
// first transfer and sleeps whenever nothing moves.
class TransferLoop final : public TransferQueue {
  public:
    static constexpr int kMaxRunning = 5;

    // Throws tessel::ComError (httperr::kUnavailable) when libcurl is unusable.
    explicit TransferLoop(int maxRunning = kMaxRunning);
    // Ends whatever is still queued or running as Cancelled, then joins the thread.
    ~TransferLoop() override;
    TransferLoop(const TransferLoop&) = delete;
    TransferLoop& operator=(const TransferLoop&) = delete;

    void Submit(TransferRequest request, TransferDone done) override;

  private:
    class Engine;
    std::unique_ptr<Engine> engine_;
};

}  // namespace platform
