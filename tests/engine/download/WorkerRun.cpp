#include "WorkerRun.h"

#include <thread>

#include "download/CDLoadWorker.h"
#include "tessel/Toolbox.h"

namespace dltest {

WorkerRun::WorkerRun()
    : messanger(std::make_shared<tessel::Messanger>()),
      semaphoreName(tessel::Toolbox::NewID()),
      cancelEventName(tessel::Toolbox::NewID()),
      connection_(messanger->Connect(*this)) {}

std::shared_ptr<tessel::KeyedCollection> WorkerRun::FullBag(
    const std::string& url, std::shared_ptr<tessel::Log> log) const {
    auto bag = std::make_shared<tessel::KeyedCollection>();
    bag->Add(url, "URL");
    bag->Add(int32_t{0}, "SizeB");
    bag->Add(std::move(log), "Log");
    bag->Add(messanger, "Messanger");
    bag->Add(cookie, "Cookie");
    bag->Add(semaphoreName, "ConcurrentDownloadSemaphoreName");
    bag->Add(cancelEventName, "CancelEventName");
    return bag;
}

void WorkerRun::Run(std::shared_ptr<tessel::KeyedCollection> bag,
                    std::chrono::milliseconds timeout) {
    std::thread thread([bag = std::move(bag), timeout] {
        fetchcore::CDLoadWorker(timeout).Run(tessel::Variant(bag));
    });
    thread.join();
    // Everything the worker sent is queued on this thread by now.
    tessel::Toolbox::PumpMessages();
}

}  // namespace dltest
