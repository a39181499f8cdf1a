#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QString>
#include <QTemporaryDir>

#include "FMain.h"

class QTreeWidget;

namespace kestrova::e2e {

// A task as the user types it into the editor.
struct TypedTask {
    QString keyword;
    QString searchUrl;  // typed after the keyword, replacing the URL the keyword made
    QString from = QStringLiteral("1");
    QString to = QStringLiteral("10");
    QString perPage = QStringLiteral("10");
    bool downloadPages = true;
    bool skipNonHtml = true;
    QString saveTo;
};

// A row of the progress view as the user sees it.
struct ShownRow {
    int n = 0;
    std::string url;
    QString state;
    bool operator==(const ShownRow&) const = default;
};

// The whole program in this process: the main window started the usual way (splash, log,
// saver, views), its data folder and running marker in a temporary folder, driven through
// its widgets as a user would.
class ProgramDriver {
  public:
    ProgramDriver();
    ~ProgramDriver();
    ProgramDriver(const ProgramDriver&) = delete;
    ProgramDriver& operator=(const ProgramDriver&) = delete;

    FMain& Window() { return *window_; }
    std::string Folder() const { return dir_.path().toStdString(); }

    void Type(const TypedTask& task);
    void ClickDownload();
    void ClickCancel();
    void ClickNode(const QString& text);  // "Task", "Pages", "List"

    std::vector<ShownRow> Rows();
    QString StatusText(int panel);
    QString ResultListText();
    bool CancelEnabled();
    bool Shows(const char* viewName);

    // Runs the event loop until `done` holds or `seconds` have passed; true when it held.
    static bool PumpUntil(const std::function<bool()>& done, int seconds = 20);

  private:
    QTemporaryDir dir_;
    QByteArray previousAppData_;
    std::unique_ptr<FMain> window_;
};

}  // namespace kestrova::e2e
