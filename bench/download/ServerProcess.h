#pragma once

#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "serpdouble/SerpDouble.h"

namespace dlbench {

// The search-engine double in a process of its own, so its threads neither share the
// client's CPU figures nor its memory. Start it before the bench makes any thread.
class ServerProcess {
  public:
    explicit ServerProcess(std::size_t pageSize);
    explicit ServerProcess(const serpdouble::SerpDouble::Options& options);
    ~ServerProcess();
    ServerProcess(const ServerProcess&) = delete;
    ServerProcess& operator=(const ServerProcess&) = delete;

    std::string PageURL(int result) const;

  private:
    pid_t pid_ = -1;
    int stopWrite_ = -1;  // closing it tells the server to stop
    std::uint16_t port_ = 0;
};

}  // namespace dlbench
