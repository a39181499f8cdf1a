#include "MMain.h"

#include <exception>

#include "ComponentCheck.h"
#include "kesapp/ErrorTrap.h"
#include "kesapp/ShowMsg.h"

namespace kestrova {

std::unique_ptr<FMain> Main(ShellOptions options) {
    std::string message;
    if (!CheckComponents(message)) {
        ShowMsg(message, mb::kStop);
        return nullptr;
    }
    try {
        auto window = std::make_unique<FMain>(std::move(options));
        window->show();
        window->activateWindow();
        return window;
    } catch (const std::exception& e) {
        ShowMsg(tessel::ToComError(e).Description(), mb::kExclamation);
        return nullptr;
    }
}

}  // namespace kestrova
