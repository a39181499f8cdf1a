#pragma once

#include <string>
#include <utility>
#include <vector>

#include "kesapp/ShellOpen.h"

namespace kestrova::test {

// Records what would have been handed to the desktop.
class ShellCalls {
  public:
    ShellCalls();
    std::vector<std::pair<ShellVerb, std::string>> calls;

  private:
    ScopedShellHandler handler_;
};

}  // namespace kestrova::test
