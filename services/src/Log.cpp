#include "tessel/Log.h"

#include <fcntl.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <mutex>

#include "ThreadRun.h"
#include "tessel/FileDescriptor.h"

namespace tessel {
namespace {

// One lock for all files of the process: entries of one process never interleave,
// and O_APPEND keeps whole lines from different processes apart.
std::mutex& WriteLock() {
    static std::mutex lock;
    return lock;
}

// 0 until the thread (or the pooled thread's current run) first writes.
thread_local int gThreadNumber = 0;

int ThreadNumber() {
    static std::atomic<int> next{1};
    if (gThreadNumber == 0) gThreadNumber = next.fetch_add(1);
    return gThreadNumber;
}

std::string TimeStamp() {
    const auto now = std::chrono::system_clock::now();
    const auto secs = std::chrono::system_clock::to_time_t(now);
    const auto millis =
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() %
        1000;
    std::tm local{};
    localtime_r(&secs, &local);
    char buf[40];
    const std::size_t n = std::strftime(buf, sizeof buf, "%Y-%m-%d %H:%M:%S", &local);
    std::snprintf(buf + n, sizeof buf - n, ".%03d", static_cast<int>(millis));
    return buf;
}

// A log line that cannot be written is lost: the log is where it would have been reported.
void AppendWhole(const std::string& fileName, const std::string& line) {
    const auto file =
        FileDescriptor::Open(fileName, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (file) WriteAll(file.Get(), line);
}

}  // namespace

void detail::ForgetThreadNumber() {
    gThreadNumber = 0;
}

void Log::Open(const std::string& fileName) {
    fileName_ = fileName;
}

std::string Log::Escape(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\\':
                out += "\\\\";
                break;
            default:
                if (byte < 0x20 || byte == 0x7F) {
                    char hex[5];
                    std::snprintf(hex, sizeof hex, "\\x%02X", byte);
                    out += hex;
                } else {
                    out += c;
                }
        }
    }
    return out;
}

void Log::Write(int32_t number, const std::string& message, int level, const std::string& source) {
    if (fileName_.empty()) return;
    std::string line = TimeStamp();
    line += "\tT" + std::to_string(ThreadNumber());
    line += "\tL" + std::to_string(level);
    line += '\t' + std::to_string(number);
    line += '\t' + Escape(source);
    line += '\t' + Escape(message);
    line += '\n';
    std::lock_guard guard(WriteLock());
    AppendWhole(fileName_, line);
}

}  // namespace tessel
