// e2e_tests CLASS [Qt Test options]: the program end to end, one class per process.
#include <cstdio>

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>

#include "ViewsTestSupport.h"
#include "kesapp/Application.h"
#include "tessel/Toolbox.h"
#include "tessel/WorkerThread.h"

int main(int argc, char* argv[]) {
    // Settings and the runtime folder stay inside the test's own folder.
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toUtf8());
    qputenv("XDG_RUNTIME_DIR", home.path().toUtf8());
    QApplication application(argc, argv);
    kestrova::ConfigureApplication();
    // Loopback is all there is here; a machine without a network must not pass for offline.
    tessel::Toolbox::SetOnlineProbe([] { return true; });
    auto& classes = kestrova::test::TestClasses();
    const auto found = argc > 1 ? classes.find(argv[1]) : classes.end();
    if (found == classes.end()) {
        std::fprintf(stderr, "usage: %s CLASS [options]\n", argv[0]);
        return 2;
    }
    const auto test = found->second();
    argv[1] = argv[0];
    const int failed = QTest::qExec(test.get(), argc - 1, argv + 1);
    tessel::WorkerThread::JoinAll();
    return failed;
}
