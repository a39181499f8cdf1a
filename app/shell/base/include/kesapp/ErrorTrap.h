#pragma once

#include <cstdint>
#include <exception>
#include <string>

#include "tessel/Error.h"
#include "tessel/Log.h"

namespace kestrova::app {

// An error as the handlers see it: a number and a description, whatever was thrown.
struct CaughtError {
    int32_t number = 0;
    std::string description;
};
CaughtError Describe(const std::exception& error);

// Writes an error to the process log (dropped when there is none yet).
void LogError(const CaughtError& error, int level, const std::string& source);

// Runs `step`. An error it raises goes to the process log at `level` with `source`
// ("Class.Procedure") and no further: the user sees nothing. True when the step ran through.
template <class Step>
bool Trapped(const std::string& source, int level, Step&& step) {
    try {
        step();
        return true;
    } catch (const std::exception& e) {
        LogError(Describe(e), level, source);
        return false;
    }
}

}  // namespace kestrova::app
