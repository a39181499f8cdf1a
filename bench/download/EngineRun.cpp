#include "EngineRun.h"

#include <chrono>

#include "download/CDownloader.h"
#include "tessel/Toolbox.h"

namespace dlbench {
namespace {

class Tally : public fetchcore::CDownloaderEvents {
  public:
    explicit Tally(std::size_t pageSize) : pageSize_(pageSize) {}
    void Complete(const fetchcore::DownloadResult& Result) override {
        ++done;
        if (!Result.IsSuccess || Result.Page.Size() != static_cast<int64_t>(pageSize_)) ++failures;
    }
    std::size_t done = 0;
    int failures = 0;

  private:
    std::size_t pageSize_;
};

int FetchAll(const std::vector<std::string>& urls, std::size_t pageSize,
             std::shared_ptr<tessel::Log> log) {
    fetchcore::CDownloader downloader(
        std::make_shared<fetchcore::DownloadService>(fetchcore::DownloadSettings{}));
    Tally tally(pageSize);
    auto connection = downloader.Connect(tally);
    downloader.Init(std::move(log));
    downloader.ConcurrentDownloadSemaphoreName = tessel::Toolbox::NewID();
    downloader.CancelEventName = tessel::Toolbox::NewID();
    for (const auto& url : urls) downloader.Download(url, 0);
    while (tally.done < urls.size()) tessel::Toolbox::WaitAndPumpMessages();
    return tally.failures;
}

}  // namespace

Usage RunEngine(const std::vector<std::string>& urls, std::size_t pageSize,
                const std::string& logFile) {
    auto log = std::make_shared<tessel::Log>();
    log->Open(logFile);
    rusage before{};
    getrusage(RUSAGE_SELF, &before);
    const auto start = std::chrono::steady_clock::now();
    Usage result;
    result.failures = FetchAll(urls, pageSize, log);
    const auto wall = std::chrono::steady_clock::now() - start;
    rusage after{};
    getrusage(RUSAGE_SELF, &after);
    result.wallMs = std::chrono::duration<double, std::milli>(wall).count();
    result.cpuMs = CpuMs(after) - CpuMs(before);
    result.peakKb = after.ru_maxrss;
    return result;
}

}  // namespace dlbench
