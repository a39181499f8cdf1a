#pragma once

#include <functional>

#include <QString>
#include <QUrl>

class QWidget;

namespace kestrova {

// Asks the user for a folder, in a dialog owned by `owner` and captioned `title`. The
// answer is an empty URL when the user cancelled, and may be a non-file URL when the
// desktop's dialog offers virtual places.
QUrl BrowseForFolder(QWidget* owner, const QString& title);

using FolderBrowserHandler = std::function<QUrl(QWidget* owner, const QString& title)>;

// The handler used when none is installed: QFileDialog.
QUrl ShowFolderDialog(QWidget* owner, const QString& title);

// Replaces the dialog for its lifetime (tests choose without a dialog).
class ScopedFolderBrowser {
  public:
    explicit ScopedFolderBrowser(FolderBrowserHandler handler);
    ~ScopedFolderBrowser();
    ScopedFolderBrowser(const ScopedFolderBrowser&) = delete;
    ScopedFolderBrowser& operator=(const ScopedFolderBrowser&) = delete;

  private:
    FolderBrowserHandler previous_;
};

}  // namespace kestrova
