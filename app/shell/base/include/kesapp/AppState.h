#pragma once

#include <memory>
#include <string>

#include "tessel/Log.h"

// What the window parts of the program share for the whole run: the process log, the data
// folder, and the keyword and output folder of the last job started. Set during start-up and
// by the task editor; user-interface thread only.
namespace kestrova::app {

// The one log of the program; null until start-up has opened it.
std::shared_ptr<tessel::Log> ProcessLog();
void SetProcessLog(std::shared_ptr<tessel::Log> log);

// The folder that holds the log, ending in "/"; empty until start-up has made it.
const std::string& DataFolder();
void SetDataFolder(std::string folder);

// Empty until the first job of the run has been started.
const std::string& LastJobKeyword();
const std::string& LastJobFolder();
void SetLastJob(std::string keyword, std::string folder);

}  // namespace kestrova::app
