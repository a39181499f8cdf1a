#include "source/SearxngSource.h"

#include "download/DownloadErrors.h"
#include "fetchcore/SearxngAddress.h"
#include "fetchcore/SourceWarnings.h"
#include "source/SearxngReader.h"
#include "source/SourceErrors.h"

namespace fetchcore {

std::optional<std::string> SearxngSource::FirstPage() {
    pageNo_ = 1;
    nextPosition_ = 1;
    return PageURL();
}

std::string SearxngSource::PageURL() const {
    return WithQueryParameter(job_.task->SearchURL(), "pageno", std::to_string(pageNo_));
}

std::optional<std::string> SearxngSource::TakePage(const std::string& url,
                                                   const std::string& page) {
    const SearxngPage read = ReadSearxngPage(page);
    const std::string engines = DescribeEngines(read.unresponsive);
    if (read.results.empty()) {
        // Otherwise an instance whose engines are all down would pass for a search
        // without results.
        if (pageNo_ == 1 && !engines.empty()) {
            throw tessel::ComError(srcerr::kUnresponsiveEngines,
                                   srcerr::kUnresponsiveEnginesText + engines + ".");
        }
        return std::nullopt;
    }
    if (!engines.empty()) WarnOfEngines(url, engines);
    const int added = job_.results.Number(read.results, nextPosition_, job_.task->ResultsFrom(),
                                          job_.task->ResultsTo());
    nextPosition_ += static_cast<int64_t>(read.results.size());
    const bool toReached = nextPosition_ - 1 >= job_.task->ResultsTo();
    if (added == 0 || toReached || pageNo_ >= kMaxPages) return std::nullopt;
    ++pageNo_;
    return PageURL();
}

void SearxngSource::WarnOfEngines(const std::string& url, const std::string& engines) {
    if (job_.log) {
        job_.log->Write(srcerr::kUnresponsiveEngines, url + ". " + kUnresponsiveWarning + engines,
                        tessel::level::kEngineError, kUnresponsiveSource);
    }
    // Every page names them again; the user hears of each list once.
    if (warnedOf_.insert(engines).second)
        job_.Warn(kUnresponsiveWarning + engines, "UnresponsiveEngines", false);
}

tessel::ComError SearxngSource::DownloadFailure(const DownloadResult& result) const {
    const int32_t number = result.ErrNumber;
    if (number == dlerr::kStatus && result.Exchange.Status == 403)
        return tessel::ComError(number, srcerr::kSearxngForbidden);
    if (number == dlerr::kStatus && result.Exchange.Status == 429)
        return tessel::ComError(number, srcerr::kSearxngTooManyRequests);
    return tessel::ComError(number, result.ErrDescription);
}

}  // namespace fetchcore
