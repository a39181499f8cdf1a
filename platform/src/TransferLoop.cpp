#include "platform/TransferLoop.h"

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdio>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

#include "CancelWatches.h"
#include "CurlHandles.h"
#include "CurlShare.h"
#include "CurlTransfer.h"
#include "platform/KernelObjects.h"
#include "tessel/MessageQueue.h"

namespace platform {
namespace {

using Clock = std::chrono::steady_clock;

TransferResult Ended(TransferEnd end, int32_t number = 0, std::string description = {}) {
    TransferResult result;
    result.end = end;
    result.errorNumber = number;
    result.errorDescription = std::move(description);
    return result;
}

MultiHandle NewMulti(int maxRunning) {
    if (!HttpAvailable()) {
        throw tessel::ComError(httperr::kUnavailable,
                               "The HTTP client library could not be initialised. ");
    }
    MultiHandle multi(curl_multi_init());
    CURLM* m = multi.get();
    // HTTP/2 transfers to one host share a connection; idle connections stay open for the
    // next transfer to their origin, a few more than run at once, and the oldest goes first.
    bool ok = m && curl_multi_setopt(m, CURLMOPT_PIPELINING, CURLPIPE_MULTIPLEX) == CURLM_OK;
    ok = ok && curl_multi_setopt(m, CURLMOPT_MAX_HOST_CONNECTIONS, long{maxRunning}) == CURLM_OK;
    ok = ok &&
         curl_multi_setopt(m, CURLMOPT_MAX_TOTAL_CONNECTIONS, long{2 * maxRunning}) == CURLM_OK;
    ok = ok && curl_multi_setopt(m, CURLMOPT_MAXCONNECTS, long{2 * maxRunning}) == CURLM_OK;
    if (!ok) {
        throw tessel::ComError(httperr::kUnavailable,
                               "The HTTP client could not create its transfer loop. ");
    }
    return multi;
}

}  // namespace

class TransferLoop::Engine {
  public:
    explicit Engine(int maxRunning) : maxRunning_(maxRunning), multi_(NewMulti(maxRunning)) {}
    ~Engine();
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    void Submit(TransferRequest request, TransferDone done);

  private:
    struct Queued {
        TransferRequest request;
        TransferDone done;
        Clock::time_point notBefore{};
    };
    struct Running {
        std::unique_ptr<CurlTransfer> transfer;
        TransferDone done;
        Clock::time_point deadline;
        std::string cancelEventName;
    };
    void Run();
    bool Admit();
    void Enqueue(Queued queued);
    void StartQueued();
    void Start(Queued queued);
    void Perform();
    void ExpireDeadlines();
    void Sleep();
    int MillisecondsToNextEvent() const;
    std::deque<Queued>::iterator NextReady();
    void CancelSignalled(const std::vector<curl_waitfd>& descriptors);
    void CancelAllOf(std::string eventName);
    void EndAll();
    void Stop(std::vector<std::unique_ptr<Running>>::iterator running, TransferResult result);
    void Finish(const std::string& eventName, const TransferDone& done, TransferResult result);
    bool CancelledNow(const std::string& eventName) const;
    bool HasRoom() const { return static_cast<int>(running_.size()) < maxRunning_; }

    const int maxRunning_;
    CurlShare share_;  // first: outlives every handle that uses it
    MultiHandle multi_;
    // Shared with the submitting threads.
    std::mutex mutex_;
    std::vector<Queued> inbox_;
    bool hungry_ = true;  // the loop sleeps with room to start a transfer: wake it
    bool stopping_ = false;
    std::thread thread_;
    // The loop thread's own.
    std::deque<Queued> queue_;
    std::vector<std::unique_ptr<Running>> running_;
    CancelWatches watches_;
};

TransferLoop::Engine::~Engine() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    curl_multi_wakeup(multi_.get());
    if (thread_.joinable()) thread_.join();
}

void TransferLoop::Engine::Submit(TransferRequest request, TransferDone done) {
    bool ring = false;
    {
        std::lock_guard lock(mutex_);
        if (!thread_.joinable()) thread_ = std::thread([this] { Run(); });
        // A full loop takes the request when a slot frees, which wakes it anyway; but until
        // then it would not see the request's cancel event set, unless it watches it already.
        const auto& name = request.cancelEventName;
        const bool unwatched = !name.empty() && !watches_.Watches(name);
        ring = std::exchange(hungry_, false) || unwatched;
        inbox_.push_back({std::move(request), std::move(done)});
    }
    if (ring) curl_multi_wakeup(multi_.get());
}

