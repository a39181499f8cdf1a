#include "hostile/HostileServer.h"

#include <chrono>

#include "Answers.h"
#include "GzipBomb.h"
#include "Listener.h"
#include "TlsContext.h"

namespace hostile {

namespace {
constexpr std::chrono::hours kDay{24};
constexpr std::size_t kBombMebibytes = 1024;
}  // namespace

struct HostileServer::Impl {
    Site site;
    SslContext selfSigned = SelfSignedContext(-kDay, 30 * kDay);
    SslContext expired = SelfSignedContext(-30 * kDay, -kDay);
    Listener plain{[this](int fd, const StopSignal& stop) { AnswerPlain(fd, site, stop); }};
    Listener selfSignedTls{
        [this](int fd, const StopSignal& stop) { ServeTls(fd, *selfSigned, stop); }};
    Listener expiredTls{[this](int fd, const StopSignal& stop) { ServeTls(fd, *expired, stop); }};
    bool running = false;
};

HostileServer::HostileServer() : impl_(std::make_unique<Impl>()) {}

HostileServer::~HostileServer() {
    Stop();
}

void HostileServer::Start(std::uint16_t port) {
    auto& site = impl_->site;
    site.gzipBomb = GzipBomb(kBombMebibytes);
    site.port = impl_->plain.Bind(port);
    site.selfSignedPort = impl_->selfSignedTls.Bind(0);
    site.expiredPort = impl_->expiredTls.Bind(0);
    impl_->plain.Start();
    impl_->selfSignedTls.Start();
    impl_->expiredTls.Start();
    impl_->running = true;
}

void HostileServer::Stop() {
    if (!impl_->running) return;
    impl_->plain.Stop();
    impl_->selfSignedTls.Stop();
    impl_->expiredTls.Stop();
    impl_->running = false;
}

std::uint16_t HostileServer::Port() const {
    return impl_->site.port;
}

std::string HostileServer::SearchURL() const {
    return "http://127.0.0.1:" + std::to_string(Port()) + "/google/search?hl=en&q=hostile";
}

std::string HostileServer::HugeSearchURL() const {
    return "http://127.0.0.1:" + std::to_string(Port()) + "/huge/search?hl=en&q=huge";
}

std::string HostileServer::URL(const Answer& answer) const {
    return impl_->site.URL(answer);
}

const std::vector<Answer>& HostileServer::Answers() {
    return AllAnswers();
}

}  // namespace hostile
