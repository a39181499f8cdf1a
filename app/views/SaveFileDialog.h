#pragma once

#include <functional>
#include <optional>
#include <string>

#include <QString>
#include <QStringList>

class QWidget;

namespace kestrova {

// What a save dialog is asked: its title and its filters ("Text Files (*.txt)", ...), the
// first one selected. The file name starts empty.
struct SaveDialogRequest {
    QString title;
    QStringList filters;
};

// Asks the user for a file to save to; nothing when the user cancels or the dialog fails.
// The caller asks about overwriting an existing file itself.
std::optional<std::string> AskSaveFileName(QWidget* parent, const SaveDialogRequest& request);

using SaveDialogHandler =
    std::function<std::optional<std::string>(QWidget* parent, const SaveDialogRequest& request)>;

// The handler used when none is installed: a QFileDialog.
std::optional<std::string> ShowPlatformSaveDialog(QWidget* parent,
                                                  const SaveDialogRequest& request);

// Replaces the dialog for its lifetime (tests choose a file without blocking).
class ScopedSaveDialogHandler {
  public:
    explicit ScopedSaveDialogHandler(SaveDialogHandler handler);
    ~ScopedSaveDialogHandler();
    ScopedSaveDialogHandler(const ScopedSaveDialogHandler&) = delete;
    ScopedSaveDialogHandler& operator=(const ScopedSaveDialogHandler&) = delete;

  private:
    SaveDialogHandler previous_;
};

}  // namespace kestrova
