// What waiting costs: five downloads held by a server that never answers, for ten seconds,
// then a cancel. Prints the CPU time and context switches of the whole process over the
// stall (getrusage) and how long the cancel took to end all five.
//   bench_stall [seconds]
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "ServerProcess.h"
#include "Usage.h"
#include "download/CDownloader.h"
#include "platform/KernelObjects.h"
#include "tessel/Toolbox.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kStalled = 5;

struct Ended : fetchcore::CDownloaderEvents {
    void Complete(const fetchcore::DownloadResult& Result) override {
        ++count;
        last = Result.ErrDescription;
    }
    int count = 0;
    std::string last;
};

long Switches(const rusage& usage) {
    return usage.ru_nvcsw + usage.ru_nivcsw;
}

double Ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

}  // namespace

int main(int argc, char** argv) {
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 10;
    serpdouble::SerpDouble::Options options;
    for (int i = 1; i <= kStalled; ++i) options.resultFaults[i] = serpdouble::Fault::StallForever();
    dlbench::ServerProcess server(options);  // before this process makes any thread

    auto log = std::make_shared<tessel::Log>();
    log->Open("/tmp/kes-bench-stall.log");
    fetchcore::CDownloader downloader(
        std::make_shared<fetchcore::DownloadService>(fetchcore::DownloadSettings{}));
    Ended ended;
    auto connection = downloader.Connect(ended);
    downloader.Init(log);
    downloader.ConcurrentDownloadSemaphoreName = tessel::Toolbox::NewID();
    downloader.CancelEventName = tessel::Toolbox::NewID();
    for (int i = 1; i <= kStalled; ++i) downloader.Download(server.PageURL(i), 0);
    // Give the requests time to reach the server, then measure the wait alone.
    tessel::Toolbox::PumpMessagesUntil([] { return false; }, std::chrono::milliseconds(500));

    rusage before{};
    getrusage(RUSAGE_SELF, &before);
    const auto start = Clock::now();
    tessel::Toolbox::PumpMessagesUntil([] { return false; }, std::chrono::seconds(seconds));
    const auto stalled = Clock::now() - start;
    rusage after{};
    getrusage(RUSAGE_SELF, &after);

    auto cancel = platform::CreateEventA(true, false, downloader.CancelEventName);
    const auto cancelled = Clock::now();
    platform::SetEvent(cancel);
    tessel::Toolbox::PumpMessagesUntil([&] { return ended.count == kStalled; },
                                       std::chrono::seconds(30));
    const auto cancelMs = Ms(Clock::now() - cancelled);

    const double wallS = Ms(stalled) / 1000;
    const double cpuMs = dlbench::CpuMs(after) - dlbench::CpuMs(before);
    const long switches = Switches(after) - Switches(before);
    std::printf("%d downloads stalled for %.1f s: cpu %.1f ms, context switches %ld (%.1f/s)\n",
                kStalled, wallS, cpuMs, switches, switches / wallS);
    std::printf("cancel ended %d of %d in %.2f ms (%s)\n", ended.count, kStalled, cancelMs,
                ended.last.c_str());
    std::remove("/tmp/kes-bench-stall.log");
    return ended.count == kStalled && ended.last == "Cancelled" ? 0 : 1;
}
