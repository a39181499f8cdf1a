#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace kestrova::cli {

enum class ResultState { Listed, Skipped, Downloading, Complete, Failed };

// One result as the job left it. `n` is missing only when the job never reported the
// result by number (a page whose download could not even be started).
struct ResultRow {
    std::optional<int32_t> n;
    std::string url;
    ResultState state = ResultState::Listed;
    std::string detail;  // the saved file for Complete, the error for Failed
};

// The state texts of the output; a result the job listed but never reported on again has
// no state of its own and shows as Failed (see ResultTable::Rows).
const char* StateName(ResultState state);

// Collects the saver's events of one job into one row per result, in result order.
class ResultTable {
  public:
    // Where a page of result number N and address url was saved.
    using SavedPath = std::function<std::string(int32_t N, const std::string& url)>;

    explicit ResultTable(SavedPath savedPath);

    void ResultList(const std::string& list);
    void PageSkipped(int32_t N, const std::string& url);
    void StartSavingPage(int32_t N, const std::string& url);
    void SavingPageComplete(const std::string& url, bool IsSuccess,
                            const std::string& ErrDescription);

    // The rows in the order of the result list.
    std::vector<ResultRow> Rows() const;

  private:
    ResultRow& Entry(const std::string& url);

    SavedPath savedPath_;
    std::vector<std::string> order_;
    std::map<std::string, ResultRow> byUrl_;
};

}  // namespace kestrova::cli
