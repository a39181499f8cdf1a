#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace kestrova {

// The task editor's fields as the user left them: raw texts and check-box states.
struct TaskFields {
    std::string keyword;
    std::string searchUrl;
    std::string resultsFrom;
    std::string resultsTo;
    std::string resultsPerPage;
    bool downloadPages = true;
    bool skipNonHtmlPages = true;
    std::string saveTo;
};

// The values of a task record once the fields passed every check. Folder and skip flag keep
// their defaults unless pages are downloaded.
struct TaskValues {
    std::string SearchURL;
    std::string KW;
    int32_t ResultsFrom = 0;
    int32_t ResultsTo = 0;
    int32_t ResultsPerPage = 0;
    bool DownloadResultPages = false;
    bool SkipNonHTMLFiles = false;
    std::string SaveResultsToFolder;
    bool Resume = false;  // no field of the editor: set by the caller that offers it
    // The search API's key and where it came from, for an address that needs one: set by the
    // caller from where it keeps keys, never from a field, and never saved with the fields.
    std::string SearchApiKey;
    std::string SearchApiKeyOrigin;
    // The harvest as a corpus: the folder's manifest and a WARC file ("" for none); set by
    // the caller that offers them.
    bool Manifest = false;
    std::string WarcFile;
};

// The field a failed check concerns, so the editor can focus its control.
enum class TaskControl { None, Keyword, SearchURL, ResultsFrom, ResultsTo, ResultsPerPage, SaveTo };

namespace msg {
inline constexpr const char* kNoKeyword = "Please enter keyword.";
inline constexpr const char* kNotGoogle = "Invalid search URL. Please enter Google URL.";
inline constexpr const char* kPagingInUrl =
    "Invalid search URL. Please remove pagination parameters \"num\" and/or \"start\".";
inline constexpr const char* kBadRange =
    "Invalid result range. Please type a number in the range from 1 to 999.";
inline constexpr const char* kFromAfterTo = "Invalid result range. ";
inline constexpr const char* kBadPerPage =
    "Invalid result per page value. Please type a number in the range from 1 to 100.";
inline constexpr const char* kNoFolder = "Invalid output folder. Please enter correct folder name.";
// Shown when a task could not be built although no check failed.
inline constexpr const char* kInvalidParameters = "Invalid parameters. Please correct the task.";
}  // namespace msg

// Either the task (falseCause empty, setFocusTo None) or the first failed check.
struct TaskCheckResult {
    std::optional<TaskValues> task;
    std::string falseCause;
    TaskControl setFocusTo = TaskControl::None;
};

// Runs the field checks in the editor's order and stops at the first that fails.
TaskCheckResult CheckTask(const TaskFields& fields);

}  // namespace kestrova
