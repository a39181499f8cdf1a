#include "kesapp/ErrorTrap.h"

#include "kesapp/AppState.h"

namespace kestrova::app {

CaughtError Describe(const std::exception& error) {
    if (const auto* com = dynamic_cast<const tessel::ComError*>(&error))
        return {com->Number(), com->Description()};
    // Errors from the standard library carry no number of their own.
    return {tessel::err::kInvalidArgument, error.what()};
}

void LogError(const CaughtError& error, int level, const std::string& source) {
    if (auto log = ProcessLog()) log->Write(error.number, error.description, level, source);
}

}  // namespace kestrova::app
