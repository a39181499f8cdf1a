#pragma once

#include <functional>
#include <string>

namespace kestrova {

// Message-box styles (icon plus buttons, added) and answers, numbered as the program has
// always numbered them.
namespace mb {
inline constexpr int kOkOnly = 0;
inline constexpr int kOkCancel = 1;
inline constexpr int kStop = 16;
inline constexpr int kQuestion = 32;
inline constexpr int kExclamation = 48;
inline constexpr int kInformation = 64;

inline constexpr int kOK = 1;
inline constexpr int kCancel = 2;
}  // namespace mb

// The program's one way to show a message box: every window part calls it. Shows `prompt`
// with the style `buttons`, under `title` or, when that is empty, the product name, and
// returns the answer (mb::kOK, mb::kCancel). Modal: the user-interface thread keeps handling
// engine events while the box is open.
int ShowMsg(const std::string& prompt, int buttons = mb::kOkOnly, const std::string& title = {});

// What actually shows the box; receives the title already defaulted.
using MsgBoxHandler =
    std::function<int(const std::string& prompt, int buttons, const std::string& title)>;

// The handler used when none is installed: a QMessageBox.
int ShowPlatformMsgBox(const std::string& prompt, int buttons, const std::string& title);

// Replaces the message box for its lifetime (tests answer questions without blocking).
class ScopedMsgBoxHandler {
  public:
    explicit ScopedMsgBoxHandler(MsgBoxHandler handler);
    ~ScopedMsgBoxHandler();
    ScopedMsgBoxHandler(const ScopedMsgBoxHandler&) = delete;
    ScopedMsgBoxHandler& operator=(const ScopedMsgBoxHandler&) = delete;

  private:
    MsgBoxHandler previous_;
};

}  // namespace kestrova
