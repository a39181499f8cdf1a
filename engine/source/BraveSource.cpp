#include "source/BraveSource.h"

#include <algorithm>

#include "download/DownloadErrors.h"
#include "fetchcore/SearxngAddress.h"
#include "source/BraveReader.h"
#include "source/SourceErrors.h"

namespace fetchcore {
namespace {

// Printable ASCII without blanks: anything else would break the header or show up in an
// error text.
bool IsSendableKey(const std::string& key) {
    return !key.empty() &&
           std::all_of(key.begin(), key.end(), [](char c) { return c > ' ' && c < 0x7F; });
}

// The API's own words, without the key should it ever echo it.
std::string WithoutKey(std::string text, const std::string& key) {
    if (key.empty()) return text;
    for (auto at = text.find(key); at != std::string::npos; at = text.find(key, at))
        text.replace(at, key.size(), "(the key)");
    return text;
}

}  // namespace

PageFetch BraveSource::Fetch() const {
    return PageFetch{
        0,
        kPageLimitB,
        {"X-Subscription-Token: " + key_, "Accept: application/json", "Cache-Control: no-cache"}};
}

std::optional<std::string> BraveSource::FirstPage() {
    const CTask& task = *job_.task;
    if (key_.empty()) {
        throw tessel::ComError(srcerr::kApiKey,
                               "The Brave Search API needs a key, and the task has none.");
    }
    if (!IsSendableKey(key_)) {
        const std::string origin = task.SearchApiKeyOrigin();
        throw tessel::ComError(srcerr::kApiKey,
                               "The key for the Brave Search API" +
                                   (origin.empty() ? "" : " from " + origin) +
                                   " holds blanks or characters a request header cannot carry.");
    }
    count_ = std::clamp(task.ResultsPerPage(), 1, kMaxCount);
    offset_ = (std::max(task.ResultsFrom(), 1) - 1) / count_;
    if (offset_ > kMaxOffset) {
        WarnOfDepth();
        return std::nullopt;
    }
    return PageURL();
}

std::string BraveSource::PageURL() const {
    const std::string url =
        WithQueryParameter(job_.task->SearchURL(), "count", std::to_string(count_));
    return WithQueryParameter(url, "offset", std::to_string(offset_));
}

std::optional<std::string> BraveSource::TakePage(const std::string& /*url*/,
                                                 const std::string& page) {
    const BravePage read = ReadBravePage(page);
    const CTask& task = *job_.task;
    const int64_t first = int64_t{offset_} * count_ + 1;
    const int added =
        job_.results.Number(read.results, first, task.ResultsFrom(), task.ResultsTo());
    const bool toReached = first + count_ - 1 >= task.ResultsTo();
    if (read.results.empty() || added == 0 || toReached) return std::nullopt;
    // The last page may well say that no more are available: none are, through the API.
    if (offset_ >= kMaxOffset) {
        WarnOfDepth();
        return std::nullopt;
    }
    if (!read.moreResults) return std::nullopt;
    ++offset_;
    return PageURL();
}

void BraveSource::WarnOfDepth() {
    if (warnedOfDepth_) return;
    warnedOfDepth_ = true;
    const int most = (kMaxOffset + 1) * count_;
    std::string text =
        "The Brave Search API gives at most " + std::to_string(most) + " results for a search";
    if (count_ < kMaxCount) {
        text += " at " + std::to_string(count_) + " a page (" +
                std::to_string((kMaxOffset + 1) * kMaxCount) + " at " + std::to_string(kMaxCount) +
                ")";
    }
    job_.Warn(text + ".", "BraveSearch");
}

tessel::ComError BraveSource::DownloadFailure(const DownloadResult& result) const {
    const int32_t number = result.ErrNumber;
    const int status = result.Exchange.Status;
    if (number != dlerr::kStatus) return tessel::ComError(number, result.ErrDescription);
    const BraveError error = ReadBraveError(result.Exchange.RefusedBody).value_or(BraveError{});
    const bool tokenCode = error.code.find("TOKEN") != std::string::npos;
    if (status == 401 || status == 403 || (status == 422 && tokenCode))
        return tessel::ComError(srcerr::kApiKey, KeyRefused(result, error.code));
    if (status == 429) return tessel::ComError(number, srcerr::kBraveTooManyRequests);
    if (status == 422) {
        const std::string detail = WithoutKey(error.detail, key_);
        return tessel::ComError(number, "The Brave Search API refused the request (HTTP 422" +
                                            (error.code.empty() ? "" : ", " + error.code) + ")" +
                                            (detail.empty() ? "." : ": " + detail));
    }
    return tessel::ComError(number, result.ErrDescription);
}

std::string BraveSource::KeyRefused(const DownloadResult& result, const std::string& code) const {
    const std::string origin = job_.task->SearchApiKeyOrigin();
    return "The Brave Search API refused the key" + (origin.empty() ? "" : " from " + origin) +
           " (HTTP " + std::to_string(result.Exchange.Status) + (code.empty() ? "" : ", " + code) +
           "): check that it is whole and active in the API dashboard.";
}

}  // namespace fetchcore
