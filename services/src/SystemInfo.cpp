// The parts of Toolbox that ask the operating system.
#include <ifaddrs.h>
#include <net/if.h>
#include <sys/utsname.h>

#include <cstdlib>
#include <fstream>

#include "tessel/Toolbox.h"

namespace tessel::Toolbox {
namespace {

std::string Env(const std::string& name) {
    const char* value = std::getenv(name.c_str());
    return value ? value : "";
}

std::string AppDataFallback() {
    if (auto xdg = Env("XDG_DATA_HOME"); !xdg.empty()) return xdg;
    if (auto home = Env("HOME"); !home.empty()) return home + "/.local/share";
    return "";
}

std::string OsReleaseName() {
    std::ifstream in("/etc/os-release");
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("PRETTY_NAME=", 0) == 0) {
            std::string value = line.substr(12);
            if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
                value = value.substr(1, value.size() - 2);
            return value;
        }
    }
    return "";
}

}  // namespace

bool IsOnline() {
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0) return false;
    bool online = false;
    for (ifaddrs* a = list; a && !online; a = a->ifa_next) {
        const unsigned flags = a->ifa_flags;
        const bool hasAddress = a->ifa_addr && (a->ifa_addr->sa_family == AF_INET ||
                                                a->ifa_addr->sa_family == AF_INET6);
        online = hasAddress && (flags & IFF_UP) && (flags & IFF_RUNNING) && !(flags & IFF_LOOPBACK);
    }
    freeifaddrs(list);
    return online;
}

std::string ExpandEnvironment(const std::string& text) {
    std::string out;
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t open = text.find('%', i);
        const std::size_t close = open == std::string::npos ? open : text.find('%', open + 1);
        if (close == std::string::npos) {
            out.append(text, i, std::string::npos);
            break;
        }
        out.append(text, i, open - i);
        const std::string name = text.substr(open + 1, close - open - 1);
        std::string value = Env(name);
        if (value.empty() && name == "APPDATA") value = AppDataFallback();
        out += value;
        i = close + 1;
    }
    return out;
}

std::string WindowsVersion() {
    utsname u{};
    std::string kernel = uname(&u) == 0 ? std::string(u.sysname) + " " + u.release + " " + u.machine
                                        : std::string("Linux");
    const std::string distribution = OsReleaseName();
    return distribution.empty() ? kernel : distribution + ", " + kernel;
}

}  // namespace tessel::Toolbox
