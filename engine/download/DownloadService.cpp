#include "download/DownloadService.h"

#include "platform/TransferLoop.h"
#include "tessel/Toolbox.h"

namespace fetchcore {

DownloadService::DownloadService(DownloadSettings settings) : settings_(std::move(settings)) {
    if (!settings_.transfers) settings_.transfers = std::make_shared<platform::TransferLoop>();
}

bool DownloadService::IsOnline() const {
    return settings_.isOnline ? settings_.isOnline() : tessel::Toolbox::IsOnline();
}

}  // namespace fetchcore
