#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "tessel/KeyedCollection.h"
#include "tessel/Log.h"
#include "tessel/Messanger.h"

namespace dltest {

struct Message {
    int32_t msg = 0;
    tessel::VariantArray data;
};

// A worker run by hand on a thread of the test, reporting to a messenger of this thread.
class WorkerRun : private tessel::MessangerEvents {
  public:
    WorkerRun();

    // The bag a downloader would build; tests drop or change entries before Run.
    std::shared_ptr<tessel::KeyedCollection> FullBag(const std::string& url,
                                                     std::shared_ptr<tessel::Log> log) const;
    // Runs a CDLoadWorker with `bag` to its end, then delivers what it sent.
    void Run(std::shared_ptr<tessel::KeyedCollection> bag,
             std::chrono::milliseconds timeout = std::chrono::seconds(20));

    std::shared_ptr<tessel::Messanger> messanger;
    std::vector<Message> messages;
    std::string cookie = "cookie-1";
    std::string semaphoreName;
    std::string cancelEventName;

  private:
    void MsgArrived(int32_t Msg, const tessel::VariantArray& Data, const std::string&,
                    const std::string&) override {
        messages.push_back({Msg, Data});
    }
    tessel::EventSource<tessel::MessangerEvents>::Connection connection_;
};

}  // namespace dltest
