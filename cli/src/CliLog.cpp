#include "CliLog.h"

#include <cerrno>
#include <cstring>
#include <fstream>

#include "CliOptions.h"
#include "taskcore/DataFolder.h"
#include "tessel/Error.h"
#include "tessel/Toolbox.h"

namespace kestrova::cli {
namespace {

bool CanAppendTo(const std::string& path) {
    std::ofstream probe(path, std::ios::app);
    return probe.is_open();
}

}  // namespace

std::shared_ptr<tessel::Log> OpenCliLog(const std::optional<std::string>& logFile,
                                        std::ostream& warnings) {
    auto log = std::make_shared<tessel::Log>();
    if (logFile) {
        // The log never reports a failed write, so a bad path is caught here or never.
        if (logFile->empty()) throw UsageError("the log file name is empty");
        errno = 0;
        if (!CanAppendTo(*logFile))
            throw UsageError("cannot write the log file '" + *logFile +
                             "': " + std::strerror(errno));
        log->Open(*logFile);
        return log;
    }
    const std::string folder = DataFolder();
    try {
        tessel::FileTools::CreateFolder(folder);
    } catch (const std::exception& e) {
        warnings << "kestrova-cli: cannot create the data folder '" << folder
                 << "': " << tessel::ToComError(e).Description() << "; no log is written\n";
    }
    log->Open(folder + "Kestrova.log");
    return log;
}

}  // namespace kestrova::cli
