// kestrova-cli: collects the results of a web search from the command line.
#include <unistd.h>

#include <iostream>

#include "CliApp.h"

int main(int argc, char** argv) {
    return kestrova::cli::RunCli({argv + 1, argv + argc}, std::cin, std::cout, std::cerr,
                                 STDERR_FILENO);
}
