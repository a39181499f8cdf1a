#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string>
#include <thread>
#include <vector>

namespace cli_test {

struct CliResult {
    int status = -1;  // exit status; 128 + signal when killed by one
    std::string out;
    std::string err;
};

// kestrova-cli running as a child process, its standard output and error collected.
// The child's APPDATA points at `appData`, so its default log stays in the test's folder, and
// its XDG_CONFIG_HOME at `appData`/config; no key of the parent's environment reaches it.
class CliProcess {
  public:
    // `launcher`, when given, is a command that runs the program: its words come first,
    // then the program's path and `args`. `env` ("NAME=value") is added to the environment.
    CliProcess(const std::vector<std::string>& args, const std::string& appData,
               const std::vector<std::string>& launcher = {},
               const std::vector<std::string>& env = {});
    ~CliProcess();
    CliProcess(const CliProcess&) = delete;
    CliProcess& operator=(const CliProcess&) = delete;

    void Signal(int signal) const;
    CliResult Wait();

  private:
    pid_t pid_ = -1;
    std::string out_, err_;
    std::jthread outReader_, errReader_;
    bool waited_ = false;
    CliResult result_;
};

// A file's whole content; empty when it cannot be read.
std::string ReadFile(const std::filesystem::path& path);
// The lines of a text, without their line ends.
std::vector<std::string> Lines(const std::string& text);

// Runs the program to its end.
CliResult RunCli(const std::vector<std::string>& args, const std::string& appData,
                 const std::vector<std::string>& env = {});

}  // namespace cli_test
