#pragma once

#include <string>

namespace fetchcore {

// One result as a source's answer gives it: its address, and its title and snippet where the
// source has them (empty otherwise).
struct FoundResult {
    std::string url;
    std::string title;
    std::string snippet;
};

}  // namespace fetchcore
