#include "kesapp/ErrorTrap.h"

#include "kesapp/AppState.h"

namespace kestrova::app {

void LogError(const tessel::ComError& error, int level, const std::string& source) {
    if (auto log = ProcessLog()) log->Write(error.Number(), error.Description(), level, source);
}

}  // namespace kestrova::app
