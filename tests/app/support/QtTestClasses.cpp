#include "QtTestClasses.h"

#include <cstdio>

#include <QTest>

#include "tessel/WorkerThread.h"

namespace kestrova::test {

std::map<std::string, TestFactory>& TestClasses() {
    static std::map<std::string, TestFactory> classes;
    return classes;
}

int RunNamedTestClass(int argc, char* argv[]) {
    auto& classes = TestClasses();
    const auto found = argc > 1 ? classes.find(argv[1]) : classes.end();
    if (found == classes.end()) {
        std::fprintf(stderr, "usage: %s CLASS [options]; classes:", argv[0]);
        for (const auto& [name, factory] : classes) std::fprintf(stderr, " %s", name.c_str());
        std::fputc('\n', stderr);
        return 2;
    }
    const auto test = found->second();
    argv[1] = argv[0];
    const int failed = QTest::qExec(test.get(), argc - 1, argv + 1);
    tessel::WorkerThread::JoinAll();
    return failed;
}

}  // namespace kestrova::test
