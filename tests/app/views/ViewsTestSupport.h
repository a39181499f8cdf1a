#pragma once

#include "QtTestClasses.h"
#include "ShellCalls.h"

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <QMainWindow>
#include <QPixmap>
#include <QTemporaryDir>

#include "SaveFileDialog.h"
#include "fetchcore/CSaver.h"
#include "kesapp/ShellOpen.h"
#include "kesapp/ShowMsg.h"
#include "kesapp/UiMessagePump.h"

namespace kestrova {
class PageTableModel;
class StatusPanels;
}  // namespace kestrova

namespace kestrova::test {

// Records every message box and answers it without showing anything.
class MessageBoxes {
  public:
    struct Shown {
        std::string prompt;
        int buttons = 0;
        std::string title;
    };
    explicit MessageBoxes(int answer = mb::kOK);
    std::vector<Shown> shown;
    int answer;

  private:
    ScopedMsgBoxHandler handler_;
};

// Answers the save dialog with `choice` (nothing: cancelled) and records the requests.
class SaveDialogs {
  public:
    explicit SaveDialogs(std::optional<std::string> choice);
    std::vector<SaveDialogRequest> requests;
    std::optional<std::string> choice;

  private:
    ScopedSaveDialogHandler handler_;
};

// The process log on a file in a temporary folder for the life of the object.
class TempLog {
  public:
    TempLog();
    ~TempLog();
    struct Entry {
        int level = -1;
        std::string number;
        std::string source;
        std::string message;
    };
    std::vector<Entry> Entries() const;
    std::string Folder() const { return dir_.path().toStdString(); }

  private:
    QTemporaryDir dir_;
};

// A status bar like the main window's: named "sb", its third panel showing the picture the
// main window gives it before the views start.
StatusPanels* NewStatusPanels(QMainWindow& window);
QPixmap InitialStatusPicture();

// The rows of the progress list inside `parent` (a view or the main window), and the text of
// one of their cells.
PageTableModel& ProgressRows(QWidget& parent);
QString Cell(const PageTableModel& rows, int row, int column, int role = Qt::DisplayRole);

// A window with that status bar around one view, and a saver that has been initialised, the
// view bound to it. Engine messages are handled by the Qt event loop, as in the program.
template <class View>
struct Host {
    Host() : sb(NewStatusPanels(window)), view(new View(&window)) {
        window.setCentralWidget(view);
        saver.Init(nullptr);
        view->Init(saver);
    }

    UiMessagePump pump;
    fetchcore::CSaver saver;
    QMainWindow window;
    StatusPanels* sb;  // owned by the window
    View* view;        // owned by the window
};

// Save jobs played on a real worker thread, chosen by the task's keyword:
//   "wait-cancel": waits for the saver's cancel (20 s at most), then completes with
//                  "Cancelled";
//   "pages-wait-cancel": starts saving page 1, waits for the cancel as "wait-cancel" does,
//                        fails the page with "Cancelled" and completes successfully;
//   "saved-wait-cancel": saves page 1, then waits for the cancel and completes successfully;
//   "flood:N": reports pages 1 to N as fast as it can, each skipped or started, then every
//              started page saved or failed ("HTTP 404"), then completes.
void RegisterScriptedJobs();
std::shared_ptr<fetchcore::CTask> ScriptTask(const std::string& script);
// The URL of page `i` of a flood, and what becomes of it.
std::string FloodUrl(int i);
bool FloodSkips(int i);
bool FloodSaves(int i);

}  // namespace kestrova::test
