#include "EngineWarnings.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "fetchcore/SourceWarnings.h"

namespace kestrova::cli {
namespace {

// The message of a log line (time, thread, level, number, source, message) written under
// `source`, or nothing.
std::optional<std::string> MessageUnder(const std::string& line, const std::string& source) {
    std::size_t field = 0;
    for (int i = 0; i < 4 && field != std::string::npos; ++i) field = line.find('\t', field + 1);
    if (field == std::string::npos) return std::nullopt;
    const std::size_t end = line.find('\t', field + 1);
    if (end == std::string::npos || line.compare(field + 1, end - field - 1, source) != 0)
        return std::nullopt;
    return line.substr(end + 1);
}

}  // namespace

EngineWarnings::EngineWarnings(std::string logFile) : logFile_(std::move(logFile)) {
    std::error_code error;
    const auto size = std::filesystem::file_size(logFile_, error);
    start_ = error ? 0 : size;
}

std::optional<std::string> EngineWarnings::Unresponsive() const {
    std::ifstream in(logFile_, std::ios::binary);
    if (!in || logFile_.empty()) return std::nullopt;
    in.seekg(static_cast<std::streamoff>(start_));
    const std::string marker = fetchcore::kUnresponsiveWarning;
    std::vector<std::string> engines;
    for (std::string line; std::getline(in, line);) {
        const auto message = MessageUnder(line, fetchcore::kUnresponsiveSource);
        if (!message) continue;
        const std::size_t at = message->find(marker);
        if (at == std::string::npos) continue;
        std::string named = message->substr(at + marker.size());
        // Every page names them again; the user hears of each list once.
        if (std::find(engines.begin(), engines.end(), named) == engines.end())
            engines.push_back(std::move(named));
    }
    if (engines.empty()) return std::nullopt;
    std::ostringstream text;
    text << marker;
    for (std::size_t i = 0; i < engines.size(); ++i) text << (i ? "; " : "") << engines[i];
    return text.str();
}

}  // namespace kestrova::cli
