// kestrova-hostile: a server that answers every request wrongly, for demos of how
// Kestrova copes with hostile sites.
#include <csignal>
#include <cstdlib>
#include <iostream>
#include <stdexcept>
#include <string>

#include "hostile/HostileServer.h"

int main(int argc, char** argv) {
    const std::string usage = "usage: kestrova-hostile [--port N]\n";
    long port = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--port" && i + 1 < argc) {
            port = std::strtol(argv[++i], nullptr, 10);
        } else {
            std::cerr << usage;
            return arg == "--help" ? 0 : 2;
        }
    }
    if (port < 0 || port > 65535) {
        std::cerr << usage;
        return 2;
    }
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);  // the server's threads inherit the mask

    hostile::HostileServer server;
    try {
        server.Start(static_cast<std::uint16_t>(port));
    } catch (const std::runtime_error& error) {
        std::cerr << "kestrova-hostile: " << error.what() << "\n";
        return 1;
    }
    for (const auto& answer : hostile::HostileServer::Answers())
        std::cout << server.URL(answer) << "  " << answer.description << "\n";
    std::cout << "Search address: " << server.SearchURL() << std::endl;
    int signal = 0;
    sigwait(&signals, &signal);
    server.Stop();
    return 0;
}
