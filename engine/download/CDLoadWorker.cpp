#include "download/CDLoadWorker.h"

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
    std::shared_ptr<tessel::Messanger> messanger;
    std::string url;
    int32_t sizeB = 0;
    std::string cookie;
    bool cookieRead = false;
    std::string semaphoreName;
    std::string cancelEventName;
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
    try {
        Fetch(Data, state);
    } catch (const ComError& e) {
        Fail(Data, state, e);
    } catch (const std::exception& e) {
        Fail(Data, state, ComError(tessel::err::kInvalidArgument, e.what()));
    }
    request_.reset();
    log_.reset();
}

void CDLoadWorker::Fetch(const Variant& Data, RunState& state) {
    tessel::Toolbox::PumpMessages();
    const auto bag = Data.As<tessel::KeyedCollection>();
    OpenLog(*bag);
    ReadParameters(*bag, state);
    AcquireSlot(state);
    state.cancelEvent = platform::CreateEventA(true, false, state.cancelEventName);
    if (IsSignalled(state.cancelEvent)) throw Raised(dlerr::kCancelled, dlerr::kCancelledText);
    SendRequest(state);
    const int readyState = AwaitResponse(state);
    if (IsSignalled(state.cancelEvent)) throw Raised(dlerr::kCancelled, dlerr::kCancelledText);
    std::string page = Evaluate(readyState);
    Report(state, VariantArray{state.cookie, std::move(page), true, int32_t{0}, "", state.url});
}

void CDLoadWorker::OpenLog(const tessel::KeyedCollection& bag) {
    log_ = std::make_shared<tessel::Log>();
    log_->Open(bag.Item("Log").As<tessel::Log>()->FileName());
}

void CDLoadWorker::ReadParameters(const tessel::KeyedCollection& bag, RunState& state) {
    state.messanger = bag.Item("Messanger").As<tessel::Messanger>();
    state.url = bag.Item("URL").ToString();
    state.sizeB = bag.Item("SizeB").ToLong();
    state.cookie = bag.Item("Cookie").ToString();
    state.cookieRead = true;
    state.semaphoreName = bag.Item("ConcurrentDownloadSemaphoreName").ToString();
    state.cancelEventName = bag.Item("CancelEventName").ToString();
}

void CDLoadWorker::AcquireSlot(RunState& state) {
    // The cancel event is deliberately not watched here: a cancelled download still
    // queues for its slot and reports "Cancelled" once it holds one.
    state.slot.Open(state.semaphoreName);
    while (!state.slot.TryTake(1)) tessel::Toolbox::PumpMessages();
}

void CDLoadWorker::SendRequest(const RunState& state) {
    request_ = std::make_unique<platform::HttpRequest>();
    request_->open("GET", state.url, true);
    request_->setRequestHeader("GET", state.url);
    // Results pages are always fetched whole.
    if (!IsGoogleURL(state.url) && state.sizeB > 0) {
        request_->setRequestHeader("Range", "bytes=0-" + std::to_string(state.sizeB - 1));
    }
    request_->send();
}

int CDLoadWorker::AwaitResponse(const RunState& state) {
    // A monotonic clock: the time-out holds across midnight and clock changes alike.
    const auto start = std::chrono::steady_clock::now();
    int readyState = request_->readyState();
    while (readyState != 4 && std::chrono::steady_clock::now() - start <= timeout_ &&
           !IsSignalled(state.cancelEvent)) {
        tessel::Toolbox::PumpMessages();
        request_->waitForActivity(1);  // the 1 ms turn, cut short when the response moves
        readyState = request_->readyState();
    }
    return readyState;
}

std::string CDLoadWorker::Evaluate(int readyState) {
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
    return request_->responseBody();
}

void CDLoadWorker::CheckResponseStatus() const {
    const int status = request_->status();  // a failed transfer throws its own error here
    if (status == 200 || status == 206 || status == 302 || status == 304) return;
    if (tessel::Toolbox::IsOnline()) throw Raised(dlerr::kStatus, request_->statusText());
    throw Raised(dlerr::kOffline, dlerr::kOfflineText);
}

void CDLoadWorker::Fail(const Variant& Data, RunState& state, const ComError& error) {
    try {
        if (log_) {
            log_->Write(error.Number(), state.url + ". " + error.Description(),
                        tessel::level::kEngineError, "CDLoadWorker.Run");
        }
        // The cookie is what lets the owner close the download; read it even when an
        // earlier entry of the bag failed, so the report still reaches its table entry.
        if (!state.cookieRead) {
            const auto bag = Data.As<tessel::KeyedCollection>();
            if (bag->Exists("Cookie")) state.cookie = bag->Item("Cookie").ToString();
        }
    } catch (...) {
    }
    try {
        Report(state, VariantArray{state.cookie, "", false, error.Number(), error.Description(),
                                   state.url});
    } catch (...) {
    }
}

void CDLoadWorker::Report(RunState& state, VariantArray message) {
    // The slot goes back before the report, so the next waiting worker starts meanwhile.
    state.slot.Give();
    platform::CloseHandle(state.cancelEvent);
    if (state.messanger) state.messanger->Send(0, std::move(message));
}

}  // namespace fetchcore
