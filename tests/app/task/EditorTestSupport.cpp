#include "EditorTestSupport.h"

#include <QFile>
#include <QVBoxLayout>

#include "fetchcore/CSaver.h"
#include "kesapp/Product.h"
#include "tessel/KeyedCollection.h"
#include "tessel/Messanger.h"
#include "tessel/WorkerThread.h"

namespace kestrova::test {

QSettings StoredSettings() {
    return QSettings(
        QString::fromStdString(SettingsFolder()) + QStringLiteral("/Kestrova/Kestrova.ini"),
        QSettings::IniFormat);
}

void ForgetSettings() {
    QFile::remove(StoredSettings().fileName());
}

HostWindow::HostWindow() {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    editor_ = new ucTask(this);
    sb_ = new StatusPanels(this);
    column->addWidget(editor_, 1);
    column->addWidget(sb_);
    connect(editor_, &ucTask::DownloadButtonDone, this, [this] { ++goResultsPageCalls; });
    resize(540, 360);
}

MessageBoxes::MessageBoxes()
    : handler_([this](const std::string& prompt, int style, const std::string&) {
          shown.emplace_back(prompt, style);
          return mb::kOK;
      }) {}

namespace {

class CaptureJob : public tessel::Worker {
  public:
    using Keep = std::function<void(std::shared_ptr<fetchcore::CTask>)>;
    explicit CaptureJob(Keep keep) : keep_(std::move(keep)) {}
    bool HasMethod(const std::string& name) const override { return name == "Run"; }
    void Call(const std::string&, const tessel::Variant& argument) override {
        auto data = argument.As<tessel::KeyedCollection>();
        keep_(data->Item("Task").As<fetchcore::CTask>());
        data->Item("Messanger")
            .As<tessel::Messanger>()
            ->Send(fetchcore::msg::kJobComplete,
                   tessel::VariantArray{data->Item("Cookie").ToString(), true, 0, ""});
    }

  private:
    Keep keep_;
};

}  // namespace

TaskCapture::TaskCapture() : previous_(tessel::WorkerRegistry::Find(fetchcore::kSaveWorkerProgID)) {
    tessel::WorkerRegistry::Register(fetchcore::kSaveWorkerProgID, [shared = shared_] {
        return std::make_shared<CaptureJob>([shared](std::shared_ptr<fetchcore::CTask> task) {
            const std::lock_guard guard(shared->lock);
            shared->tasks.push_back(std::move(task));
        });
    });
}

TaskCapture::~TaskCapture() {
    tessel::WorkerThread::JoinAll();
    tessel::WorkerRegistry::Register(fetchcore::kSaveWorkerProgID, previous_);
}

std::vector<std::shared_ptr<fetchcore::CTask>> TaskCapture::Tasks() const {
    const std::lock_guard guard(shared_->lock);
    return shared_->tasks;
}

}  // namespace kestrova::test
