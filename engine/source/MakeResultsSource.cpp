#include "fetchcore/BraveAddress.h"
#include "fetchcore/SearxngAddress.h"
#include "source/BraveSource.h"
#include "source/Layout2010Source.h"
#include "source/ResultsSource.h"
#include "source/SearxngSource.h"

namespace fetchcore {

std::unique_ptr<ResultsSource> MakeResultsSource(JobContext& job) {
    const std::string url = job.task->SearchURL();
    if (IsBraveAddress(url)) return std::make_unique<BraveSource>(job);
    if (IsSearxngAddress(url)) return std::make_unique<SearxngSource>(job);
    return std::make_unique<Layout2010Source>(job);
}

}  // namespace fetchcore
