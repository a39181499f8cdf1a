#include "StopSignal.h"

#include <sys/eventfd.h>

#include <atomic>
#include <csignal>

namespace kestrova::cli::StopSignal {
namespace {

std::atomic<int> gReceived{0};
std::atomic<int> gDescriptor{-1};
static_assert(std::atomic<int>::is_always_lock_free, "the handler must not take a lock");

extern "C" void OnStopSignal(int signal) {
    int none = 0;
    gReceived.compare_exchange_strong(none, signal);
    // A write to an eventfd is safe in a signal handler.
    if (const int fd = gDescriptor.load(); fd >= 0) eventfd_write(fd, 1);
}

}  // namespace

void Install() {
    // Never closed: a handler may run on any thread at any time until the process ends.
    if (gDescriptor.load() < 0) gDescriptor.store(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC));
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

int Descriptor() {
    return gDescriptor.load();
}

}  // namespace kestrova::cli::StopSignal
