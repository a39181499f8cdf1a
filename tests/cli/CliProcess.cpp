#include "CliProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>

extern char** environ;

namespace cli_test {
namespace {

struct Pipe {
    int read = -1, write = -1;
    Pipe() {
        int fds[2];
        if (::pipe2(fds, O_CLOEXEC) != 0) throw std::runtime_error("pipe");
        read = fds[0];
        write = fds[1];
    }
};

// Reads `fd` to its end into `text`, then closes it.
std::jthread Collect(int fd, std::string& text) {
    return std::jthread([fd, &text] {
        char buffer[4096];
        for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) != 0;) {
            if (n > 0)
                text.append(buffer, static_cast<std::size_t>(n));
            else if (errno != EINTR)
                break;
        }
        ::close(fd);
    });
}

// The parent's environment with our own APPDATA and config folder, without a key, loopback
// never sent to a proxy, and `extra` last.
std::vector<std::string> ChildEnvironment(const std::string& appData,
                                          const std::vector<std::string>& extra) {
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        const std::string name = entry.substr(0, entry.find('='));
        if (name != "APPDATA" && name != "no_proxy" && name != "XDG_CONFIG_HOME" &&
            name != "KESTROVA_BRAVE_KEY")
            env.push_back(entry);
    }
    env.push_back("APPDATA=" + appData);
    env.push_back("XDG_CONFIG_HOME=" + appData + "/config");
    env.push_back("no_proxy=127.0.0.1");
    // A variable given twice would be read from its first entry.
    for (const auto& entry : extra) {
        const std::string name = entry.substr(0, entry.find('=') + 1);
        std::erase_if(env, [&](const std::string& e) { return e.starts_with(name); });
        env.push_back(entry);
    }
    return env;
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    for (auto& t : texts) pointers.push_back(t.data());
    pointers.push_back(nullptr);
    return pointers;
}

}  // namespace

CliProcess::CliProcess(const std::vector<std::string>& args, const std::string& appData,
                       const std::vector<std::string>& launcher,
                       const std::vector<std::string>& extraEnv) {
    Pipe out, err;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out.write, STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, err.write, STDERR_FILENO);
    std::vector<std::string> argv = launcher;
    argv.push_back(KES_CLI_BINARY);
    argv.insert(argv.end(), args.begin(), args.end());
    auto env = ChildEnvironment(appData, extraEnv);
    const int failed = posix_spawnp(&pid_, argv[0].c_str(), &actions, nullptr,
                                    Pointers(argv).data(), Pointers(env).data());
    posix_spawn_file_actions_destroy(&actions);
    ::close(out.write);
    ::close(err.write);
    outReader_ = Collect(out.read, out_);
    errReader_ = Collect(err.read, err_);
    if (failed) {
        pid_ = -1;
        throw std::runtime_error("cannot start " KES_CLI_BINARY);
    }
}

CliProcess::~CliProcess() {
    if (!waited_ && pid_ > 0) {
        ::kill(pid_, SIGKILL);
        Wait();
    }
}

void CliProcess::Signal(int signal) const {
    ::kill(pid_, signal);
}

CliResult CliProcess::Wait() {
    if (waited_) return result_;
    int status = 0;
    while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
    outReader_.join();
    errReader_.join();
    waited_ = true;
    result_.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    result_.out = std::move(out_);
    result_.err = std::move(err_);
    return result_;
}

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

CliResult RunCli(const std::vector<std::string>& args, const std::string& appData,
                 const std::vector<std::string>& env) {
    return CliProcess(args, appData, {}, env).Wait();
}

}  // namespace cli_test
