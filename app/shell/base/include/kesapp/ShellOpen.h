#pragma once

#include <functional>
#include <string>

#include <QUrl>

namespace kestrova {

enum class ShellVerb {
    Open,  // the desktop's application for a folder, file or web address
    Edit,  // the user's text editor for a file
};

// Hands `target` to the desktop. The result is not reported: an empty target, or one that
// cannot be opened, does nothing.
void ShellExecute(ShellVerb verb, const std::string& target);

// A web address ("scheme:...") as given; anything else is a local path, blanks and all.
QUrl ShellTargetUrl(const std::string& target);

using ShellHandler = std::function<void(ShellVerb verb, const std::string& target)>;

// The handler used when none is installed: QDesktopServices, or $VISUAL / $EDITOR for Edit.
void OpenWithDesktop(ShellVerb verb, const std::string& target);

// Replaces the desktop for its lifetime (tests record what would have been opened).
class ScopedShellHandler {
  public:
    explicit ScopedShellHandler(ShellHandler handler);
    ~ScopedShellHandler();
    ScopedShellHandler(const ScopedShellHandler&) = delete;
    ScopedShellHandler& operator=(const ScopedShellHandler&) = delete;

  private:
    ShellHandler previous_;
};

}  // namespace kestrova
