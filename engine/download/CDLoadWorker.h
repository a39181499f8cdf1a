#pragma once

#include <chrono>
#include <memory>
#include <string>

#include "boundary/DownloadParams.h"
#include "boundary/DownloadResult.h"
#include "platform/HttpRequest.h"
#include "tessel/Error.h"
#include "tessel/KeyedCollection.h"
#include "tessel/Log.h"
#include "tessel/Variant.h"
#include "tessel/WorkerThread.h"

namespace fetchcore {

// Fetches one URL on its own thread and reports the outcome as exactly one message
// (Msg 0, six values) to the messenger in its parameter bag. Created by ProgID
// (kDownloadWorkerProgID) and used once.
class CDLoadWorker : public tessel::Worker {
  public:
    static constexpr std::chrono::milliseconds kDefaultTimeout{60'000};

    explicit CDLoadWorker(std::chrono::milliseconds timeout = kDefaultTimeout);
    ~CDLoadWorker() override;

    bool HasMethod(const std::string& name) const override { return name == "Run"; }
    void Call(const std::string& name, const tessel::Variant& argument) override;

    // Never throws; the outcome is the result message.
    void Run(const tessel::Variant& Data);

  private:
    struct RunState;

    void Fetch(const tessel::Variant& Data, RunState& state);
    void OpenLog(const DownloadParams& params);
    static void AcquireSlot(RunState& state);
    void SendRequest(const DownloadParams& params);
    int AwaitResponse(const RunState& state);
    platform::ResponseBody Evaluate(int readyState);
    void CheckResponseStatus() const;
    void Fail(RunState& state, const tessel::ComError& error);
    static void Report(RunState& state, const DownloadResult& result);

    std::chrono::milliseconds timeout_;
    std::shared_ptr<tessel::Log> log_;
    std::unique_ptr<platform::HttpRequest> request_;
};

}  // namespace fetchcore
