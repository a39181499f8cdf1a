#include "TerminationSignals.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <system_error>

#include <QSocketNotifier>

namespace kestrova {
namespace {

constexpr std::array<int, 2> kSignals = {SIGTERM, SIGINT};

// The write end for the handler; -1 while no instance listens.
std::atomic<int> writeEnd{-1};
std::array<struct sigaction, kSignals.size()> previous{};

extern "C" void OnTerminationSignal(int) {
    const int saved = errno;  // the interrupted code may be reading errno
    const int fd = writeEnd.load();
    const char byte = 1;
    if (fd >= 0 && ::write(fd, &byte, 1) < 0) {
        // A full pipe already holds a wake-up: losing this byte loses nothing.
    }
    errno = saved;
}

}  // namespace

TerminationSignals::TerminationSignals() {
    if (::pipe2(pipe_.data(), O_CLOEXEC | O_NONBLOCK) != 0)
        throw std::system_error(errno, std::generic_category(), "pipe2");
    writeEnd.store(pipe_[1]);
    notifier_ = std::make_unique<QSocketNotifier>(pipe_[0], QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, &TerminationSignals::Drain);
    struct sigaction action {};
    action.sa_handler = OnTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (size_t i = 0; i < kSignals.size(); ++i) sigaction(kSignals[i], &action, &previous[i]);
}

TerminationSignals::~TerminationSignals() {
    for (size_t i = 0; i < kSignals.size(); ++i) sigaction(kSignals[i], &previous[i], nullptr);
    writeEnd.store(-1);
    notifier_.reset();
    for (int fd : pipe_) ::close(fd);
}

void TerminationSignals::Drain() {
    char bytes[16];
    while (::read(pipe_[0], bytes, sizeof bytes) > 0) {
        // Any number of signals asks for one close.
    }
    arrived_ = true;
    emit Received();
}

}  // namespace kestrova
