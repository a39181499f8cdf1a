#pragma once

#include <chrono>
#include <filesystem>
#include <memory>

#include "fetchcore/CSaver.h"
#include "serpdouble/SerpDouble.h"
#include "tessel/Log.h"

namespace soak {

// What the process holds right now.
struct Gauge {
    long residentKiB = 0;
    int descriptors = 0;
    int threads = 0;
};

Gauge Measure();

// One saver on the calling thread running jobs of `pages` result pages each against a
// search-engine double on 127.0.0.1, saving into `folder`. Counts events only, so that
// the run itself does not grow with the number of jobs.
class SoakRun : private fetchcore::CSaverEvents {
  public:
    SoakRun(std::filesystem::path folder, int pages,
            std::chrono::milliseconds latency = std::chrono::milliseconds(0));
    ~SoakRun();
    SoakRun(const SoakRun&) = delete;
    SoakRun& operator=(const SoakRun&) = delete;

    // Starts `jobs` jobs at once and pumps until each has completed; false when they had
    // not after a generous deadline.
    bool Run(int jobs);
    // Pumps until descriptors and threads are back at `level` (or a deadline passed), then
    // measures.
    Gauge Settle(const Gauge& level);

    int Completes() const { return completes_; }
    int SavedPages() const { return saved_; }
    int FailedPages() const { return failed_; }
    bool Busy() const { return saver_.IsDownloadingNow(); }
    const serpdouble::SerpDouble& Double() const { return double_; }

  private:
    void Complete(bool IsSuccess, const std::string& ErrDescription) override;
    void SavingPageComplete(const std::string& url, bool IsSuccess,
                            const std::string& ErrDescription) override;

    std::filesystem::path folder_;
    int pages_;
    serpdouble::SerpDouble double_;
    std::shared_ptr<tessel::Log> log_;
    fetchcore::CSaver saver_;
    tessel::EventSource<fetchcore::CSaverEvents>::Connection connection_;
    int completes_ = 0;
    int failedJobs_ = 0;
    int saved_ = 0;
    int failed_ = 0;
};

}  // namespace soak
