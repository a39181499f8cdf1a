// Runs a command and prints, on one line of standard error, its wall time and CPU time in
// seconds (to the microsecond, where GNU time gives hundredths), its peak resident memory in
// KiB, its voluntary and involuntary context switches, and the most threads it had (sampled
// every 5 ms). Exits with the command's status.
//
//   run_timed COMMAND [ARG]...
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <thread>

namespace {

int ThreadsOf(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.starts_with("Threads:")) return std::stoi(line.substr(8));
    }
    return 0;
}

double Seconds(const timeval& t) {
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s COMMAND [ARG]...\n", argv[0]);
        return 2;
    }
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        execvp(argv[1], argv + 1);
        std::perror(argv[1]);
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    int threads = 0;
    while (wait4(child, &status, WNOHANG, &usage) == 0) {
        threads = std::max(threads, ThreadsOf(child));
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - start;
    std::fprintf(stderr, "%.4f %.6f %ld %ld %ld %d\n", wall.count(),
                 Seconds(usage.ru_utime) + Seconds(usage.ru_stime), usage.ru_maxrss, usage.ru_nvcsw,
                 usage.ru_nivcsw, threads);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}
