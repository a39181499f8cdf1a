#pragma once

#include <chrono>
#include <cstddef>
#include <string>

namespace serpdouble {

// A misbehaviour the double shows instead of (or before) its normal answer.
struct Fault {
    enum class Kind {
        Status,            // answer `status` with a short body and no Location
        Redirect,          // answer `status` (302 by default) with Location `location`
        Delay,             // wait `delay`, then answer normally
        Stall,             // read the request, answer nothing until Stop (then 503)
        PartialThenStall,  // send the headers and `partialBytes` of the body, then stall;
                           // Stop breaks the connection
    };

    Kind kind = Kind::Status;
    int status = 500;
    std::string location;  // a path ("/page/3") is made absolute on the double itself
    std::chrono::milliseconds delay{0};
    std::size_t partialBytes = 0;

    static Fault WithStatus(int status) { return {Kind::Status, status, {}, {}, 0}; }
    static Fault RedirectTo(std::string location, int status = 302) {
        return {Kind::Redirect, status, std::move(location), {}, 0};
    }
    static Fault DelayBy(std::chrono::milliseconds delay) {
        return {Kind::Delay, 200, {}, delay, 0};
    }
    static Fault StallForever() { return {Kind::Stall, 200, {}, {}, 0}; }
    static Fault PartialThenStallAfter(std::size_t bytes) {
        return {Kind::PartialThenStall, 200, {}, {}, bytes};
    }
};

}  // namespace serpdouble
