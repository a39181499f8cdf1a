// Fetches 1,000 pages of 20 KB from the search-engine double through one CDownloader, then
// the same pages with curl --parallel --parallel-max 5, and prints both with their ratio.
//   bench_download [pages] [rounds]
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "CurlYardstick.h"
#include "EngineRun.h"
#include "ServerProcess.h"

namespace {

constexpr std::size_t kPageSize = 20 * 1024;

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    const int pages = argc > 1 ? std::atoi(argv[1]) : 1000;
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 5;
    dlbench::ServerProcess server(kPageSize);  // before this process makes any thread
    std::vector<std::string> urls;
    for (int i = 1; i <= pages; ++i) urls.push_back(server.PageURL(i));
    const std::string scratch = "/tmp/kes-bench-download-" + std::to_string(getpid());

    // One small round of each first: thread stacks, libcurl and the server's pool warm up.
    dlbench::RunEngine({urls.begin(), urls.begin() + std::min(pages, 50)}, kPageSize,
                       scratch + ".log");
    dlbench::RunCurl({urls.begin(), urls.begin() + std::min(pages, 50)}, scratch + ".curl");

    std::vector<double> ratios;
    int failures = 0;
    std::printf("%d pages of %zu bytes, %d rounds\n", pages, kPageSize, rounds);
    for (int round = 1; round <= rounds; ++round) {
        const auto engine = dlbench::RunEngine(urls, kPageSize, scratch + ".log");
        const auto curl = dlbench::RunCurl(urls, scratch + ".curl");
        failures += engine.failures + curl.failures;
        ratios.push_back(engine.wallMs / curl.wallMs);
        std::printf("round %d\n  engine  %s\n  curl    %s\n  wall ratio %.2f\n", round,
                    dlbench::Describe(engine).c_str(), dlbench::Describe(curl).c_str(),
                    ratios.back());
    }
    std::printf("median wall ratio (engine / curl): %.2f\n", Median(ratios));
    std::remove((scratch + ".log").c_str());
    std::remove((scratch + ".curl").c_str());
    return failures == 0 ? 0 : 1;
}
