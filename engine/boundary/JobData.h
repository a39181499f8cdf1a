#pragma once

#include <memory>
#include <string>

#include "download/DownloadService.h"
#include "fetchcore/CTask.h"
#include "tessel/KeyedCollection.h"
#include "tessel/Log.h"
#include "tessel/Messanger.h"

namespace fetchcore {

// What a saver hands each job it starts; crosses to the job's thread as a bag.
struct JobData {
    std::shared_ptr<CTask> task;
    std::shared_ptr<tessel::Log> log;
    std::shared_ptr<tessel::Messanger> messanger;
    std::string jobId;
    std::string semaphoreName;
    std::string cancelEventName;
    std::shared_ptr<const DownloadService> downloads;

    std::shared_ptr<tessel::KeyedCollection> ToBag() const;
    // Throws the first entry that cannot be read, after reading all the others.
    void ReadFrom(const tessel::KeyedCollection& bag);
};

}  // namespace fetchcore
