#pragma once

#include <chrono>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace kestrova::cli {

// Leads every message the program writes on standard error.
inline constexpr const char* kProgramPrefix = "kestrova-cli: ";

enum class OutputFormat { List, Tsv, Jsonl };

// What the command line asked for. Numbers stay texts: the task checks read them the way the
// task editor does, so both front ends refuse the same values with the same messages.
struct CliOptions {
    std::string keyword;                      // the KEYWORD argument
    std::optional<std::string> searchUrl;     // --url
    std::optional<std::string> searxng;       // --searxng: a SearXNG instance's base address
    bool brave = false;                       // --brave: the Brave Search API
    std::optional<std::string> keywordsFile;  // --keywords: one job a keyword; "-" is stdin
    std::chrono::milliseconds pause{0};       // --pause: between two keywords' jobs
    std::string from = "1";
    std::string to = "10";
    std::string perPage = "10";
    std::optional<std::string> downloadFolder;  // --download
    bool skipNonHtml = false;
    bool resume = false;
    bool manifest = false;                // --manifest
    std::optional<std::string> warcFile;  // --warc: one file for the whole run
    OutputFormat format = OutputFormat::List;
    std::optional<std::string> outputFile;
    std::optional<std::string> logFile;
    bool quiet = false;
    bool help = false;
    bool version = false;
};

// A command line that cannot be used; the message says why.
class UsageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// A task field the task checks refuse; the message is the check's own.
class RefusedField : public UsageError {
  public:
    using UsageError::UsageError;
};

// Reads the arguments after the program name. Throws UsageError.
CliOptions ParseArguments(const std::vector<std::string>& args);

std::string UsageText();
std::string VersionText();

}  // namespace kestrova::cli
