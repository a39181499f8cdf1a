#include "kesapp/AppState.h"

namespace kestrova::app {
namespace {

struct State {
    std::shared_ptr<tessel::Log> log;
    std::string dataFolder;
    std::string lastJobKeyword;
    std::string lastJobFolder;
};

State& Process() {
    static State state;
    return state;
}

}  // namespace

std::shared_ptr<tessel::Log> ProcessLog() {
    return Process().log;
}
void SetProcessLog(std::shared_ptr<tessel::Log> log) {
    Process().log = std::move(log);
}

const std::string& DataFolder() {
    return Process().dataFolder;
}
void SetDataFolder(std::string folder) {
    Process().dataFolder = std::move(folder);
}

const std::string& LastJobKeyword() {
    return Process().lastJobKeyword;
}
const std::string& LastJobFolder() {
    return Process().lastJobFolder;
}
void SetLastJob(std::string keyword, std::string folder) {
    Process().lastJobKeyword = std::move(keyword);
    Process().lastJobFolder = std::move(folder);
}

}  // namespace kestrova::app
