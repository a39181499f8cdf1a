// Runs JOBS save jobs of PAGES result pages each, one after another, through one saver in
// this process, and prints the process's resident memory, open descriptors and threads
// every 10 jobs. After each job it waits for descriptors and threads to come back to their
// level after the first job, and counts the jobs after which they did not.
//
//   bench_soak [JOBS [PAGES [FOLDER]]]      (100 jobs of 100 pages by default)
// "seconds" is the time since the row before.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "soak/SoakRun.h"

int main(int argc, char** argv) {
    const int jobs = argc > 1 ? std::atoi(argv[1]) : 100;
    const int pages = argc > 2 ? std::atoi(argv[2]) : 100;
    const std::filesystem::path folder =
        argc > 3 ? std::filesystem::path(argv[3])
                 : std::filesystem::temp_directory_path() / "kestrova-soak";
    if (jobs < 1 || pages < 1 || pages > 999) {
        std::fprintf(stderr, "usage: bench_soak [JOBS [PAGES [FOLDER]]]\n");
        return 2;
    }
    std::filesystem::remove_all(folder);
    using Clock = std::chrono::steady_clock;
    soak::SoakRun run(folder, pages);
    const soak::Gauge start = soak::Measure();
    auto since = Clock::now();
    if (!run.Run(1)) return std::fprintf(stderr, "the first job did not complete\n"), 1;
    const soak::Gauge level = run.Settle(soak::Measure());
    std::printf("%6s %12s %12s %8s %12s\n", "jobs", "resident KiB", "descriptors", "threads",
                "seconds");
    std::printf("%6d %12ld %12d %8d %12s\n", 0, start.residentKiB, start.descriptors, start.threads,
                "-");
    std::printf("%6d %12ld %12d %8d %12s\n", 1, level.residentKiB, level.descriptors, level.threads,
                "-");
    int above = 0;
    for (int job = 2; job <= jobs; ++job) {
        if (!run.Run(1)) return std::fprintf(stderr, "job %d did not complete\n", job), 1;
        const soak::Gauge now = run.Settle(level);
        above += now.descriptors > level.descriptors || now.threads > level.threads;
        if (job % 10 == 0) {
            const std::chrono::duration<double> took = Clock::now() - since;
            since = Clock::now();
            std::printf("%6d %12ld %12d %8d %12.2f\n", job, now.residentKiB, now.descriptors,
                        now.threads, took.count());
        }
    }
    std::printf(
        "completes %d (of %d jobs), pages saved %d, failed %d; jobs after which "
        "descriptors or threads stayed above their level: %d\n",
        run.Completes(), jobs, run.SavedPages(), run.FailedPages(), above);
    std::filesystem::remove_all(folder);
    return run.Completes() == jobs && run.FailedPages() == 0 && above == 0 ? 0 : 1;
}
