#include "CurlYardstick.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <stdexcept>

namespace dlbench {

Usage RunCurl(const std::vector<std::string>& urls, const std::string& configFile) {
    {
        std::ofstream config(configFile, std::ios::trunc);
        for (const auto& url : urls) config << "url = \"" << url << "\"\noutput = \"/dev/null\"\n";
    }
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid < 0) throw std::runtime_error("fork failed");
    if (pid == 0) {
        // The parallel progress meter shows even with --silent in some versions.
        const int devNull = open("/dev/null", O_WRONLY);
        if (devNull >= 0) dup2(devNull, STDERR_FILENO);
        execlp("curl", "curl", "--silent", "--no-progress-meter", "--fail", "--parallel",
               "--parallel-max", "5", "-K", configFile.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    const auto wall = std::chrono::steady_clock::now() - start;
    Usage result;
    result.wallMs = std::chrono::duration<double, std::milli>(wall).count();
    result.cpuMs = CpuMs(usage);
    result.peakKb = usage.ru_maxrss;
    result.failures = WIFEXITED(status) && WEXITSTATUS(status) == 0 ? 0 : 1;
    return result;
}

}  // namespace dlbench
