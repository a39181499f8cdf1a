// shell_tests CLASS [Qt Test options]: runs one test class, so each gets a process of its own.
#include <cstdio>

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>

#include "ShellTestSupport.h"
#include "kesapp/Application.h"

int main(int argc, char* argv[]) {
    // Settings and the runtime folder stay inside the test's own folder.
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toUtf8());
    qputenv("XDG_RUNTIME_DIR", home.path().toUtf8());
    QApplication application(argc, argv);
    kestrova::ConfigureApplication();
    kestrova::test::RegisterScriptedJobs();
    auto& classes = kestrova::test::TestClasses();
    const auto found = argc > 1 ? classes.find(argv[1]) : classes.end();
    if (found == classes.end()) {
        std::fprintf(stderr, "usage: %s CLASS [options]; classes:", argv[0]);
        for (const auto& [name, factory] : classes) std::fprintf(stderr, " %s", name.c_str());
        std::fputc('\n', stderr);
        return 2;
    }
    const auto test = found->second();
    argv[1] = argv[0];
    return QTest::qExec(test.get(), argc - 1, argv + 1);
}
