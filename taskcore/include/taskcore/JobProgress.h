#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace kestrova {

// What became of one result of a save job.
enum class ResultState { Skipped, Downloading, Complete, Failed };
inline constexpr int kResultStateCount = 4;

// "Skipped", "Downloading", "Complete" or "Failed", as the progress list and the command
// line's table name the state.
const char* StateName(ResultState state);

struct ResultRow {
    // Missing only for a listed result the job never reported on (see ListedRows).
    std::optional<int32_t> n;
    std::string url;
    ResultState state = ResultState::Downloading;
    std::string detail;  // the error for Failed, the saved file for Complete, else empty
};

// Hears of every change to the rows, before and after it is made, as an item model must.
class JobProgressListener {
  public:
    virtual void RowsAboutToBeCleared() = 0;
    virtual void RowsCleared() = 0;
    virtual void RowAboutToBeAdded(std::size_t index) = 0;
    virtual void RowAdded() = 0;
    virtual void RowChanged(std::size_t index) = 0;

  protected:
    ~JobProgressListener() = default;
};

// The state of every result of one save job, from the saver's events, for the window's
// progress list and the command line's table alike. A row stands for each page the job
// reports (skipped, or being saved), in the order reported; the job reports them in result
// order. Addresses are keys compared exactly.
class JobProgress {
  public:
    // Where the page of result N from `url` is saved.
    using SavedPathRule = std::function<std::string(int32_t N, const std::string& url)>;

    explicit JobProgress(SavedPathRule savedPath);
    JobProgress(const JobProgress&) = delete;
    JobProgress& operator=(const JobProgress&) = delete;

    // At most one listener, which must outlive its place here (nullptr: none).
    void SetListener(JobProgressListener* listener) { listener_ = listener; }

    // A new job: no rows and no list.
    void Clear();
    // A second report of one address throws tessel::ComError (duplicate key) and changes
    // nothing: the job reports each result once.
    void PageSkipped(int32_t N, const std::string& url);
    void StartSavingPage(int32_t N, const std::string& url);
    // An address without a row throws tessel::ComError and changes nothing.
    void SavingPageComplete(const std::string& url, bool IsSuccess,
                            const std::string& ErrDescription);
    // The job's result list: every address followed by CR LF.
    void ResultList(const std::string& list);

    // The reported rows, in the order reported.
    const std::vector<ResultRow>& Rows() const { return rows_; }
    std::size_t ListedCount() const { return listed_.size(); }
    // One row per listed result, in list order, for the job's finished table. A result the
    // job listed but never reported on is Failed: its download could not start.
    std::vector<ResultRow> ListedRows() const;

    // Where the row's page is saved (or would be), by the rule as it stands now; empty for a
    // row without a number.
    std::string SavedFile(const ResultRow& row) const;

  private:
    void Add(int32_t N, const std::string& url, ResultState state);

    SavedPathRule savedPath_;
    JobProgressListener* listener_ = nullptr;
    std::vector<ResultRow> rows_;
    std::unordered_map<std::string, std::size_t> indexByUrl_;
    std::vector<std::string> listed_;
};

}  // namespace kestrova
