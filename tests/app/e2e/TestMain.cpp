// e2e_tests CLASS [Qt Test options]: the program end to end, one class per process.
#include <QApplication>
#include <QTemporaryDir>

#include "ViewsTestSupport.h"
#include "kesapp/Application.h"

int main(int argc, char* argv[]) {
    // Settings and the runtime folder stay inside the test's own folder.
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toUtf8());
    qputenv("XDG_RUNTIME_DIR", home.path().toUtf8());
    QApplication application(argc, argv);
    kestrova::ConfigureApplication();
    return kestrova::test::RunNamedTestClass(argc, argv);
}
