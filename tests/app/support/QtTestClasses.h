#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>

#include <QObject>

namespace kestrova::test {

// One test class per ctest entry: the test program runs the class named on its command line.
using TestFactory = std::function<std::unique_ptr<QObject>()>;
std::map<std::string, TestFactory>& TestClasses();
template <class T>
struct RegisterTestClass {
    explicit RegisterTestClass(const char* name) {
        TestClasses()[name] = [] { return std::make_unique<T>(); };
    }
};
#define KES_TEST_CLASS(T) static const ::kestrova::test::RegisterTestClass<T> kRegister##T(#T)

// Runs the class named by argv[1] with the remaining arguments, then waits for the worker
// threads the class started. An unknown class prints the usage and gives 2.
int RunNamedTestClass(int argc, char* argv[]);

}  // namespace kestrova::test