void TransferLoop::Engine::Run() {
    // The results of one turn reach their owners together, when the loop goes to sleep.
    const tessel::MessageQueue::BatchedWakeups batched;
    while (Admit()) {
        StartQueued();
        Perform();
        ExpireDeadlines();
        // Slots freed by ended or expired transfers: start the next at once. Nothing else
        // would wake the loop for them once the last running transfer has expired.
        if (HasRoom() && NextReady() != queue_.end()) continue;
        Sleep();
    }
    EndAll();
}

bool TransferLoop::Engine::Admit() {
    std::vector<Queued> arrived;
    {
        std::lock_guard lock(mutex_);
        if (stopping_) return false;
        arrived.swap(inbox_);
    }
    for (auto& queued : arrived) Enqueue(std::move(queued));
    return true;
}

void TransferLoop::Engine::Enqueue(Queued queued) {
    const std::string& name = queued.request.cancelEventName;
    // Cancelled before it was queued: it ends without a request.
    if (!name.empty() && !watches_.Add(name)) {
        return Finish({}, queued.done, Ended(TransferEnd::Cancelled));
    }
    queued.notBefore = Clock::now() + queued.request.delay;
    queue_.push_back(std::move(queued));
}

void TransferLoop::Engine::StartQueued() {
    while (HasRoom()) {
        const auto next = NextReady();
        if (next == queue_.end()) return;
        Queued queued = std::move(*next);
        queue_.erase(next);
        Start(std::move(queued));
    }
}

// The first transfer in the queue whose wait, if it had one, is over.
std::deque<TransferLoop::Engine::Queued>::iterator TransferLoop::Engine::NextReady() {
    const auto now = Clock::now();
    return std::find_if(queue_.begin(), queue_.end(),
                        [&](const Queued& queued) { return queued.notBefore <= now; });
}

void TransferLoop::Engine::Start(Queued queued) {
    const std::string& eventName = queued.request.cancelEventName;
    if (CancelledNow(eventName)) {
        return Finish(eventName, queued.done, Ended(TransferEnd::Cancelled));
    }
    try {
        auto transfer = std::make_unique<CurlTransfer>(queued.request, share_.get());
        if (curl_multi_add_handle(multi_.get(), transfer->Easy()) != CURLM_OK) {
            throw tessel::ComError(httperr::kUnavailable,
                                   "The HTTP client could not start a transfer. ");
        }
        running_.push_back(
            std::make_unique<Running>(Running{std::move(transfer), std::move(queued.done),
                                              Clock::now() + queued.request.timeout, eventName}));
    } catch (const std::exception& e) {
        const auto error = tessel::ToComError(e);
        Finish(eventName, queued.done,
               Ended(TransferEnd::Failed, error.Number(), error.Description()));
    }
}

void TransferLoop::Engine::Perform() {
    if (running_.empty()) return;
    int stillRunning = 0;
    if (const CURLMcode code = curl_multi_perform(multi_.get(), &stillRunning); code != CURLM_OK) {
        // The multi handle itself broke: nothing it holds can go on.
        while (!running_.empty()) {
            Stop(running_.begin(),
                 Ended(TransferEnd::Failed, httperr::kTransferFailed, curl_multi_strerror(code)));
        }
        return;
    }
    int left = 0;
    while (CURLMsg* message = curl_multi_info_read(multi_.get(), &left)) {
        if (message->msg != CURLMSG_DONE) continue;
        const auto running = std::find_if(running_.begin(), running_.end(), [&](const auto& r) {
            return r->transfer->Easy() == message->easy_handle;
        });
        if (running == running_.end()) continue;
        const CURLcode code = message->data.result;  // `message` dies with the handle
        Stop(running, (*running)->transfer->Finished(code));
    }
}

void TransferLoop::Engine::ExpireDeadlines() {
    const auto now = Clock::now();
    for (auto running = running_.begin(); running != running_.end();) {
        if ((*running)->deadline > now) {
            ++running;
            continue;
        }
        const auto index = running - running_.begin();
        Stop(running, (*running)->transfer->Stopped(TransferEnd::TimedOut));
        running = running_.begin() + index;
    }
}

