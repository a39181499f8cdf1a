#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "StopSignal.h"
#include "hostile/HostileServer.h"

namespace hostile {

// What the answers need to know of the running server.
struct Site {
    std::uint16_t port = 0;
    std::uint16_t selfSignedPort = 0;
    std::uint16_t expiredPort = 0;
    std::string gzipBomb;

    std::string URL(const Answer& answer) const;
    // A results page of HostileServer::kHugePageBytes, made on first use.
    const std::string& HugePage() const;

  private:
    mutable std::once_flag hugeMade_;
    mutable std::string huge_;
};

// Every answer, plain and TLS, in the order the results page lists them.
const std::vector<Answer>& AllAnswers();

// Reads one request on `fd` and answers it as its path asks.
void AnswerPlain(int fd, const Site& site, const StopSignal& stop);

}  // namespace hostile
