#pragma once

#include <sys/resource.h>

#include <string>

namespace dlbench {

// What one fetch of every page cost: wall and CPU time, and the peak resident set.
struct Usage {
    double wallMs = 0;
    double cpuMs = 0;
    long peakKb = 0;
    int failures = 0;
};

double CpuMs(const rusage& usage);
std::string Describe(const Usage& usage);

}  // namespace dlbench
