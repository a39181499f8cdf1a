#include "JobHarness.h"

#include <unistd.h>

#include <chrono>
#include <fstream>
#include <iterator>

#include "tessel/Toolbox.h"
#include "tessel/WorkerThread.h"

namespace fs = std::filesystem;

namespace jobtest {

int UnnamedFilesIn(const fs::path& folder) {
    int count = 0;
    for (const auto& fd : fs::directory_iterator("/proc/self/fd")) {
        std::error_code error;
        const auto target = fs::read_symlink(fd.path(), error).string();
        if (!error && target.starts_with(folder.string() + "/") && target.ends_with(" (deleted)"))
            ++count;
    }
    return count;
}

std::vector<std::string> Recorder::Starting(const std::string& prefix) const {
    std::vector<std::string> out;
    for (const auto& e : events) {
        if (e.starts_with(prefix)) out.push_back(e);
    }
    return out;
}

void HarnessQueue::Submit(platform::TransferRequest request, platform::TransferDone done) {
    if (allowed == 0) throw tessel::ComError(tessel::err::kCannotCreateObject, "No more transfers");
    if (allowed > 0) --allowed;
    if (const auto t = timeout.load(); t.count() > 0) request.timeout = t;
    {
        std::lock_guard lock(mutex_);
        delays_.push_back(request.delay);
    }
    loop_.Submit(std::move(request), std::move(done));
}

std::vector<std::chrono::milliseconds> HarnessQueue::Delays() const {
    std::lock_guard lock(mutex_);
    return delays_;
}

fetchcore::DownloadSettings JobTest::Settings(std::shared_ptr<platform::TransferQueue> queue) {
    fetchcore::DownloadSettings settings;
    settings.isOnline = [] { return true; };
    settings.transfers = std::move(queue);
    return settings;
}

void JobTest::SetUp() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    dir_ =
        fs::temp_directory_path() / ("kes-job-" + std::to_string(::getpid()) + "-" + info->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    log_ = std::make_shared<tessel::Log>();
    log_->Open((dir_ / "job.log").string());
    saver_.Init(log_);
    recorder_.emplace(saver_);
}

void JobTest::TearDown() {
    // A stalled answer is released by Stop, so every download ends and every thread joins.
    if (double_) double_->Stop();
    tessel::WorkerThread::JoinAll();
    fs::remove_all(dir_);
}

serpdouble::SerpDouble& JobTest::StartDouble(serpdouble::SerpDouble::Options options) {
    double_ = std::make_unique<serpdouble::SerpDouble>(std::move(options));
    double_->Start();
    return *double_;
}

std::shared_ptr<fetchcore::CTask> JobTest::Task(const std::string& kw, int32_t from, int32_t to,
                                                int32_t perPage) const {
    auto task = std::make_shared<fetchcore::CTask>();
    task->KW(kw);
    task->SearchURL(double_->SearchURL(kw));
    task->ResultsFrom(from);
    task->ResultsTo(to);
    task->ResultsPerPage(perPage);
    return task;
}

std::shared_ptr<fetchcore::CTask> JobTest::PagesTask(const std::string& kw, int32_t from,
                                                     int32_t to, int32_t perPage, bool skip) const {
    auto task = Task(kw, from, to, perPage);
    task->DownloadResultPages(true);
    task->SkipNonHTMLFiles(skip);
    task->SaveResultsToFolder(Out());
    return task;
}

bool JobTest::PumpUntil(const std::function<bool()>& done) {
    return tessel::Toolbox::PumpMessagesUntil(done, std::chrono::seconds(20));
}

bool JobTest::RunJob(const std::shared_ptr<fetchcore::CTask>& task) {
    const int before = recorder_->completes;
    saver_.Save(task);
    return PumpUntil([&] { return recorder_->completes > before; });
}

bool JobTest::PumpUntilSpooled(const fs::path& folder, int count) {
    // Looked for between short pumps: no message says that the file is there.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (UnnamedFilesIn(folder) != count && std::chrono::steady_clock::now() < deadline)
        tessel::Toolbox::PumpMessagesFor(std::chrono::milliseconds(10));
    return UnnamedFilesIn(folder) == count;
}

fs::path JobTest::SavedPage(const std::string& kw, int n, const std::string& url) const {
    return fs::path(Out()) / saver_.FileNameEncode(kw) / saver_.URL2FileName(n, url);
}

std::string JobTest::ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::vector<std::string> JobTest::SearchTargets() const {
    std::vector<std::string> out;
    for (const auto& r : double_->Requests()) {
        if (r.kind == serpdouble::PathKind::Search) out.push_back(r.target);
    }
    return out;
}

}  // namespace jobtest
