#pragma once

#include <memory>

#include "FMain.h"

namespace kestrova {

// The program's start: checks the components, then creates the main window (which runs
// the start-up and the splash) and shows it. Returns the window, or null when start-up
// failed, after telling the user why.
std::unique_ptr<FMain> Main(ShellOptions options = {});

}  // namespace kestrova
