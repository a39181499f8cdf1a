#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace kestrova::cli {

// The whole program: reads the arguments, runs the job, writes the results. Returns the exit
// status. `out` and `err` stand for standard output and standard error; `errFd` is the
// descriptor behind `err`, to tell a terminal from a pipe.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, int errFd);

}  // namespace kestrova::cli
