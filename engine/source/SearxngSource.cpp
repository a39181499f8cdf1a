#include "source/SearxngSource.h"

#include "download/DownloadErrors.h"
#include "fetchcore/SearxngAddress.h"
#include "fetchcore/SourceWarnings.h"
#include "source/SearxngReader.h"
#include "source/SourceErrors.h"
#include "tessel/Text.h"

namespace fetchcore {

std::string SearxngSource::FirstPage() {
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
    const int added = job_.results.Number(read.results, nextPosition_, job_.task->ResultsFrom());
    nextPosition_ += static_cast<int64_t>(read.results.size());
    const bool toReached = nextPosition_ - 1 >= job_.task->ResultsTo();
    if (added == 0 || toReached || pageNo_ >= kMaxPages) return std::nullopt;
    ++pageNo_;
    return PageURL();
}

void SearxngSource::WarnOfEngines(const std::string& url, const std::string& engines) const {
    if (!job_.log) return;
    job_.log->Write(srcerr::kUnresponsiveEngines, url + ". " + kUnresponsiveWarning + engines,
                    tessel::level::kEngineError, kUnresponsiveSource);
}

tessel::ComError SearxngSource::DownloadFailure(int32_t number,
                                                const std::string& description) const {
    // The download reports a refused answer by its status text.
    if (number == dlerr::kStatus && tessel::EqualsNoCase(description, "Forbidden"))
        return tessel::ComError(number, srcerr::kSearxngForbidden);
    if (number == dlerr::kStatus && tessel::EqualsNoCase(description, "Too Many Requests"))
        return tessel::ComError(number, srcerr::kSearxngTooManyRequests);
    return tessel::ComError(number, description);
}

}  // namespace fetchcore
