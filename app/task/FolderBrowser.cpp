#include "FolderBrowser.h"

#include <utility>

#include <QFileDialog>

namespace kestrova {
namespace {

FolderBrowserHandler& Handler() {
    static FolderBrowserHandler handler;
    return handler;
}

}  // namespace

QUrl ShowFolderDialog(QWidget* owner, const QString& title) {
    // Only file-system folders are of use; the dialog is asked to offer nothing else.
    return QFileDialog::getExistingDirectoryUrl(owner, title, QUrl(), QFileDialog::ShowDirsOnly,
                                                {QStringLiteral("file")});
}

QUrl BrowseForFolder(QWidget* owner, const QString& title) {
    const FolderBrowserHandler& handler = Handler();
    return handler ? handler(owner, title) : ShowFolderDialog(owner, title);
}

ScopedFolderBrowser::ScopedFolderBrowser(FolderBrowserHandler handler)
    : previous_(std::exchange(Handler(), std::move(handler))) {}

ScopedFolderBrowser::~ScopedFolderBrowser() {
    Handler() = std::move(previous_);
}

}  // namespace kestrova
