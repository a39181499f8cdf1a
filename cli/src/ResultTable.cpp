#include "ResultTable.h"

namespace kestrova::cli {

namespace {
constexpr const char* kNeverStarted = "The download could not be started.";
}

const char* StateName(ResultState state) {
    switch (state) {
        case ResultState::Skipped:
            return "Skipped";
        case ResultState::Downloading:
            return "Downloading";
        case ResultState::Complete:
            return "Complete";
        case ResultState::Listed:
        case ResultState::Failed:
            break;
    }
    return "Failed";
}

ResultTable::ResultTable(SavedPath savedPath) : savedPath_(std::move(savedPath)) {}

ResultRow& ResultTable::Entry(const std::string& url) {
    auto [it, added] = byUrl_.try_emplace(url);
    if (added) it->second.url = url;
    return it->second;
}

void ResultTable::ResultList(const std::string& list) {
    // Every address ends in CR LF, the last one included.
    order_.clear();
    std::size_t start = 0;
    for (auto end = list.find("\r\n"); end != std::string::npos; end = list.find("\r\n", start)) {
        order_.push_back(list.substr(start, end - start));
        start = end + 2;
    }
    if (start < list.size()) order_.push_back(list.substr(start));
    for (const auto& url : order_) Entry(url);
}

void ResultTable::PageSkipped(int32_t N, const std::string& url) {
    auto& row = Entry(url);
    row.n = N;
    row.state = ResultState::Skipped;
}

void ResultTable::StartSavingPage(int32_t N, const std::string& url) {
    auto& row = Entry(url);
    row.n = N;
    row.state = ResultState::Downloading;
}

void ResultTable::SavingPageComplete(const std::string& url, bool IsSuccess,
                                     const std::string& ErrDescription) {
    auto& row = Entry(url);
    row.state = IsSuccess ? ResultState::Complete : ResultState::Failed;
    row.detail = ErrDescription;
    if (IsSuccess) row.detail = row.n ? savedPath_(*row.n, url) : std::string();
}

std::vector<ResultRow> ResultTable::Rows() const {
    std::vector<ResultRow> rows;
    rows.reserve(order_.size());
    for (const auto& url : order_) {
        ResultRow row = byUrl_.at(url);
        if (row.state == ResultState::Listed) {
            // The job drops a page whose download cannot start without a word; say so
            // rather than pass it off as saved or skipped.
            row.state = ResultState::Failed;
            row.detail = kNeverStarted;
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

}  // namespace kestrova::cli
