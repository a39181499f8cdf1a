// kestrova: the window program.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include <QApplication>

#include "CloseOnTermination.h"
#include "MMain.h"
#include "Screenshot.h"
#include "TerminationSignals.h"
#include "kesapp/Application.h"
#include "tessel/WorkerThread.h"

namespace {

bool Set(const char* name) {
    const char* value = std::getenv(name);
    return value && *value;
}

// Qt ends the process when it cannot reach a display; say it in our words first.
bool DisplayReachable(int argc, char* argv[]) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-platform") == 0) return true;
    }
    return Set("QT_QPA_PLATFORM") || Set("DISPLAY") || Set("WAYLAND_DISPLAY");
}

}  // namespace

int main(int argc, char* argv[]) {
    if (!DisplayReachable(argc, argv)) {
        std::fputs(
            "kestrova: no display to open the window on ($DISPLAY and $WAYLAND_DISPLAY "
            "are empty).\nRun kestrova-cli for the same harvest from the command line.\n",
            stderr);
        return 2;
    }
    QApplication application(argc, argv);
    kestrova::ConfigureApplication();
    const QString screenshot = kestrova::ScreenshotOption(QApplication::arguments());
    // A logout, kill or Ctrl-C closes the window as its close box does: jobs cancelled,
    // settings kept. Open dialogs go first, or they would keep the program running.
    kestrova::TerminationSignals termination;
    std::unique_ptr<kestrova::FMain> window;
    QObject::connect(&termination, &kestrova::TerminationSignals::Received,
                     [&window] { kestrova::CloseOnTermination(window.get()); });
    window = kestrova::Main();
    int exitCode = 1;
    if (window) {
        if (termination.Arrived()) window->close();
        if (!screenshot.isEmpty()) kestrova::ScreenshotAndClose(*window, screenshot);
        exitCode = window->isVisible() ? QApplication::exec() : 0;
    }
    // Closing the window cancelled every job; their threads end before the saver goes.
    tessel::WorkerThread::JoinAll();
    window.reset();
    return exitCode;
}
