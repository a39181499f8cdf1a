#pragma once

#include "QtTestClasses.h"
#include "ShellCalls.h"

#include <atomic>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include <QTemporaryDir>
#include <QWidget>

#include "FMain.h"
#include "kesapp/ShellOpen.h"
#include "kesapp/ShowMsg.h"

namespace kestrova::test {

// A fresh temporary folder as $APPDATA for the life of the object.
class TempAppData {
  public:
    TempAppData();
    ~TempAppData();
    TempAppData(const TempAppData&) = delete;
    TempAppData& operator=(const TempAppData&) = delete;

    std::string Path() const { return dir_.path().toStdString(); }
    std::string LogFile() const { return Path() + "/Quillmoor/Kestrova/Kestrova.log"; }
    void SetAppData(const std::string& value);

  private:
    QTemporaryDir dir_;
    QByteArray previous_;
};

// Records every message box and answers it without showing anything.
class MessageBoxes {
  public:
    struct Shown {
        std::string prompt;
        int buttons = 0;
        std::string title;
    };
    explicit MessageBoxes(int answer = mb::kCancel);
    size_t Count(const std::string& prompt) const;
    std::vector<Shown> shown;
    int answer;

  private:
    ScopedMsgBoxHandler handler_;
};

// Start-up options for tests: a splash of `splashMs`, the marker in a folder of the test's.
ShellOptions QuickStart(const std::string& markerFolder, int splashMs = 1);

// Save jobs played by the tests, chosen by the task's keyword:
//   "results": sends a result list of two URLs and completes;
//   "wait-cancel": waits for the saver's cancel (20 s at most) and completes with "Cancelled";
//   any other keyword: the engine's own save job.
inline constexpr const char* kResultList = "http://a.example/\r\nhttp://b.example/\r\n";
void RegisterScriptedJobs();
struct JobProbe {
    static std::atomic<bool> started;    // a "wait-cancel" job runs
    static std::atomic<bool> cancelled;  // it ended because of the cancel
};

// The log file's entries, split into their fields.
struct LogEntry {
    std::string level;
    std::string number;
    std::string source;
    std::string message;
};
std::vector<LogEntry> ReadLog(const std::string& file);

// The window's child of the given object name and type; fails the test when missing.
template <class T>
T* Child(QWidget& window, const char* name) {
    return window.findChild<T*>(QString::fromLatin1(name));
}

// Fills the task editor's fields; the URL, when given, is rewritten from the keyword.
void SetTaskFields(FMain& window, const QString& keyword, const QString& url = {},
                   const QString& saveTo = {});

}  // namespace kestrova::test
