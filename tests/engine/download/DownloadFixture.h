#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "download/CDownloader.h"
#include "tessel/Log.h"

namespace dltest {

struct Completion {
    std::string cookie;
    std::string page;
    bool isSuccess = false;
    int32_t number = 0;
    std::string description;
    fetchcore::DownloadExchange exchange;
};

// Records a downloader's events in the order they were raised.
class Recorder : public fetchcore::CDownloaderEvents {
  public:
    explicit Recorder(fetchcore::CDownloader& downloader);

    void StartDownload(const std::string& Cookie, const std::string& url) override;
    void Complete(const fetchcore::DownloadResult& Result) override;

    const Completion* Find(const std::string& cookie) const;
    // Run inside Complete, after it is recorded (for handlers that start downloads).
    std::function<void(const Completion&)> onComplete;

    std::vector<std::string> sequence;  // "start <url>" and "complete <cookie>"
    std::vector<std::string> startedUrls;
    std::vector<Completion> completions;
    std::vector<bool> busyInComplete;  // IsDownloadingNow as each Complete saw it

  private:
    fetchcore::CDownloader& downloader_;
    tessel::EventSource<fetchcore::CDownloaderEvents>::Connection connection_;
};

// Ends the process when a test runs far past any reasonable time: a download wait has no
// time-out of its own, so a fault there would otherwise hang the run instead of failing it.
class Watchdog {
  public:
    explicit Watchdog(std::chrono::seconds limit);
    ~Watchdog();
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;

  private:
    std::mutex mutex_;
    std::condition_variable disarmed_;
    bool done_ = false;
    std::thread thread_;
};

struct LogLine {
    int level = -1;
    int32_t number = 0;
    std::string source;
    std::string message;  // as escaped in the file
};

// A downloader on a transfer loop of its own and fresh kernel-object names, a log in a
// temporary file, a machine that counts as online, and a test-sized time-out.
class DownloadTest : public ::testing::Test {
  protected:
    static constexpr std::chrono::milliseconds kTimeout{20'000};

    void SetUp() override;
    void TearDown() override;

    // A new downloader (and recorder) whose downloads run with `settings`.
    void Use(fetchcore::DownloadSettings settings);
    void UseTimeout(std::chrono::milliseconds timeout);
    static fetchcore::DownloadSettings Online(std::chrono::milliseconds timeout = kTimeout);
    // Pumps this thread's messages, sleeping between them, until `done` holds (asked after
    // each message); false after a generous deadline.
    static bool PumpUntil(const std::function<bool()>& done);
    // Starts one download and waits for its Complete.
    Completion DownloadOne(const std::string& url, int32_t sizeB = 0);
    std::vector<LogLine> LogLines() const;
    std::string LogText() const;

    std::filesystem::path logFile_;
    std::shared_ptr<tessel::Log> log_;
    Watchdog watchdog_{std::chrono::seconds(120)};
    std::shared_ptr<fetchcore::DownloadService> service_;
    std::optional<fetchcore::CDownloader> downloader_;
    std::optional<Recorder> recorder_;
};

}  // namespace dltest
