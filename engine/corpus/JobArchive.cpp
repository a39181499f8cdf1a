#include "corpus/JobArchive.h"

#include <filesystem>
#include <vector>

namespace fetchcore {
namespace {

std::string Version() {
    return std::to_string(KES_VERSION_MAJOR) + "." + std::to_string(KES_VERSION_MINOR) + "." +
           std::to_string(KES_VERSION_PATCH);
}

tessel::ComError FileFailure(const std::string& path, const std::string& reason) {
    return tessel::ComError(tessel::err::kFileError,
                            "Cannot write the WARC file '" + path + "': " + reason + ". ");
}

WarcFile Opened(const std::string& path) {
    try {
        return WarcFile(path);
    } catch (const tessel::ComError& e) {
        throw FileFailure(path, e.Description());
    }
}

std::string FolderOf(const std::string& path) {
    const auto folder = std::filesystem::path(path).parent_path();
    return folder.empty() ? std::string(".") : folder.string();
}

// The fields a request and its response share: one capture, one time, one peer.
WarcFields CaptureFields(const char* type, const std::string& id, const TappedExchange& exchange,
                         const std::string& warcinfoId) {
    WarcFields fields;
    fields.Add("WARC-Type", type);
    fields.Add("WARC-Record-ID", id);
    fields.Add("WARC-Date", UtcTimestamp(exchange.sentAt));
    fields.Add("WARC-Target-URI", exchange.url);
    if (!exchange.ip.empty()) fields.Add("WARC-IP-Address", exchange.ip);
    fields.Add("WARC-Warcinfo-ID", warcinfoId);
    // The block is in HTTP/1.1's syntax; this says what went over the wire.
    if (exchange.http2) fields.Add("WARC-Protocol", "h2");
    return fields;
}

}  // namespace

JobArchive::JobArchive(const std::string& path, const JobDescription& job)
    : file_(Opened(path)), spoolFolder_(FolderOf(path)), warcinfoId_(NewRecordId()) {
    WarcFields info;
    info.Add("software", "Kestrova/" + Version());
    info.Add("format", "WARC File Format 1.1");
    info.Add("conformsTo",
             "https://iipc.github.io/warc-specifications/specifications/warc-format/warc-1.1/");
    info.Add("keyword", job.keyword);
    info.Add("search-address", WithoutUserInfo(job.searchURL));
    const std::string& block = info.Text();
    WarcFields fields;
    fields.Add("WARC-Type", "warcinfo");
    fields.Add("WARC-Record-ID", warcinfoId_);
    fields.Add("WARC-Date", UtcTimestamp(std::chrono::system_clock::now()));
    fields.Add("WARC-Filename", std::filesystem::path(path).filename().string());
    fields.Add("Content-Type", "application/warc-fields");
    fields.Add("WARC-Block-Digest", Sha1Label(Sha1Of(block)));
    try {
        file_.Append({{fields.Header(static_cast<int64_t>(block.size())), block, nullptr}});
    } catch (const tessel::ComError& e) {
        throw FileFailure(path, e.Description());
    }
}

std::shared_ptr<ExchangeRecorder> JobArchive::NewRecorder() const {
    return std::make_shared<ExchangeRecorder>(spoolFolder_);
}

void JobArchive::Keep(const ExchangeRecorder& recorder) {
    if (!recorder.Failure().empty()) Fail(recorder.Failure());
    std::vector<WarcRecord> records;
    const auto& exchanges = recorder.Exchanges();
    for (std::size_t i = 0; i < exchanges.size(); ++i) {
        const TappedExchange& exchange = exchanges[i];
        // A request that got no answer before another took its place (libcurl sent it
        // again on a fresh connection) leaves nothing; only the last may end unanswered.
        if (!exchange.headWhole && i + 1 < exchanges.size()) continue;
        // An answer cut off in its head leaves the request alone: no response looks whole.
        const std::string responseId = exchange.headWhole ? NewRecordId() : std::string();
        WarcFields request = CaptureFields("request", NewRecordId(), exchange, warcinfoId_);
        if (!responseId.empty()) request.Add("WARC-Concurrent-To", responseId);
        request.Add("Content-Type", "application/http;msgtype=request");
        request.Add("WARC-Block-Digest", Sha1Label(Sha1Of(exchange.request)));
        records.push_back(
            {request.Header(static_cast<int64_t>(exchange.request.size())), exchange.request});
        if (responseId.empty()) continue;
        WarcFields response = CaptureFields("response", responseId, exchange, warcinfoId_);
        if (exchange.truncated) response.Add("WARC-Truncated", *exchange.truncated);
        response.Add("Content-Type", "application/http;msgtype=response");
        response.Add("WARC-Block-Digest", Sha1Label(exchange.blockDigest));
        response.Add("WARC-Payload-Digest", Sha1Label(exchange.payloadDigest));
        const int64_t length = static_cast<int64_t>(exchange.head.size()) + exchange.body.Size();
        records.push_back({response.Header(length), exchange.head, &exchange.body});
    }
    if (records.empty()) return;
    if (const auto failure = tessel::Trap([&] { file_.Append(records); })) {
        Fail(failure->Description());
    }
}

void JobArchive::Fail(const std::string& reason) {
    if (!failure_) failure_ = FileFailure(file_.Path(), reason);
}

}  // namespace fetchcore
