#include "tessel/Toolbox.h"

#include <atomic>
#include <cstdio>
#include <mutex>
#include <random>

#include "tessel/MessageQueue.h"

namespace tessel::Toolbox {

std::string NewID() {
    // Random per process plus a counter: unique within the process and, for the
    // kernel-object names built from it, practically unique across processes.
    static const uint64_t salt = [] {
        std::random_device device;
        return (static_cast<uint64_t>(device()) << 32) ^ device();
    }();
    static std::atomic<uint64_t> counter{0};
    const uint64_t n = counter.fetch_add(1, std::memory_order_relaxed);
    char buf[48];
    std::snprintf(buf, sizeof buf, "{%08X-%04X-%04X-%016llX}", static_cast<unsigned>(salt >> 32),
                  static_cast<unsigned>((salt >> 16) & 0xFFFF),
                  static_cast<unsigned>(salt & 0xFFFF), static_cast<unsigned long long>(n));
    return buf;
}

std::string FormatMessage(const std::string& templ, const std::vector<std::string>& args) {
    std::string out;
    out.reserve(templ.size());
    for (std::size_t i = 0; i < templ.size(); ++i) {
        if (templ[i] == '%' && i + 1 < templ.size() && templ[i + 1] >= '1' && templ[i + 1] <= '9') {
            // Longest placeholder number that names an argument: "%12" with 12 arguments.
            std::size_t j = i + 1;
            std::size_t number = 0;
            std::size_t bestEnd = 0, best = 0;
            while (j < templ.size() && templ[j] >= '0' && templ[j] <= '9') {
                number = number * 10 + static_cast<std::size_t>(templ[j] - '0');
                ++j;
                if (number >= 1 && number <= args.size()) bestEnd = j, best = number;
                if (number > args.size()) break;
            }
            if (best != 0) {
                out += args[best - 1];
                i = bestEnd - 1;
                continue;
            }
        }
        out += templ[i];
    }
    return out;
}

void PumpMessages() {
    MessageQueue::Current()->Pump();
}

void PumpMessagesFor(std::chrono::milliseconds timeout) {
    auto queue = MessageQueue::Current();
    if (!queue->HasPending()) queue->WaitForMessage(timeout);
    queue->Pump();
}

void WaitAndPumpMessages() {
    auto queue = MessageQueue::Current();
    queue->WaitForMessage();
    queue->Pump();
}

bool PumpMessagesUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + timeout;
    auto queue = MessageQueue::Current();
    queue->Pump();
    while (!done()) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
        if (left <= std::chrono::milliseconds::zero()) return false;
        queue->WaitForMessage(left);
        queue->Pump();
    }
    return true;
}

std::string URLEncode(const std::string& text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size() * 3);
    for (const char c : text) {
        const auto b = static_cast<unsigned char>(c);
        const bool keep = (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') ||
                          (b >= '0' && b <= '9') || b == '-' || b == '_' || b == '.' || b == '~';
        if (keep) {
            out += c;
        } else {
            out += '%';
            out += kHex[b >> 4];
            out += kHex[b & 0x0F];
        }
    }
    return out;
}

}  // namespace tessel::Toolbox
