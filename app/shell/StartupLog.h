#pragma once

#include <string>

#include "tessel/Log.h"

namespace kestrova {

// "kestrova.exe: 4.20.0": the program's name and version, in the form the log has always had.
std::string ProgramVersionLine();

// The three lines every run starts its log with.
void WriteStartLines(tessel::Log& log);

}  // namespace kestrova
