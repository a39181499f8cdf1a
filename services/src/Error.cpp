#include "tessel/Error.h"

namespace tessel {

ComError ToComError(const std::exception& error, int32_t number) {
    if (const auto* numbered = dynamic_cast<const ComError*>(&error)) return *numbered;
    return ComError(number, error.what());
}

}  // namespace tessel
