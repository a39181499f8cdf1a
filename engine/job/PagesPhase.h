#pragma once

#include <cstdint>
#include <string>

#include "download/CDownloader.h"
#include "job/JobContext.h"
#include "tessel/KeyedCollection.h"

namespace fetchcore {

// The second phase of a save job: downloads every collected result page (or reports it
// skipped) and writes each into the keyword's folder as it arrives. The job completes
// once every started download has ended.
class PagesPhase : private CDownloaderEvents {
  public:
    explicit PagesPhase(JobContext& job);
    PagesPhase(const PagesPhase&) = delete;
    PagesPhase& operator=(const PagesPhase&) = delete;
    ~PagesPhase() = default;

    // Issues every page in result order, letting earlier pages complete in between.
    void Run();

  private:
    // moPagesDownloader_Complete
    void Complete(const DownloadResult& Result) override;
    void Issue(const std::string& url, int32_t n);
    void PageEnded(const DownloadResult& result);
    // With the task's Resume on, reports a page already saved under its final name as saved,
    // without a request. True when it did.
    bool KeepSavedPage(const std::string& url) const;
    std::string SavedPath(const std::string& url) const;
    void Write(const std::string& url, const platform::ResponseBody& page) const;
    // Gives the result its manifest line, when the job keeps a manifest.
    void Note(const ManifestEntry& entry) const;
    void ApplyCompletionRule();

    JobContext& job_;
    CDownloader moPagesDownloader_;
    tessel::EventSource<CDownloaderEvents>::Connection connection_;
    tessel::KeyedCollection pending_;  // download cookie -> URL
    std::string folder_;               // where the pages go, "/" at its end
    bool allIssued_ = false;
};

}  // namespace fetchcore
