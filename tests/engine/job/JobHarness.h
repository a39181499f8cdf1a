#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "fetchcore/CSaver.h"
#include "platform/TransferLoop.h"
#include "serpdouble/SerpDouble.h"

namespace jobtest {

// Files of this process that have no name (a spooled body), in `folder`'s file system tree
// as the kernel names them: "<folder>/#<inode> (deleted)".
int UnnamedFilesIn(const std::filesystem::path& folder);

// Every event of a saver, as one line each, in arrival order.
struct Recorder : fetchcore::CSaverEvents {
    explicit Recorder(fetchcore::CSaver& saver) : connection(saver.Connect(*this)) {}
    void StartDownload() override { events.push_back("StartDownload"); }
    void Complete(bool ok, const std::string& d) override {
        events.push_back("Complete " + std::to_string(ok) + " " + d);
        ++completes;
    }
    void StartSavingPage(int32_t n, const std::string& url) override {
        events.push_back("StartSavingPage " + std::to_string(n) + " " + url);
    }
    void PageSkipped(int32_t n, const std::string& url) override {
        events.push_back("PageSkipped " + std::to_string(n) + " " + url);
    }
    void SavingPageComplete(const std::string& url, bool ok, const std::string& d) override {
        events.push_back("SavingPageComplete " + url + " " + std::to_string(ok) + " " + d);
    }
    void ResultList(const std::string& list) override { events.push_back("ResultList " + list); }
    void Waiting(int32_t seconds, const std::string& reason) override {
        events.push_back("Waiting " + std::to_string(seconds) + " " + reason);
    }
    void Warning(const std::string& text) override { events.push_back("Warning " + text); }

    // The events that begin with `prefix`, in order.
    std::vector<std::string> Starting(const std::string& prefix) const;

    tessel::EventSource<fetchcore::CSaverEvents>::Connection connection;
    std::vector<std::string> events;
    int completes = 0;
};

// The saver's transfer loop, which a test may tell to refuse every transfer after the first
// `allowed` (as a loop that cannot take more would), or to give transfers another time-out.
class HarnessQueue : public platform::TransferQueue {
  public:
    void Submit(platform::TransferRequest request, platform::TransferDone done) override;
    std::atomic<int> allowed{-1};                                                  // -1: no limit
    std::atomic<std::chrono::milliseconds> timeout{std::chrono::milliseconds(0)};  // 0: as asked
    // How long each request was told to wait in the queue, in the order submitted.
    std::vector<std::chrono::milliseconds> Delays() const;

  private:
    mutable std::mutex mutex_;
    std::vector<std::chrono::milliseconds> delays_;
    platform::TransferLoop loop_;
};

// A saver on the test thread, real save jobs, real downloads from a search-engine double
// on 127.0.0.1, and a temporary folder for the log and the saved pages.
class JobTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // The double's settings for a query with `total` results.
    static serpdouble::SerpDouble::Options Results(int total) {
        serpdouble::SerpDouble::Options options;
        options.totalResults = total;
        return options;
    }
    serpdouble::SerpDouble& StartDouble(serpdouble::SerpDouble::Options options);
    std::shared_ptr<fetchcore::CTask> Task(const std::string& kw, int32_t from, int32_t to,
                                           int32_t perPage) const;
    // The same, saving pages into Out() (given without its trailing "/").
    std::shared_ptr<fetchcore::CTask> PagesTask(const std::string& kw, int32_t from, int32_t to,
                                                int32_t perPage, bool skip = false) const;

    // Pumps the test thread's messages until `done` holds or 20 seconds have passed.
    bool PumpUntil(const std::function<bool()>& done);
    // Saves the task and pumps until its Complete has arrived.
    bool RunJob(const std::shared_ptr<fetchcore::CTask>& task);
    // Pumps until `count` bodies are spooled in `folder` (no message says so) or 20 seconds
    // have passed.
    bool PumpUntilSpooled(const std::filesystem::path& folder, int count);

    static fetchcore::DownloadSettings Settings(std::shared_ptr<platform::TransferQueue> queue);
    std::string Url(int result) const { return double_->PageURL(result); }
    std::string Out() const { return (dir_ / "out").string(); }
    std::filesystem::path SavedPage(const std::string& kw, int n, const std::string& url) const;
    static std::string ReadFile(const std::filesystem::path& path);
    std::string LogText() const { return ReadFile(dir_ / "job.log"); }
    std::vector<std::string> SearchTargets() const;

    std::filesystem::path dir_;
    std::unique_ptr<serpdouble::SerpDouble> double_;
    std::shared_ptr<tessel::Log> log_;
    std::shared_ptr<HarnessQueue> transfers_ = std::make_shared<HarnessQueue>();
    fetchcore::CSaver saver_{Settings(transfers_)};
    std::optional<Recorder> recorder_;
};

}  // namespace jobtest
