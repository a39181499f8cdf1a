#include "SaveFileDialog.h"

#include <utility>

#include <QFile>
#include <QFileDialog>

namespace kestrova {
namespace {

SaveDialogHandler& Handler() {
    static SaveDialogHandler handler;
    return handler;
}

}  // namespace

std::optional<std::string> AskSaveFileName(QWidget* parent, const SaveDialogRequest& request) {
    if (const SaveDialogHandler& handler = Handler()) return handler(parent, request);
    return ShowPlatformSaveDialog(parent, request);
}

std::optional<std::string> ShowPlatformSaveDialog(QWidget* parent,
                                                  const SaveDialogRequest& request) {
    QFileDialog dialog(parent, request.title);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(request.filters);
    // The caller asks its own question, with its own words, before it overwrites.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty() || chosen.front().isEmpty()) return std::nullopt;
    return QFile::encodeName(chosen.front()).toStdString();
}

ScopedSaveDialogHandler::ScopedSaveDialogHandler(SaveDialogHandler handler)
    : previous_(std::exchange(Handler(), std::move(handler))) {}

ScopedSaveDialogHandler::~ScopedSaveDialogHandler() {
    Handler() = std::move(previous_);
}

}  // namespace kestrova
