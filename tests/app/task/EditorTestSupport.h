#pragma once

#include "QtTestClasses.h"

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include <QSettings>
#include <QTemporaryDir>
#include <QWidget>

#include "fetchcore/CTask.h"
#include "kesapp/ShowMsg.h"
#include "kesapp/StatusPanels.h"
#include "tessel/WorkerThread.h"
#include "ucTask.h"

namespace kestrova::test {

// The folders TestMain made for the run: the settings store and the documents folder.
std::string SettingsFolder();
QString DocumentsFolder();

// The editor's settings file as any other program would see it; removing it makes the
// next editor start as on the very first run.
QSettings StoredSettings();
void ForgetSettings();

// Stands in for the main window: a status bar named "sb"; counts the editor's requests for
// the progress view.
class HostWindow : public QWidget {
    Q_OBJECT

  public:
    HostWindow();
    ucTask& Editor() { return *editor_; }
    StatusPanels& Status() { return *sb_; }
    int goResultsPageCalls = 0;

  private:
    StatusPanels* sb_;
    ucTask* editor_;
};

// Records every message box and answers OK without showing anything.
class MessageBoxes {
  public:
    MessageBoxes();
    std::vector<std::pair<std::string, int>> shown;  // prompt, style

  private:
    ScopedMsgBoxHandler handler_;
};

// Plays the save job: keeps the task it was given and completes at once.
class TaskCapture {
  public:
    TaskCapture();
    ~TaskCapture();
    std::vector<std::shared_ptr<fetchcore::CTask>> Tasks() const;

  private:
    struct Shared {
        mutable std::mutex lock;
        std::vector<std::shared_ptr<fetchcore::CTask>> tasks;
    };
    std::shared_ptr<Shared> shared_ = std::make_shared<Shared>();
    tessel::WorkerFactory previous_;
};

template <class T>
T* Child(QWidget& parent, const char* name) {
    return parent.findChild<T*>(QString::fromLatin1(name));
}

}  // namespace kestrova::test
