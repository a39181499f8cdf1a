#include "taskcore/JobProgress.h"

#include "tessel/Error.h"

namespace kestrova {

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
        case ResultState::Failed:
            break;
    }
    return "Failed";
}

JobProgress::JobProgress(SavedPathRule savedPath) : savedPath_(std::move(savedPath)) {}

void JobProgress::Clear() {
    if (listener_) listener_->RowsAboutToBeCleared();
    rows_.clear();
    indexByUrl_.clear();
    listed_.clear();
    if (listener_) listener_->RowsCleared();
}

void JobProgress::Add(int32_t N, const std::string& url, ResultState state) {
    if (indexByUrl_.contains(url))
        throw tessel::ComError(tessel::err::kDuplicateKey, "Key is not unique in collection");
    const std::size_t index = rows_.size();
    if (listener_) listener_->RowAboutToBeAdded(index);
    rows_.push_back({N, url, state, {}});
    indexByUrl_.emplace(url, index);
    if (listener_) listener_->RowAdded();
}

void JobProgress::PageSkipped(int32_t N, const std::string& url) {
    Add(N, url, ResultState::Skipped);
}

void JobProgress::StartSavingPage(int32_t N, const std::string& url) {
    Add(N, url, ResultState::Downloading);
}

void JobProgress::SavingPageComplete(const std::string& url, bool IsSuccess,
                                     const std::string& ErrDescription) {
    const auto found = indexByUrl_.find(url);
    if (found == indexByUrl_.end())
        throw tessel::ComError(tessel::err::kInvalidArgument, "Element not found");
    ResultRow& row = rows_[found->second];
    row.state = IsSuccess ? ResultState::Complete : ResultState::Failed;
    row.detail = IsSuccess ? SavedFile(row) : ErrDescription;
    if (listener_) listener_->RowChanged(found->second);
}

void JobProgress::ResultList(const std::string& list) {
    listed_.clear();
    std::size_t start = 0;
    for (auto end = list.find("\r\n"); end != std::string::npos; end = list.find("\r\n", start)) {
        listed_.push_back(list.substr(start, end - start));
        start = end + 2;
    }
    if (start < list.size()) listed_.push_back(list.substr(start));
}

std::vector<ResultRow> JobProgress::ListedRows() const {
    std::vector<ResultRow> rows;
    rows.reserve(listed_.size());
    for (const auto& url : listed_) {
        const auto found = indexByUrl_.find(url);
        if (found != indexByUrl_.end())
            rows.push_back(rows_[found->second]);
        else  // the job drops a page whose download cannot start without a word: say so
            rows.push_back({std::nullopt, url, ResultState::Failed, kNeverStarted});
    }
    return rows;
}

std::string JobProgress::SavedFile(const ResultRow& row) const {
    return row.n && savedPath_ ? savedPath_(*row.n, row.url) : std::string();
}

}  // namespace kestrova
