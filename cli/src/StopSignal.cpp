#include "StopSignal.h"

#include <csignal>

#include <atomic>

namespace kestrova::cli::StopSignal {
namespace {

std::atomic<int> gReceived{0};
static_assert(std::atomic<int>::is_always_lock_free, "the handler must not take a lock");

extern "C" void OnStopSignal(int signal) {
    int none = 0;
    gReceived.compare_exchange_strong(none, signal);
}

}  // namespace

void Install() {
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESETHAND | SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

int Received() {
    return gReceived.load();
}

}  // namespace kestrova::cli::StopSignal
