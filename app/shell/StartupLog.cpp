#include "StartupLog.h"

#include <QCoreApplication>
#include <QFileInfo>

#include "tessel/Toolbox.h"

namespace kestrova {

std::string ProgramVersionLine() {
    const std::string name =
        QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName().toStdString();
    return tessel::Toolbox::FormatMessage(
        "%1.exe: %2.%3.%4", {name, std::to_string(KES_VERSION_MAJOR),
                             std::to_string(KES_VERSION_MINOR), std::to_string(KES_VERSION_PATCH)});
}

void WriteStartLines(tessel::Log& log) {
    using tessel::level::kInfo;
    log.Write(0, "*** Start App ***", kInfo, "Main.MMain");
    log.Write(0, ProgramVersionLine(), kInfo, "MMain.Main");
    log.Write(0, "Windows: " + tessel::Toolbox::WindowsVersion(), kInfo, "MMain.Main");
}

}  // namespace kestrova
