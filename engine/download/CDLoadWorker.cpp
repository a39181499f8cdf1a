#include "download/CDLoadWorker.h"

#include "boundary/DownloadResult.h"
#include "download/CDownloader.h"
#include "download/DownloadErrors.h"
#include "download/DownloadSlot.h"
#include "tessel/Messanger.h"
#include "tessel/Toolbox.h"

namespace fetchcore {

using tessel::ComError;
using tessel::Variant;
using tessel::VariantArray;

namespace {

// Linking the worker in makes it creatable by its ProgID; tests may replace the factory.
const bool gRegistered = [] {
    tessel::WorkerRegistry::RegisterDefault(kDownloadWorkerProgID,
                                            [] { return std::make_shared<CDLoadWorker>(); });
    return true;
}();

bool IsGoogleURL(const std::string& url) {
    return url.find("google") != std::string::npos;
}

ComError Raised(int32_t number, std::string description) {
    return ComError(number, std::move(description), "CDLoadWorker");
}

}  // namespace

struct CDLoadWorker::RunState {
    DownloadParams params;
    DownloadSlot slot;
    platform::Handle cancelEvent;
};

CDLoadWorker::CDLoadWorker(std::chrono::milliseconds timeout) : timeout_(timeout) {}

CDLoadWorker::~CDLoadWorker() = default;

void CDLoadWorker::Call(const std::string& name, const Variant& argument) {
    if (!HasMethod(name)) {
        throw ComError(tessel::err::kMethodNotSupported,
                       "Object doesn't support this property or method: " + name);
    }
    Run(argument);
}

void CDLoadWorker::Run(const Variant& Data) {
    RunState state;
    if (const auto failure = tessel::Trap([&] { Fetch(Data, state); })) Fail(state, *failure);
    request_.reset();
    log_.reset();
}

void CDLoadWorker::Fetch(const Variant& Data, RunState& state) {
    tessel::Toolbox::PumpMessages();
    const auto bag = Data.As<tessel::KeyedCollection>();
    state.params.ReadFrom(*bag);
    OpenLog(state.params);
    AcquireSlot(state);
    state.cancelEvent = platform::CreateEventA(true, false, state.params.cancelEventName);
    if (IsSignalled(state.cancelEvent)) throw Raised(dlerr::kCancelled, dlerr::kCancelledText);
    SendRequest(state.params);
    const int readyState = AwaitResponse(state);
    if (IsSignalled(state.cancelEvent)) throw Raised(dlerr::kCancelled, dlerr::kCancelledText);
    auto page = std::make_shared<PageBody>(Evaluate(readyState));
    Report(state,
           DownloadResult{state.params.cookie, std::move(page), true, 0, "", state.params.url});
}

void CDLoadWorker::OpenLog(const DownloadParams& params) {
    if (!params.log) return;
    log_ = std::make_shared<tessel::Log>();
    log_->Open(params.log->FileName());
}

void CDLoadWorker::AcquireSlot(RunState& state) {
    // The cancel event is deliberately not watched here: a cancelled download still
    // queues for its slot and reports "Cancelled" once it holds one.
    state.slot.Open(state.params.semaphoreName);
    state.slot.Take();
}

void CDLoadWorker::SendRequest(const DownloadParams& params) {
    // Downloads that share slots share connections too: the semaphore names the saver.
    request_ =
        std::make_unique<platform::HttpRequest>(platform::OpenHttpSession(params.semaphoreName));
    request_->open("GET", params.url, true);
    if (params.limitB > 0) request_->setMaxBodyBytes(params.limitB);
    if (!params.spoolFolder.empty()) request_->setSpoolFolder(params.spoolFolder);
    request_->setRequestHeader("GET", params.url);
    // Results pages are always fetched whole.
    if (!IsGoogleURL(params.url) && params.sizeB > 0) {
        request_->setRequestHeader("Range", "bytes=0-" + std::to_string(params.sizeB - 1));
    }
    request_->send();
}

int CDLoadWorker::AwaitResponse(const RunState& state) {
    // A monotonic clock: the time-out holds across midnight and clock changes alike.
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + timeout_;
    const int cancelDescriptor = platform::EventDescriptor(state.cancelEvent);
    int readyState = request_->readyState();
    while (readyState != 4 && !IsSignalled(state.cancelEvent)) {
        const auto left = deadline - Clock::now();
        if (left < Clock::duration::zero()) break;
        // Sleeps until the response moves, the cancel is set or the time-out is up.
        request_->waitForActivity(
            static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(left).count()),
            cancelDescriptor);
        readyState = request_->readyState();
    }
    return readyState;
}

platform::ResponseBody CDLoadWorker::Evaluate(int readyState) {
    if (readyState == 3) {
        request_->abort();
        throw Raised(dlerr::kInteractive, dlerr::kInteractiveText);
    }
    // States 1 and 2 (and an aborted 0) all mean no body came in time; none may pass
    // for a success.
    if (readyState != 4) {
        request_->abort();
        throw Raised(dlerr::kTimeout, dlerr::kTimeoutText);
    }
    CheckResponseStatus();
    // Pages travel as their bytes, unchanged: the consumer writes them back as they came.
    return request_->takeResponseBody();
}

void CDLoadWorker::CheckResponseStatus() const {
    const int status = request_->status();  // a failed transfer throws its own error here
    if (status == 200 || status == 206 || status == 302 || status == 304) return;
    if (tessel::Toolbox::IsOnline()) throw Raised(dlerr::kStatus, request_->statusText());
    throw Raised(dlerr::kOffline, dlerr::kOfflineText);
}

void CDLoadWorker::Fail(RunState& state, const ComError& error) {
    // Every step of the failure path goes on past its own failure: the one report matters
    // more than the log line, and nobody is left to tell about a report that failed.
    const auto& params = state.params;
    tessel::Trap([&] {
        if (!log_) OpenLog(params);  // a bag that failed to read may still name the log
        if (log_) {
            log_->Write(error.Number(), params.url + ". " + error.Description(),
                        tessel::level::kEngineError, "CDLoadWorker.Run");
        }
    });
    tessel::Trap([&] {
        Report(state, DownloadResult{params.cookie, nullptr, false, error.Number(),
                                     error.Description(), params.url});
    });
}

void CDLoadWorker::Report(RunState& state, const DownloadResult& result) {
    // The slot goes back before the report, so the next waiting worker starts meanwhile.
    state.slot.Give();
    platform::CloseHandle(state.cancelEvent);
    if (state.params.messanger) state.params.messanger->Send(DownloadResult::kMsg, result.ToData());
}

}  // namespace fetchcore
