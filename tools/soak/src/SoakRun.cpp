#include "soak/SoakRun.h"

#include <unistd.h>

#include <fstream>
#include <functional>

#include "tessel/Toolbox.h"

namespace fs = std::filesystem;

namespace soak {
namespace {

constexpr std::chrono::seconds kJobDeadline{120};
constexpr std::chrono::seconds kSettleDeadline{10};

int Entries(const char* folder) {
    std::error_code ec;
    int count = 0;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) ++count;
    return count;
}

serpdouble::SerpDouble::Options DoubleFor(int pages, std::chrono::milliseconds latency) {
    serpdouble::SerpDouble::Options options;
    options.totalResults = pages;
    options.latency = latency;
    return options;
}

bool PumpUntil(const std::function<bool()>& done, std::chrono::seconds limit = kJobDeadline) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!done() && std::chrono::steady_clock::now() < deadline) {
        tessel::Toolbox::PumpMessagesFor(std::chrono::milliseconds(5));
    }
    return done();
}

}  // namespace

Gauge Measure() {
    Gauge gauge;
    std::ifstream statm("/proc/self/statm");
    long size = 0, resident = 0;
    statm >> size >> resident;
    gauge.residentKiB = resident * (::sysconf(_SC_PAGESIZE) / 1024);
    // Less one: the descriptor the listing itself holds open while it counts.
    gauge.descriptors = Entries("/proc/self/fd") - 1;
    gauge.threads = Entries("/proc/self/task");
    return gauge;
}

SoakRun::SoakRun(fs::path folder, int pages, std::chrono::milliseconds latency)
    : folder_(std::move(folder)),
      pages_(pages),
      double_(DoubleFor(pages, latency)),
      log_(std::make_shared<tessel::Log>()),
      connection_(saver_.Connect(*this)) {
    fs::create_directories(folder_);
    double_.Start();
    log_->Open((folder_ / "soak.log").string());
    saver_.Init(log_);
}

SoakRun::~SoakRun() {
    double_.Stop();
}

bool SoakRun::Run(int jobs) {
    const int target = completes_ + jobs;
    for (int i = 0; i < jobs; ++i) {
        auto task = std::make_shared<fetchcore::CTask>();
        task->KW("soak " + std::to_string(i));
        task->SearchURL(double_.SearchURL("soak"));
        task->ResultsFrom(1);
        task->ResultsTo(pages_);
        task->ResultsPerPage(100);
        task->DownloadResultPages(true);
        task->SaveResultsToFolder(folder_.string());
        saver_.Save(task);
    }
    return PumpUntil([&] { return completes_ >= target && !saver_.IsDownloadingNow(); }) &&
           failedJobs_ == 0;
}

Gauge SoakRun::Settle(const Gauge& level) {
    PumpUntil(
        [&] {
            const Gauge now = Measure();
            return now.descriptors <= level.descriptors && now.threads <= level.threads;
        },
        kSettleDeadline);
    return Measure();
}

void SoakRun::Complete(bool IsSuccess, const std::string&) {
    ++completes_;
    if (!IsSuccess) ++failedJobs_;
}

void SoakRun::SavingPageComplete(const std::string&, bool IsSuccess, const std::string&) {
    ++(IsSuccess ? saved_ : failed_);
}

}  // namespace soak
