#include "taskcore/BraveKey.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "tessel/FileDescriptor.h"
#include "tessel/Text.h"

namespace kestrova {
namespace {

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

std::string HomeFolder() {
    if (std::string home = Environment("HOME"); !home.empty()) return home;
    const passwd* entry = ::getpwuid(::getuid());
    return entry && entry->pw_dir ? entry->pw_dir : "";
}

[[noreturn]] void Refuse(const std::string& why) {
    throw ApiKeyUnavailable(why + " (the key is read from the environment variable " +
                            kBraveKeyVariable + ", else from " + BraveKeyFile() + ").");
}

std::string Mode(mode_t mode) {
    char text[8];
    std::snprintf(text, sizeof text, "%04o", static_cast<unsigned>(mode & 07777));
    return text;
}

std::string FirstLine(int fd) {
    std::string text;
    char buffer[4096];
    // A key is short; a file of more than a few lines is no key file.
    while (text.find('\n') == std::string::npos && text.size() < 65536) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        text.append(buffer, static_cast<std::size_t>(n));
    }
    text.resize(std::min(text.find('\n'), text.size()));
    return std::string(tessel::TrimBlanks(text, " \t\r"));
}

}  // namespace

ApiKey LoadBraveKeyFile() {
    const std::string path = BraveKeyFile();
    const auto fd = tessel::FileDescriptor::Open(path, O_RDONLY | O_CLOEXEC);
    if (!fd) {
        const int error = errno;
        if (error == ENOENT) Refuse("The Brave Search API needs a key");
        Refuse("Cannot read the key file " + path + ": " + std::strerror(error));
    }
    struct stat status {};
    if (::fstat(fd.Get(), &status) != 0 || !S_ISREG(status.st_mode))
        Refuse("The key file " + path + " is no regular file");
    if ((status.st_mode & 077) != 0) {
        Refuse("The key file " + path + " may be read by others (mode " + Mode(status.st_mode) +
               "), so it is not used: run chmod 600 " + path);
    }
    std::string key = FirstLine(fd.Get());
    if (key.empty()) Refuse("The key file " + path + " holds no key");
    if (!IsSendableKey(key))
        Refuse("The key in " + path + " holds blanks or control characters no key has");
    return {std::move(key), "the file " + path};
}

bool IsSendableKey(const std::string& key) {
    return std::all_of(key.begin(), key.end(), [](char c) { return c > ' ' && c < 0x7F; });
}

std::string BraveKeyFile() {
    std::string config = Environment("XDG_CONFIG_HOME");
    // A relative XDG_CONFIG_HOME is not to be used: fall back as if it were unset.
    if (config.empty() || config.front() != '/') config = HomeFolder() + "/.config";
    return config + "/Kestrova/brave.key";
}

ApiKey LoadBraveKey() {
    std::string key(tessel::TrimBlanks(Environment(kBraveKeyVariable), " \t\r\n"));
    if (key.empty()) return LoadBraveKeyFile();
    if (!IsSendableKey(key)) {
        Refuse(std::string("The environment variable ") + kBraveKeyVariable +
               " holds blanks or control characters no key has");
    }
    return {std::move(key), std::string("the environment variable ") + kBraveKeyVariable};
}

}  // namespace kestrova
