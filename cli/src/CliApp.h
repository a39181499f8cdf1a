#pragma once

#include <istream>
#include <ostream>
#include <string>
#include <vector>

namespace kestrova::cli {

// The whole program: reads the arguments, runs the job (or one per keyword of a keyword
// list), writes the results. Returns the exit status. `in`, `out` and `err` stand for standard
// input (a keyword list given as "-"), output and error; `errFd` is the descriptor behind
// `err`, to tell a terminal from a pipe.
int RunCli(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
           std::ostream& err, int errFd);

}  // namespace kestrova::cli
