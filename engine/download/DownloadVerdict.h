#pragma once

#include <string>

#include "boundary/DownloadResult.h"
#include "download/DownloadService.h"
#include "platform/Transfer.h"

namespace fetchcore {

// What a download's transfer amounts to: success for a whole answer of an accepted status
// (200, 206, 302, 304), else the failure as the user reads it. Runs on the downloader's
// thread: a refused status asks whether the machine is online, which may block.
DownloadResult Verdict(platform::TransferResult transfer, std::string cookie, std::string url,
                       const DownloadService& service);

}  // namespace fetchcore
