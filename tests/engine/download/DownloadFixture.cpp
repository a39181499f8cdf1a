#include "DownloadFixture.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "tessel/Toolbox.h"

namespace fs = std::filesystem;

namespace dltest {

Recorder::Recorder(fetchcore::CDownloader& downloader)
    : downloader_(downloader), connection_(downloader.Connect(*this)) {}

void Recorder::StartDownload(const std::string& Cookie, const std::string& url) {
    sequence.push_back("start " + url);
    startedUrls.push_back(url);
    (void)Cookie;
}

void Recorder::Complete(const fetchcore::DownloadResult& Result) {
    sequence.push_back("complete " + Result.Cookie);
    completions.push_back({Result.Cookie, Result.Page.Bytes(), Result.IsSuccess, Result.ErrNumber,
                           Result.ErrDescription, Result.Exchange});
    busyInComplete.push_back(downloader_.IsDownloadingNow());
    if (onComplete) onComplete(completions.back());
}

const Completion* Recorder::Find(const std::string& cookie) const {
    for (const auto& c : completions) {
        if (c.cookie == cookie) return &c;
    }
    return nullptr;
}

Watchdog::Watchdog(std::chrono::seconds limit) {
    thread_ = std::thread([this, limit] {
        std::unique_lock lock(mutex_);
        if (!disarmed_.wait_for(lock, limit, [this] { return done_; })) {
            std::fprintf(stderr, "test still running after %llds: hung\n",
                         static_cast<long long>(limit.count()));
            std::abort();
        }
    });
}

Watchdog::~Watchdog() {
    {
        std::lock_guard lock(mutex_);
        done_ = true;
    }
    disarmed_.notify_all();
    thread_.join();
}

void DownloadTest::SetUp() {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    logFile_ = fs::temp_directory_path() / ("kes-download-" + std::to_string(::getpid()) + "-" +
                                            test->test_suite_name() + "-" + test->name() + ".log");
    fs::remove(logFile_);
    log_ = std::make_shared<tessel::Log>();
    log_->Open(logFile_.string());
    Use(Online());
}

void DownloadTest::TearDown() {
    recorder_.reset();
    downloader_.reset();
    fs::remove(logFile_);
}

fetchcore::DownloadSettings DownloadTest::Online(std::chrono::milliseconds timeout) {
    fetchcore::DownloadSettings settings;
    settings.timeout = timeout;
    settings.isOnline = [] { return true; };
    return settings;
}

void DownloadTest::Use(fetchcore::DownloadSettings settings) {
    recorder_.reset();
    service_ = std::make_shared<fetchcore::DownloadService>(std::move(settings));
    downloader_.emplace(service_);
    recorder_.emplace(*downloader_);
    downloader_->Init(log_);
    downloader_->ConcurrentDownloadSemaphoreName = tessel::Toolbox::NewID();
    downloader_->CancelEventName = tessel::Toolbox::NewID();
}

void DownloadTest::UseTimeout(std::chrono::milliseconds timeout) {
    Use(Online(timeout));
}

bool DownloadTest::PumpUntil(const std::function<bool()>& done) {
    return tessel::Toolbox::PumpMessagesUntil(done, std::chrono::seconds(30));
}

Completion DownloadTest::DownloadOne(const std::string& url, int32_t sizeB) {
    const auto cookie = downloader_->Download(url, sizeB);
    const bool arrived = PumpUntil([&] { return recorder_->Find(cookie) != nullptr; });
    EXPECT_TRUE(arrived) << "no Complete for " << url;
    return arrived ? *recorder_->Find(cookie) : Completion{};
}

std::string DownloadTest::LogText() const {
    std::ifstream in(logFile_);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::vector<LogLine> DownloadTest::LogLines() const {
    // time <TAB> thread <TAB> L<level> <TAB> number <TAB> source <TAB> message
    std::vector<LogLine> lines;
    std::istringstream in(LogText());
    for (std::string text; std::getline(in, text);) {
        std::vector<std::string> fields;
        std::size_t from = 0;
        for (int i = 0; i < 5; ++i) {
            const auto tab = text.find('\t', from);
            if (tab == std::string::npos) break;
            fields.push_back(text.substr(from, tab - from));
            from = tab + 1;
        }
        if (fields.size() != 5) continue;
        lines.push_back({std::stoi(fields[2].substr(1)), static_cast<int32_t>(std::stol(fields[3])),
                         fields[4], text.substr(from)});
    }
    return lines;
}

}  // namespace dltest
