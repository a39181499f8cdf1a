#include "ServerProcess.h"

#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>

#include "serpdouble/SerpDouble.h"

namespace dlbench {
namespace {

serpdouble::SerpDouble::Options Pages(std::size_t pageSize) {
    serpdouble::SerpDouble::Options options;
    options.pageSize = pageSize;
    options.totalResults = 100000;
    return options;
}

[[noreturn]] void Serve(const serpdouble::SerpDouble::Options& options, int portWrite,
                        int stopRead) {
    serpdouble::SerpDouble server(options);
    server.Start();
    const std::uint16_t port = server.Port();
    if (write(portWrite, &port, sizeof port) != sizeof port) _exit(1);
    close(portWrite);
    char byte = 0;
    while (read(stopRead, &byte, 1) > 0) {
    }
    server.Stop();
    _exit(0);
}

}  // namespace

ServerProcess::ServerProcess(std::size_t pageSize) : ServerProcess(Pages(pageSize)) {}

ServerProcess::ServerProcess(const serpdouble::SerpDouble::Options& options) {
    int portPipe[2];
    int stopPipe[2];
    if (pipe(portPipe) != 0 || pipe(stopPipe) != 0) throw std::runtime_error("pipe failed");
    pid_ = fork();
    if (pid_ < 0) throw std::runtime_error("fork failed");
    if (pid_ == 0) {
        close(portPipe[0]);
        close(stopPipe[1]);
        Serve(options, portPipe[1], stopPipe[0]);
    }
    close(portPipe[1]);
    close(stopPipe[0]);
    stopWrite_ = stopPipe[1];
    const bool gotPort = read(portPipe[0], &port_, sizeof port_) == sizeof port_;
    close(portPipe[0]);
    if (!gotPort) throw std::runtime_error("the server did not start");
}

ServerProcess::~ServerProcess() {
    close(stopWrite_);
    int status = 0;
    waitpid(pid_, &status, 0);
}

std::string ServerProcess::PageURL(int result) const {
    return "http://127.0.0.1:" + std::to_string(port_) + "/page/" + std::to_string(result);
}

}  // namespace dlbench
