#pragma once

#include <memory>

#include "fetchcore/DownloadSettings.h"
#include "tessel/Object.h"

namespace fetchcore {

// What every downloader of one saver shares: the queue that moves their bytes and the
// settings they run with. Travels to each job in its job data.
class DownloadService final : public tessel::Object {
  public:
    // An empty queue in `settings` gets a transfer loop of its own; throws tessel::ComError
    // when none can be made.
    explicit DownloadService(DownloadSettings settings);

    platform::TransferQueue& Transfers() const { return *settings_.transfers; }
    std::chrono::milliseconds Timeout() const { return settings_.timeout; }
    // The online probe; may block, so never asked on the transfer queue's thread.
    bool IsOnline() const;

  private:
    DownloadSettings settings_;
};

}  // namespace fetchcore
