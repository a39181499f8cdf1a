#include "serpdouble/SerpDouble.h"

#include <httplib.h>
#include <netinet/tcp.h>

#include <atomic>
#include <mutex>
#include <stdexcept>
#include <thread>

#include "Context.h"
#include "Counters.h"
#include "CountingQueue.h"
#include "PrimedServer.h"
#include "Routes.h"
#include "StopSignal.h"
#include "TextCodec.h"

namespace serpdouble {

struct SerpDouble::Impl {
    explicit Impl(Options o) : options(std::move(o)) {}

    std::unique_ptr<PrimedServer> NewServer();
    std::uint16_t Bind(httplib::Server& server) const;
    void Start();
    void Stop();

    const Options options;
    Counters counters;
    StopSignal stop;
    std::mutex lifecycle;  // orders Start and Stop
    std::unique_ptr<PrimedServer> server;
    std::unique_ptr<Context> context;
    std::thread listener;
    std::atomic<bool> listenerEnded{false};
    std::atomic<bool> running{false};
    std::atomic<std::uint16_t> port{0};
};

std::unique_ptr<PrimedServer> SerpDouble::Impl::NewServer() {
    auto server = std::make_unique<PrimedServer>();
    const auto threads = static_cast<std::size_t>(std::max(1, options.threads));
    // httplib owns the queue it gets.
    server->new_task_queue = [this, threads] { return new CountingQueue(threads, counters); };
    // Unless asked to keep them, one request per connection; and short socket time-outs: an
    // idle or half-sent connection would otherwise keep a pool thread, and so Stop, waiting
    // for seconds.
    constexpr std::size_t kKeptAliveRequests = 100000;
    server->set_keep_alive_max_count(options.keepAlive ? kKeptAliveRequests : 1);
    // httplib's default adds SO_REUSEPORT, which lets a second double share a taken port.
    // Accepted connections inherit TCP_NODELAY: on a kept connection Nagle's algorithm
    // would hold each body until the client acknowledged its headers (a delayed ACK).
    server->set_socket_options([](socket_t sock) {
        int yes = 1;
        setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof(yes));
        setsockopt(sock, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof(yes));
    });
    server->set_keep_alive_timeout(1);
    server->set_read_timeout(2, 0);
    server->set_write_timeout(2, 0);
    return server;
}

std::uint16_t SerpDouble::Impl::Bind(httplib::Server& server) const {
    const std::string host = "127.0.0.1";
    int bound = -1;
    if (options.port == 0) {
        bound = server.bind_to_any_port(host);
    } else if (server.bind_to_port(host, options.port)) {
        bound = options.port;
    }
    if (bound <= 0) {
        throw std::runtime_error("Cannot listen on " + host + ":" + std::to_string(options.port));
    }
    return static_cast<std::uint16_t>(bound);
}

void SerpDouble::Impl::Start() {
    std::lock_guard lock(lifecycle);
    if (running) return;
    stop.Clear();
    auto fresh = NewServer();
    fresh->Prime();
    port = Bind(*fresh);
    context = std::make_unique<Context>(
        Context{options, counters, stop, "http://127.0.0.1:" + std::to_string(port)});
    InstallRoutes(*fresh, *context);
    server = std::move(fresh);
    listenerEnded = false;
    listener = std::thread([this] {
        server->listen_after_bind();
        listenerEnded = true;
    });
    // httplib's stop() does nothing until the loop runs, so Stop must not come earlier.
    while (!server->is_running() && !listenerEnded) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    running = true;
}

void SerpDouble::Impl::Stop() {
    std::lock_guard lock(lifecycle);
    if (!running) return;
    stop.Raise();
    server->stop();
    listener.join();
    server.reset();
    context.reset();
    running = false;
}

SerpDouble::SerpDouble() : SerpDouble(Options{}) {}

SerpDouble::SerpDouble(Options options) : impl_(std::make_unique<Impl>(std::move(options))) {}

SerpDouble::~SerpDouble() {
    Stop();
}

void SerpDouble::Start() {
    impl_->Start();
}

void SerpDouble::Stop() {
    impl_->Stop();
}

bool SerpDouble::Running() const {
    return impl_->running;
}

std::uint16_t SerpDouble::Port() const {
    return impl_->port;
}

std::string SerpDouble::BaseURL() const {
    return "http://127.0.0.1:" + std::to_string(Port());
}

std::string SerpDouble::SearchURL(const std::string& keyword) const {
    return BaseURL() + "/google/search?hl=en&q=" + EncodeQueryValue(keyword);
}

std::string SerpDouble::SearxngURL(const std::string& keyword) const {
    return BaseURL() + "/search?q=" + EncodeQueryValue(keyword) + "&format=json";
}

std::string SerpDouble::BraveURL(const std::string& keyword) const {
    return BaseURL() + "/res/v1/web/search?q=" + EncodeQueryValue(keyword);
}

std::string SerpDouble::PageURL(int result) const {
    return BaseURL() + "/page/" + std::to_string(result);
}

std::optional<std::string> SerpDouble::ResultLink(int result) const {
    return LinkFor(BaseURL(), result, impl_->options.links);
}

std::string SerpDouble::ExpectedBody(int result) const {
    const auto& options = impl_->options;
    return PageBody(result, PageSizeOf(options, result), options.content);
}

const SerpDouble::Options& SerpDouble::Settings() const {
    return impl_->options;
}

Stats SerpDouble::Snapshot() const {
    return impl_->counters.Snapshot();
}

std::vector<RequestRecord> SerpDouble::Requests() const {
    return impl_->counters.Requests();
}

bool SerpDouble::WaitFor(const std::function<bool(const Stats&)>& ready,
                         std::chrono::milliseconds timeout) const {
    return impl_->counters.WaitFor(ready, timeout);
}

void SerpDouble::ResetStats() {
    impl_->counters.Reset();
}

}  // namespace serpdouble
