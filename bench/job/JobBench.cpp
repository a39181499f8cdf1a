// Runs one save job with every result page downloaded, the way the window starts it,
// and prints what it saved. Timing and memory are taken from outside (run-job-bench), so
// the job is measured the same way as the curl run beside it.
//
//   bench_job SEARCH_URL FROM TO PER_PAGE OUTPUT_FOLDER
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "fetchcore/CSaver.h"
#include "tessel/Toolbox.h"
#include "tessel/WorkerThread.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Tally : fetchcore::CSaverEvents {
    void SavingPageComplete(const std::string&, bool ok, const std::string&) override {
        ++(ok ? saved : failed);
    }
    void ResultList(const std::string&) override { listed = Clock::now(); }
    void Complete(bool ok, const std::string& description) override {
        done = true;
        success = ok;
        error = description;
    }
    int saved = 0;
    int failed = 0;
    bool done = false;
    bool success = false;
    std::string error;
    Clock::time_point listed;
};

std::shared_ptr<fetchcore::CTask> MakeTask(char** argv) {
    auto task = std::make_shared<fetchcore::CTask>();
    task->KW("bench");
    task->SearchURL(argv[1]);
    task->ResultsFrom(std::atoi(argv[2]));
    task->ResultsTo(std::atoi(argv[3]));
    task->ResultsPerPage(std::atoi(argv[4]));
    task->DownloadResultPages(true);
    task->SaveResultsToFolder(argv[5]);
    return task;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 6) {
        std::fprintf(stderr, "usage: bench_job SEARCH_URL FROM TO PER_PAGE OUTPUT_FOLDER\n");
        return 2;
    }
    auto log = std::make_shared<tessel::Log>();
    log->Open(std::string(argv[5]) + "/bench.log");
    fetchcore::CSaver saver;
    saver.Init(log);
    Tally tally;
    auto connection = saver.Connect(tally);
    const auto started = Clock::now();
    saver.Save(MakeTask(argv));
    while (!tally.done) tessel::Toolbox::WaitAndPumpMessages();
    const auto ended = Clock::now();
    tessel::WorkerThread::JoinAll();
    const auto seconds = [](Clock::duration d) { return std::chrono::duration<double>(d).count(); };
    std::printf("saved %d failed %d complete %s %s\n", tally.saved, tally.failed,
                tally.success ? "True" : "False", tally.error.c_str());
    std::printf("results phase %.3f s, pages phase %.3f s\n", seconds(tally.listed - started),
                seconds(ended - tally.listed));
    return tally.success && tally.failed == 0 ? 0 : 1;
}
