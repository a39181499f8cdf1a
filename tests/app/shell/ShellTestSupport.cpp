#include "ShellTestSupport.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>

#include <QLineEdit>

#include "fetchcore/CSaver.h"
#include "platform/KernelObjects.h"
#include "tessel/KeyedCollection.h"
#include "tessel/Messanger.h"
#include "tessel/WorkerThread.h"

namespace kestrova::test {

TempAppData::TempAppData() : previous_(qgetenv("APPDATA")) {
    SetAppData(Path());
}

TempAppData::~TempAppData() {
    qputenv("APPDATA", previous_);
}

void TempAppData::SetAppData(const std::string& value) {
    qputenv("APPDATA", QByteArray::fromStdString(value));
}

MessageBoxes::MessageBoxes(int answer)
    : answer(answer), handler_([this](const std::string& p, int b, const std::string& t) {
          shown.push_back({p, b, t});
          return this->answer;
      }) {}

ShellOptions QuickStart(const std::string& markerFolder, int splashMs) {
    ShellOptions options;
    options.splashTime = std::chrono::milliseconds(splashMs);
    options.markerFolder = markerFolder;
    return options;
}

std::atomic<bool> JobProbe::started{false};
std::atomic<bool> JobProbe::cancelled{false};

namespace {

using tessel::Variant;
using tessel::VariantArray;

// Plays the scripted keywords; any other task goes to the engine's own save job.
class ScriptedJob : public tessel::Worker {
  public:
    explicit ScriptedJob(tessel::WorkerFactory engine) : engine_(std::move(engine)) {}
    bool HasMethod(const std::string& name) const override { return name == "Run"; }
    void Call(const std::string& name, const Variant& argument) override {
        auto data = argument.As<tessel::KeyedCollection>();
        auto messanger = data->Item("Messanger").As<tessel::Messanger>();
        const std::string id = data->Item("Cookie").ToString();
        const std::string script = data->Item("Task").As<fetchcore::CTask>()->KW();
        if (script == "results") {
            messanger->Send(fetchcore::msg::kResultList, VariantArray{kResultList, {}, {}, {}});
            messanger->Send(fetchcore::msg::kJobComplete, VariantArray{id, true, 0, ""});
        } else if (script == "wait-cancel") {
            const bool cancelled = WaitForCancel(data->Item("CancelEventName").ToString());
            messanger->Send(fetchcore::msg::kJobComplete,
                            VariantArray{id, false, 1, cancelled ? "Cancelled" : "Timed out"});
        } else if (engine_) {
            engine_()->Call(name, argument);
        }
    }

  private:
    static bool WaitForCancel(const std::string& eventName) {
        auto cancel = platform::CreateEventA(true, false, eventName);
        JobProbe::started = true;
        JobProbe::cancelled =
            platform::WaitForSingleObject(cancel, 20'000) == platform::WaitResult::Signalled;
        return JobProbe::cancelled;
    }

    tessel::WorkerFactory engine_;
};

}  // namespace

void RegisterScriptedJobs() {
    tessel::WorkerFactory engine = tessel::WorkerRegistry::Find(fetchcore::kSaveWorkerProgID);
    tessel::WorkerRegistry::Register(fetchcore::kSaveWorkerProgID,
                                     [engine] { return std::make_shared<ScriptedJob>(engine); });
}

std::vector<LogEntry> ReadLog(const std::string& file) {
    std::vector<LogEntry> entries;
    std::ifstream in(file);
    for (std::string line; std::getline(in, line);) {
        std::vector<std::string> fields;
        size_t start = 0;
        for (int i = 0; i < 5; ++i) {
            const size_t tab = line.find('\t', start);
            if (tab == std::string::npos) break;
            fields.push_back(line.substr(start, tab - start));
            start = tab + 1;
        }
        if (fields.size() != 5) continue;
        entries.push_back({fields[2], fields[3], fields[4], line.substr(start)});
    }
    return entries;
}

void SetTaskFields(FMain& window, const QString& keyword, const QString& url,
                   const QString& saveTo) {
    // The URL first: the editor rewrites the URL from the keyword, and the keyword from a URL.
    Child<QLineEdit>(window, "txtSearchURL")
        ->setText(url.isEmpty() ? QStringLiteral("http://www.google.com/search?q=x") : url);
    Child<QLineEdit>(window, "txtKeyword")->setText(keyword);
    Child<QLineEdit>(window, "txtSaveTo")
        ->setText(saveTo.isEmpty() ? QStringLiteral("/tmp/k") : saveTo);
}

size_t MessageBoxes::Count(const std::string& prompt) const {
    return static_cast<size_t>(std::count_if(shown.begin(), shown.end(),
                                             [&](const Shown& s) { return s.prompt == prompt; }));
}

}  // namespace kestrova::test
