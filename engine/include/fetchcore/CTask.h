#pragma once

#include <cstdint>
#include <mutex>
#include <string>

#include "fetchcore/Export.h"
#include "tessel/Object.h"

namespace fetchcore {

// The parameters of one harvesting job. Stores values only; checks nothing. Created on
// the window's thread and read by the job's thread, so every access is one locked call.
class FETCHCORE_EXPORT CTask : public tessel::Object {
  public:
    std::string SearchURL() const { return Get(searchURL_); }
    void SearchURL(std::string v) { Set(searchURL_, std::move(v)); }
    std::string KW() const { return Get(kw_); }
    void KW(std::string v) { Set(kw_, std::move(v)); }
    int32_t ResultsFrom() const { return Get(resultsFrom_); }
    void ResultsFrom(int32_t v) { Set(resultsFrom_, v); }
    int32_t ResultsTo() const { return Get(resultsTo_); }
    void ResultsTo(int32_t v) { Set(resultsTo_, v); }
    int32_t ResultsPerPage() const { return Get(resultsPerPage_); }
    void ResultsPerPage(int32_t v) { Set(resultsPerPage_, v); }
    bool DownloadResultPages() const { return Get(downloadResultPages_); }
    void DownloadResultPages(bool v) { Set(downloadResultPages_, v); }
    bool SkipNonHTMLFiles() const { return Get(skipNonHTMLFiles_); }
    void SkipNonHTMLFiles(bool v) { Set(skipNonHTMLFiles_, v); }
    std::string SaveResultsToFolder() const { return Get(saveResultsToFolder_); }
    void SaveResultsToFolder(std::string v) { Set(saveResultsToFolder_, std::move(v)); }
    // When true, a page whose file is already in the keyword's folder under its final name
    // is kept instead of fetched again, so a stopped job can be run again to finish it.
    bool Resume() const { return Get(resume_); }
    void Resume(bool v) { Set(resume_, v); }
    // The key of the search API the address calls for (the Brave Search API's subscription
    // token), and where it came from ("KESTROVA_BRAVE_KEY", a file's path) for the message
    // that it was refused. The key is sent to that API only and written nowhere.
    std::string SearchApiKey() const { return Get(searchApiKey_); }
    void SearchApiKey(std::string v) { Set(searchApiKey_, std::move(v)); }
    std::string SearchApiKeyOrigin() const { return Get(searchApiKeyOrigin_); }
    void SearchApiKeyOrigin(std::string v) { Set(searchApiKeyOrigin_, std::move(v)); }
    // When true (and pages are saved), the keyword's folder gets manifest.jsonl: a line for
    // every result, written whole when the job ends.
    bool Manifest() const { return Get(manifest_); }
    void Manifest(bool v) { Set(manifest_, v); }
    // A WARC file the job appends every HTTP exchange to, after a warcinfo record of its own
    // ("" for none); a name ending in ".gz" gets each record as a gzip member.
    std::string WarcFile() const { return Get(warcFile_); }
    void WarcFile(std::string v) { Set(warcFile_, std::move(v)); }

  private:
    template <class T>
    T Get(const T& field) const {
        std::lock_guard guard(lock_);
        return field;
    }
    template <class T>
    void Set(T& field, T value) {
        std::lock_guard guard(lock_);
        field = std::move(value);
    }

    mutable std::mutex lock_;
    std::string searchURL_;
    std::string kw_;
    int32_t resultsFrom_ = 0;
    int32_t resultsTo_ = 0;
    int32_t resultsPerPage_ = 0;
    bool downloadResultPages_ = false;
    bool skipNonHTMLFiles_ = false;
    std::string saveResultsToFolder_;
    bool resume_ = false;
    std::string searchApiKey_;
    std::string searchApiKeyOrigin_;
    bool manifest_ = false;
    std::string warcFile_;
};

}  // namespace fetchcore
