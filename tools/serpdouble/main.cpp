// kestrova-serpdouble: the search-engine double as a program, for demos and manual runs.
#include <csignal>
#include <iostream>
#include <stdexcept>

#include "serpdouble/CommandLine.h"
#include "serpdouble/SerpDouble.h"

namespace {

// Blocks the stop signals in every thread (the server's threads inherit the mask), so
// that the main thread alone takes them through sigwait.
sigset_t BlockStopSignals() {
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    return signals;
}

}  // namespace

int main(int argc, char** argv) {
    serpdouble::CommandLine line;
    try {
        line = serpdouble::ParseCommandLine({argv + 1, argv + argc});
    } catch (const std::invalid_argument& error) {
        std::cerr << "kestrova-serpdouble: " << error.what() << "\n" << serpdouble::Usage();
        return 2;
    }
    if (line.help) {
        std::cout << serpdouble::Usage();
        return 0;
    }
    const sigset_t signals = BlockStopSignals();
    serpdouble::SerpDouble server(line.options);
    try {
        server.Start();
    } catch (const std::runtime_error& error) {
        std::cerr << "kestrova-serpdouble: " << error.what() << "\n";
        return 1;
    }
    std::cout << "Search address: " << server.SearchURL("") << "\n"
              << "SearXNG instance: " << server.BaseURL() << std::endl;
    int signal = 0;
    sigwait(&signals, &signal);
    server.Stop();
    std::cout << "Stopped." << std::endl;
    return 0;
}
