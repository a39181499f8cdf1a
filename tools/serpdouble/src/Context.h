#pragma once

#include <string>

#include "Counters.h"
#include "StopSignal.h"
#include "serpdouble/SerpDouble.h"

namespace serpdouble {

// What every route reads: fixed while the double serves, apart from the counters.
struct Context {
    const SerpDouble::Options& options;
    Counters& counters;
    const StopSignal& stop;
    std::string base;  // "http://127.0.0.1:PORT"
};

// The body size of a result page: its own when configured, else the common one.
std::size_t PageSizeOf(const SerpDouble::Options& options, int result);

}  // namespace serpdouble
