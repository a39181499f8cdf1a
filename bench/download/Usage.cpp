#include "Usage.h"

#include <cstdio>

namespace dlbench {

double CpuMs(const rusage& usage) {
    const auto ms = [](const timeval& t) { return t.tv_sec * 1000.0 + t.tv_usec / 1000.0; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

std::string Describe(const Usage& usage) {
    char text[160];
    std::snprintf(text, sizeof text, "wall %8.1f ms  cpu %8.1f ms  peak %7ld KB  failures %d",
                  usage.wallMs, usage.cpuMs, usage.peakKb, usage.failures);
    return text;
}

}  // namespace dlbench
