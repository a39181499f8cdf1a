#pragma once

#include <string>
#include <vector>

#include "serpdouble/SerpDouble.h"

namespace serpdouble {

struct CommandLine {
    SerpDouble::Options options;
    bool help = false;
};

// Reads the program's arguments (without the program name); throws std::invalid_argument
// naming the argument it cannot use.
CommandLine ParseCommandLine(const std::vector<std::string>& args);

std::string Usage();

}  // namespace serpdouble
