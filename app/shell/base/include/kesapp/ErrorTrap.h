#pragma once

#include <exception>
#include <string>

#include "tessel/Error.h"
#include "tessel/Log.h"

namespace kestrova::app {

// Writes an error to the process log (dropped when there is none yet).
void LogError(const tessel::ComError& error, int level, const std::string& source);

// Runs `step`. An error it raises goes to the process log at `level` with `source`
// ("Class.Procedure") and no further: the user sees nothing. True when the step ran through.
template <class Step>
bool Trapped(const std::string& source, int level, Step&& step) {
    try {
        step();
        return true;
    } catch (const std::exception& e) {
        LogError(tessel::ToComError(e), level, source);
        return false;
    }
}

}  // namespace kestrova::app
