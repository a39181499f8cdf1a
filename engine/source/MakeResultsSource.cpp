#include "fetchcore/SearxngAddress.h"
#include "source/Layout2010Source.h"
#include "source/ResultsSource.h"
#include "source/SearxngSource.h"

namespace fetchcore {

std::unique_ptr<ResultsSource> MakeResultsSource(JobContext& job) {
    if (IsSearxngAddress(job.task->SearchURL())) return std::make_unique<SearxngSource>(job);
    return std::make_unique<Layout2010Source>(job);
}

}  // namespace fetchcore
