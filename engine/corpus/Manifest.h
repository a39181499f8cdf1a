#pragma once

#include <chrono>
#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "boundary/DownloadResult.h"

namespace fetchcore {

// One result's line of a manifest; what is missing is written as null.
struct ManifestEntry {
    int32_t position = 0;
    std::string url;
    std::string state;                  // as the progress list shows it: "Complete", ...
    std::optional<std::string> file{};  // the saved file's name within the folder
    std::optional<int> status{};
    std::optional<std::string> finalUrl{};
    std::optional<std::string> contentType{};
    std::optional<int64_t> bytes{};
    std::optional<std::string> sha256{};  // hex
    std::optional<std::chrono::system_clock::time_point> fetchedAt{};
    std::optional<std::string> error{};
    std::optional<std::string> title{};
    std::optional<std::string> snippet{};
};

// The entry of a result that was fetched: what its exchange showed and, when its page was
// saved as `file`, the page's size and SHA-256 (as the body arrived) and no error.
ManifestEntry FetchedEntry(int32_t position, const std::string& url, const DownloadResult& result,
                           const std::optional<std::string>& file, const std::string& error);

// One JSON object with the keys in their fixed order, and a line break.
std::string ManifestLine(const ManifestEntry& entry);

// A keyword folder's manifest.jsonl: a line for every result of the job, in position
// order, gathered while the job runs and written whole when it ends.
class Manifest {
  public:
    static constexpr const char* kFileName = "manifest.jsonl";

    // `folder` ends in "/".
    explicit Manifest(std::string folder) : folder_(std::move(folder)) {}

    // Keeps the lines that an earlier run's manifest gave its saved pages.
    void ReadEarlier();
    // What the source told of the result at `position`; its line carries it (empty: null).
    void Describe(int32_t position, std::string title, std::string snippet);
    void Add(const ManifestEntry& entry);
    // A page an earlier run saved under entry.file: its earlier line when there is one,
    // else the entry with the file's size and SHA-256.
    void AddKept(ManifestEntry entry);
    // Writes the file under a temporary name and renames it into place. Throws
    // ComError(err::kFileError).
    void Write() const;

  private:
    std::string folder_;
    std::map<int32_t, std::string> lines_;        // by position
    std::map<std::string, std::string> earlier_;  // saved file -> its earlier line
    std::map<int32_t, std::pair<std::string, std::string>> described_;  // title, snippet
};

}  // namespace fetchcore
