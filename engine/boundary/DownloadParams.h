#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "tessel/KeyedCollection.h"
#include "tessel/Log.h"
#include "tessel/Messanger.h"

namespace fetchcore {

// What a downloader hands each download worker; crosses to the worker's thread as a bag.
struct DownloadParams {
    std::string url;
    int32_t sizeB = 0;  // byte limit; 0 for the whole resource
    std::shared_ptr<tessel::Log> log;
    std::shared_ptr<tessel::Messanger> messanger;
    std::string cookie;
    std::string semaphoreName;
    std::string cancelEventName;
    int64_t limitB = 0;       // the most the body may weigh; 0 for the transfer's own limit
    std::string spoolFolder;  // where a large body waits on disk; empty keeps it in memory

    std::shared_ptr<tessel::KeyedCollection> ToBag() const;
    // Throws the first entry that cannot be read, after reading all the others.
    void ReadFrom(const tessel::KeyedCollection& bag);
};

}  // namespace fetchcore
