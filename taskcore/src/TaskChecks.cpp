#include "taskcore/TaskChecks.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "fetchcore/BraveAddress.h"
#include "fetchcore/SearxngAddress.h"
#include "taskcore/ValReader.h"
#include "tessel/Text.h"

namespace kestrova {
namespace {

bool HasPagingParameter(const std::string& lowerUrl) {
    static constexpr std::array<std::string_view, 4> kPaging{
        "&num=", "?num=", "&start=", "?start="};
    return std::any_of(kPaging.begin(), kPaging.end(),
                       [&](std::string_view p) { return lowerUrl.find(p) != std::string::npos; });
}

bool InRange(int32_t value, int32_t low, int32_t high) {
    return value >= low && value <= high;
}

TaskCheckResult Fail(const char* message, TaskControl control) {
    return TaskCheckResult{std::nullopt, message, control};
}

// Keyword and URL checks; fills KW and SearchURL when they pass.
std::optional<TaskCheckResult> CheckSearch(const TaskFields& f, TaskValues& task) {
    const std::string keyword = std::string(tessel::TrimBlanks(f.keyword));
    const std::string url = std::string(tessel::TrimBlanks(f.searchUrl));
    if (keyword.empty()) return Fail(msg::kNoKeyword, TaskControl::Keyword);
    const std::string lowerUrl = tessel::LowerAscii(url);
    // A SearXNG instance and the Brave Search API serve results by their JSON APIs.
    if (lowerUrl.find("google") == std::string::npos && !fetchcore::IsSearxngAddress(url) &&
        !fetchcore::IsBraveAddress(url))
        return Fail(msg::kNotGoogle, TaskControl::SearchURL);
    if (HasPagingParameter(lowerUrl)) return Fail(msg::kPagingInUrl, TaskControl::SearchURL);
    task.KW = keyword;
    task.SearchURL = url;
    return std::nullopt;
}

// Range and page-size checks; fills the three numbers when they pass.
std::optional<TaskCheckResult> CheckNumbers(const TaskFields& f, TaskValues& task) {
    const int32_t from = ValToInt32(f.resultsFrom);
    const int32_t to = ValToInt32(f.resultsTo);
    const int32_t perPage = ValToInt32(f.resultsPerPage);
    if (!InRange(from, 1, 999)) return Fail(msg::kBadRange, TaskControl::ResultsFrom);
    if (!InRange(to, 1, 999)) return Fail(msg::kBadRange, TaskControl::ResultsTo);
    if (from > to) return Fail(msg::kFromAfterTo, TaskControl::ResultsTo);
    if (!InRange(perPage, 1, 100)) return Fail(msg::kBadPerPage, TaskControl::ResultsPerPage);
    task.ResultsFrom = from;
    task.ResultsTo = to;
    task.ResultsPerPage = perPage;
    return std::nullopt;
}

// The folder is looked at only when pages are downloaded.
std::optional<TaskCheckResult> CheckPages(const TaskFields& f, TaskValues& task) {
    task.DownloadResultPages = f.downloadPages;
    if (!f.downloadPages) return std::nullopt;
    std::string folder = std::string(tessel::TrimBlanks(f.saveTo));
    if (folder.empty()) return Fail(msg::kNoFolder, TaskControl::SaveTo);
    task.SaveResultsToFolder = std::move(folder);
    task.SkipNonHTMLFiles = f.skipNonHtmlPages;
    return std::nullopt;
}

}  // namespace

TaskCheckResult CheckTask(const TaskFields& fields) {
    TaskValues task;
    for (auto check : {CheckSearch, CheckNumbers, CheckPages}) {
        if (auto failed = check(fields, task)) return *std::move(failed);
    }
    return TaskCheckResult{std::move(task), {}, TaskControl::None};
}

}  // namespace kestrova
