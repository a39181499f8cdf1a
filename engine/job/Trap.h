#pragma once

#include <exception>
#include <optional>
#include <utility>

#include "tessel/Error.h"

namespace fetchcore {

// Runs `step` and hands back its failure, if any, as a numbered error, so that a
// procedure can log it and report it instead of letting it escape its thread.
template <class Step>
std::optional<tessel::ComError> Trap(Step&& step) {
    try {
        std::forward<Step>(step)();
        return std::nullopt;
    } catch (const tessel::ComError& error) {
        return error;
    } catch (const std::exception& error) {
        return tessel::ComError(tessel::err::kInvalidArgument, error.what());
    }
}

}  // namespace fetchcore