void TransferLoop::Engine::Sleep() {
    int timeout = MillisecondsToNextEvent();
    {
        std::lock_guard lock(mutex_);
        if (!inbox_.empty() || stopping_) {
            timeout = 0;
        } else {
            hungry_ = HasRoom();  // nothing queued may start yet
        }
    }
    std::vector<curl_waitfd> descriptors = watches_.Descriptors();
    tessel::MessageQueue::BatchedWakeups::Flush();
    curl_multi_poll(multi_.get(), descriptors.data(), static_cast<unsigned>(descriptors.size()),
                    timeout, nullptr);
    {
        std::lock_guard lock(mutex_);
        hungry_ = false;
    }
    CancelSignalled(descriptors);
}

// Until the first running transfer's deadline or, with a slot free, the end of the first
// queued transfer's wait.
int TransferLoop::Engine::MillisecondsToNextEvent() const {
    auto next = Clock::time_point::max();
    for (const auto& running : running_) next = std::min(next, running->deadline);
    if (HasRoom()) {
        for (const auto& queued : queue_) next = std::min(next, queued.notBefore);
    }
    if (next == Clock::time_point::max()) return INT_MAX;
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(next - Clock::now()).count();
    return static_cast<int>(std::clamp<int64_t>(left, 0, INT_MAX));
}

void TransferLoop::Engine::CancelSignalled(const std::vector<curl_waitfd>& descriptors) {
    for (const std::string& name : watches_.Fired(descriptors)) CancelAllOf(name);
}

void TransferLoop::Engine::CancelAllOf(std::string eventName) {
    for (auto running = running_.begin(); running != running_.end();) {
        if ((*running)->cancelEventName != eventName) {
            ++running;
            continue;
        }
        const auto index = running - running_.begin();
        Stop(running, (*running)->transfer->Stopped(TransferEnd::Cancelled));
        running = running_.begin() + index;
    }
    std::deque<Queued> kept;
    for (auto& queued : queue_) {
        if (queued.request.cancelEventName == eventName) {
            Finish(eventName, queued.done, Ended(TransferEnd::Cancelled));
        } else {
            kept.push_back(std::move(queued));
        }
    }
    queue_.swap(kept);
}

void TransferLoop::Engine::EndAll() {
    while (!running_.empty()) {
        Stop(running_.begin(), running_.front()->transfer->Stopped(TransferEnd::Cancelled));
    }
    for (auto& queued : queue_) {
        Finish(queued.request.cancelEventName, queued.done, Ended(TransferEnd::Cancelled));
    }
    queue_.clear();
    std::vector<Queued> late;
    {
        std::lock_guard lock(mutex_);
        late.swap(inbox_);
    }
    for (auto& queued : late) Finish({}, queued.done, Ended(TransferEnd::Cancelled));
}

void TransferLoop::Engine::Stop(std::vector<std::unique_ptr<Running>>::iterator running,
                                TransferResult result) {
    std::unique_ptr<Running> stopped = std::move(*running);
    running_.erase(running);
    curl_multi_remove_handle(multi_.get(), stopped->transfer->Easy());
    // Whatever the transfer held (a spooled body's file, its connection's claim) goes before
    // its owner hears of the end.
    stopped->transfer.reset();
    Finish(stopped->cancelEventName, stopped->done, std::move(result));
}

void TransferLoop::Engine::Finish(const std::string& eventName, const TransferDone& done,
                                  TransferResult result) {
    if (!eventName.empty()) watches_.Release(eventName);
    try {
        done(std::move(result));
    } catch (const std::exception& e) {
        // Nobody is left to tell: the owner's reply channel itself failed (out of memory).
        std::fprintf(stderr, "kestrova: a transfer's result was lost: %s\n", e.what());
    }
}

bool TransferLoop::Engine::CancelledNow(const std::string& eventName) const {
    return !eventName.empty() && watches_.IsSet(eventName);
}

TransferLoop::TransferLoop(int maxRunning) : engine_(std::make_unique<Engine>(maxRunning)) {}

TransferLoop::~TransferLoop() = default;

void TransferLoop::Submit(TransferRequest request, TransferDone done) {
    engine_->Submit(std::move(request), std::move(done));
}

}  // namespace platform
