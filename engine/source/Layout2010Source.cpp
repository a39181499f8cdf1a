#include "source/Layout2010Source.h"

#include "job/ResultsPaging.h"
#include "parser/CGP.h"
#include "parser/PageMarkers.h"
#include "parser/TextSearch.h"
#include "source/SourceErrors.h"

namespace fetchcore {

namespace markers = parser::markers;

bool IsResultsPage2010(std::string_view page) {
    for (const std::string_view landmark : {markers::kPageStart, markers::kResultsHeading,
                                            markers::kNavigationBar, markers::kOmittedNotice}) {
        if (parser::Contains(page, landmark)) return true;
    }
    return false;
}

PageFetch Layout2010Source::Fetch() const {
    return PageFetch{kResultsPageSizeB, 0};
}

std::optional<std::string> Layout2010Source::FirstPage() {
    const CTask& task = *job_.task;
    currentStart_ = task.ResultsFrom();
    return MakeResultsPageURL(task.SearchURL(), task.ResultsPerPage(), currentStart_);
}

std::optional<std::string> Layout2010Source::TakePage(const std::string& /*url*/,
                                                      const std::string& page) {
    if (!IsResultsPage2010(page)) {
        throw tessel::ComError(CGP::kErrCannotParsePage,
                               std::string(CGP::kCannotParsePageText) + srcerr::kNotAResultsPage);
    }
    const auto record = CGP().ParsePage(page);
    const bool last = IsLastPage(*record);
    job_.results.Number(*record, currentStart_);
    if (last) return std::nullopt;
    const CTask& task = *job_.task;
    currentStart_ += task.ResultsPerPage();
    return MakeResultsPageURL(task.SearchURL(), task.ResultsPerPage(), currentStart_);
}

bool Layout2010Source::IsLastPage(const tessel::RecordNode& record) const {
    const bool noMorePages = record.Fields().Item("NoMorePages").Values().Item(1).ToBool();
    return noMorePages || record.Children().Count() == 0 ||
           CoversLastWanted(currentStart_, job_.task->ResultsPerPage(), job_.task->ResultsTo());
}

}  // namespace fetchcore
