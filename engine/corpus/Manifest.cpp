#include "corpus/Manifest.h"

#include <simdjson.h>

#include <fstream>

#include "corpus/WarcRecord.h"
#include "tessel/Digest.h"
#include "tessel/Error.h"
#include "tessel/JsonText.h"
#include "tessel/Toolbox.h"

namespace fetchcore {
namespace {

constexpr const char* kNull = "null";

std::string Json(const std::optional<std::string>& text) {
    return text ? tessel::JsonString(*text) : kNull;
}

template <class Number>
std::string Json(const std::optional<Number>& number) {
    return number ? std::to_string(*number) : kNull;
}

std::optional<std::string> Given(const std::string& text) {
    return text.empty() ? std::nullopt : std::optional(text);
}

// The size and SHA-256 of a file already on disk, read in pieces; nothing when it cannot
// be read.
std::optional<std::pair<int64_t, std::string>> MeasureFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    tessel::Digest digest(tessel::Digest::Algorithm::Sha256);
    std::string piece(64 * 1024, '\0');
    int64_t size = 0;
    while (in.read(piece.data(), static_cast<std::streamsize>(piece.size())) || in.gcount() > 0) {
        digest.Update({piece.data(), static_cast<std::size_t>(in.gcount())});
        size += in.gcount();
    }
    if (in.bad()) return std::nullopt;
    return std::pair(size, tessel::Hex(digest.Value()));
}

}  // namespace

ManifestEntry FetchedEntry(int32_t position, const std::string& url, const DownloadResult& result,
                           const std::optional<std::string>& file, const std::string& error) {
    const DownloadExchange& exchange = result.Exchange;
    ManifestEntry entry{position, url, file ? "Complete" : "Failed"};
    entry.file = file;
    if (exchange.Status != 0) entry.status = exchange.Status;
    entry.finalUrl = Given(exchange.FinalURL);
    entry.contentType = Given(exchange.ContentType);
    if (exchange.ReceivedAt != std::chrono::system_clock::time_point{}) {
        entry.fetchedAt = exchange.ReceivedAt;
    }
    if (file) {
        entry.bytes = result.Page.Size();
        entry.sha256 = Given(tessel::Hex(result.Page.Sha256()));
    } else {
        entry.error = error;
    }
    return entry;
}

std::string ManifestLine(const ManifestEntry& e) {
    const std::optional<std::string> fetchedAt =
        e.fetchedAt ? std::optional(UtcTimestamp(*e.fetchedAt)) : std::nullopt;
    return "{\"position\":" + std::to_string(e.position) + ",\"url\":" + tessel::JsonString(e.url) +
           ",\"state\":" + tessel::JsonString(e.state) + ",\"file\":" + Json(e.file) +
           ",\"status\":" + Json(e.status) + ",\"final_url\":" + Json(e.finalUrl) +
           ",\"content_type\":" + Json(e.contentType) + ",\"bytes\":" + Json(e.bytes) +
           ",\"sha256\":" + Json(e.sha256) + ",\"fetched_at\":" + Json(fetchedAt) +
           ",\"error\":" + Json(e.error) + ",\"title\":" + Json(e.title) +
           ",\"snippet\":" + Json(e.snippet) + "}\n";
}

void Manifest::ReadEarlier() {
    std::ifstream in(folder_ + kFileName, std::ios::binary);
    simdjson::dom::parser parser;
    for (std::string line; std::getline(in, line);) {
        // A line that is not one of ours is passed over: its page is measured again.
        simdjson::dom::object object;
        std::string_view state, file;
        if (parser.parse(line).get_object().get(object) || object["state"].get(state) ||
            object["file"].get(file) || state != "Complete") {
            continue;
        }
        earlier_[std::string(file)] = line + "\n";
    }
}

void Manifest::Describe(int32_t position, std::string title, std::string snippet) {
    described_[position] = {std::move(title), std::move(snippet)};
}

void Manifest::Add(const ManifestEntry& entry) {
    const auto described = described_.find(entry.position);
    if (described == described_.end()) {
        lines_[entry.position] = ManifestLine(entry);
        return;
    }
    ManifestEntry told = entry;
    told.title = Given(described->second.first);
    told.snippet = Given(described->second.second);
    lines_[entry.position] = ManifestLine(told);
}

void Manifest::AddKept(ManifestEntry entry) {
    if (const auto earlier = earlier_.find(entry.file.value_or("")); earlier != earlier_.end()) {
        lines_[entry.position] = earlier->second;
        return;
    }
    if (const auto measured = MeasureFile(folder_ + entry.file.value_or(""))) {
        entry.bytes = measured->first;
        entry.sha256 = measured->second;
    }
    Add(entry);
}

void Manifest::Write() const {
    std::string text;
    for (const auto& [position, line] : lines_) text += line;
    tessel::FileTools::WriteTextFile(folder_ + kFileName, text);
}

}  // namespace fetchcore
