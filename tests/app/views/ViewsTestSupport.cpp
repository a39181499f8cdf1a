#include "ViewsTestSupport.h"

#include <chrono>
#include <fstream>

#include <QAbstractItemView>

#include "PageTableModel.h"

#include "fetchcore/CTask.h"
#include "kesapp/AppState.h"
#include "kesapp/Artwork.h"
#include "kesapp/StatusPanels.h"
#include "platform/KernelObjects.h"
#include "tessel/KeyedCollection.h"
#include "tessel/Log.h"
#include "tessel/Messanger.h"
#include "tessel/WorkerThread.h"

namespace kestrova::test {

MessageBoxes::MessageBoxes(int answer)
    : answer(answer), handler_([this](const std::string& p, int b, const std::string& t) {
          shown.push_back({p, b, t});
          return this->answer;
      }) {}

SaveDialogs::SaveDialogs(std::optional<std::string> choice)
    : choice(std::move(choice)), handler_([this](QWidget*, const SaveDialogRequest& request) {
          requests.push_back(request);
          return this->choice;
      }) {}

TempLog::TempLog() {
    auto log = std::make_shared<tessel::Log>();
    log->Open(dir_.filePath(QStringLiteral("Kestrova.log")).toStdString());
    app::SetProcessLog(log);
}

TempLog::~TempLog() {
    app::SetProcessLog(nullptr);
}

std::vector<TempLog::Entry> TempLog::Entries() const {
    std::vector<Entry> entries;
    std::ifstream in(dir_.filePath(QStringLiteral("Kestrova.log")).toStdString());
    for (std::string line; std::getline(in, line);) {
        // time, thread, level, number, source, message
        std::vector<std::string> fields;
        size_t start = 0;
        for (size_t tab; fields.size() < 5 && (tab = line.find('\t', start)) != std::string::npos;
             start = tab + 1)
            fields.push_back(line.substr(start, tab - start));
        if (fields.size() != 5 || fields[2].size() < 2) continue;
        entries.push_back(
            {std::stoi(fields[2].substr(1)), fields[3], fields[4], line.substr(start)});
    }
    return entries;
}

PageTableModel& ProgressRows(QWidget& parent) {
    const auto* lv = parent.findChild<QAbstractItemView*>(QStringLiteral("lv"));
    auto* rows = lv ? qobject_cast<PageTableModel*>(lv->model()) : nullptr;
    if (!rows) qFatal("no progress list");
    return *rows;
}

QString Cell(const PageTableModel& rows, int row, int column, int role) {
    return rows.index(row, column).data(role).toString();
}

QPixmap InitialStatusPicture() {
    return QPixmap(QString::fromLatin1(art::kStatusError));
}

StatusPanels* NewStatusPanels(QMainWindow& window) {
    auto* sb = new StatusPanels(&window);
    window.setStatusBar(sb);
    sb->SetPicture(3, InitialStatusPicture());
    sb->SetText(3, QStringLiteral("before"));
    return sb;
}

namespace {

using tessel::Variant;
using tessel::VariantArray;

bool WaitForCancel(const std::string& eventName) {
    auto cancel = platform::CreateEventA(true, false, eventName);
    return platform::WaitForSingleObject(cancel, 20'000) == platform::WaitResult::Signalled;
}

// Each message names its job in its fifth element, as the engine's jobs do.
void Flood(tessel::Messanger& messanger, int count, const std::string& id) {
    for (int i = 1; i <= count; ++i) {
        messanger.Send(
            FloodSkips(i) ? fetchcore::msg::kPageSkipped : fetchcore::msg::kStartSavingPage,
            VariantArray{i, FloodUrl(i), {}, {}, id});
    }
    for (int i = 1; i <= count; ++i) {
        if (FloodSkips(i)) continue;
        const bool saved = FloodSaves(i);
        messanger.Send(fetchcore::msg::kSavingPageComplete,
                       VariantArray{FloodUrl(i), saved, saved ? "" : "HTTP 404", {}, id});
    }
}

}  // namespace

bool FloodSkips(int i) {
    return i % 3 == 0;
}

bool FloodSaves(int i) {
    return i % 2 == 0;
}

namespace {

class ScriptedJob : public tessel::Worker {
  public:
    bool HasMethod(const std::string& name) const override { return name == "Run"; }
    void Call(const std::string&, const Variant& argument) override {
        auto data = argument.As<tessel::KeyedCollection>();
        auto messanger = data->Item("Messanger").As<tessel::Messanger>();
        const std::string id = data->Item("Cookie").ToString();
        const std::string script = data->Item("Task").As<fetchcore::CTask>()->KW();
        if (script == "wait-cancel") {
            const bool cancelled = WaitForCancel(data->Item("CancelEventName").ToString());
            messanger->Send(fetchcore::msg::kJobComplete,
                            VariantArray{id, false, 1, cancelled ? "Cancelled" : "Timed out"});
        } else if (script == "pages-wait-cancel" || script == "saved-wait-cancel") {
            // As the engine does it: each page cancelled fails, the job itself ends well.
            const bool saved = script == "saved-wait-cancel";  // before the cancel comes
            const auto pageEnds = [&](bool ok, const char* error) {
                messanger->Send(fetchcore::msg::kSavingPageComplete,
                                VariantArray{FloodUrl(1), ok, error, {}, id});
            };
            messanger->Send(fetchcore::msg::kStartSavingPage,
                            VariantArray{1, FloodUrl(1), {}, {}, id});
            if (saved) pageEnds(true, "");
            const bool cancelled = WaitForCancel(data->Item("CancelEventName").ToString());
            if (!saved) pageEnds(false, cancelled ? "Cancelled" : "Timed out");
            messanger->Send(fetchcore::msg::kJobComplete, VariantArray{id, true, 0, ""});
        } else if (script.starts_with("flood:")) {
            Flood(*messanger, std::stoi(script.substr(6)), id);
            messanger->Send(fetchcore::msg::kJobComplete, VariantArray{id, true, 0, ""});
        }
    }
};

}  // namespace

void RegisterScriptedJobs() {
    tessel::WorkerRegistry::Register(fetchcore::kSaveWorkerProgID,
                                     [] { return std::make_shared<ScriptedJob>(); });
}

std::shared_ptr<fetchcore::CTask> ScriptTask(const std::string& script) {
    auto task = std::make_shared<fetchcore::CTask>();
    task->KW(script);
    return task;
}

std::string FloodUrl(int i) {
    return "http://flood.example/page/" + std::to_string(i);
}

}  // namespace kestrova::test
