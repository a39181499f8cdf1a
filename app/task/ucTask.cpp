#include "ucTask.h"

#include <QCheckBox>
#include <QPushButton>

#include "FolderBrowser.h"
#include "TextBox.h"
#include "fetchcore/CSaver.h"
#include "kesapp/AppState.h"
#include "kesapp/ErrorTrap.h"
#include "kesapp/ShowMsg.h"
#include "taskcore/NewTask.h"
#include "taskcore/SearchUrl.h"
#include "tessel/Error.h"

namespace kestrova {

ucTask::ucTask(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("ucTask1"));
    CreateControls();
    ConnectControls();
    ReadSettings();
}

ucTask::~ucTask() {
    StoreSettings();
}

void ucTask::ConnectControls() {
    connect(txtKeyword_, &QLineEdit::textChanged, this, &ucTask::txtKeyword_Change);
    connect(txtSearchURL_, &QLineEdit::textChanged, this, &ucTask::txtSearchURL_Change);
    connect(chkDownloadPages_, &QCheckBox::toggled, this, &ucTask::chkDownloadPages_Click);
    connect(cmdDoIt_, &QPushButton::clicked, this, &ucTask::cmdDoIt_Click);
    connect(cmdSaveTo_, &QPushButton::clicked, this, &ucTask::cmdSaveTo_Click);
}

void ucTask::Init(fetchcore::CSaver& saver) {
    saver_ = &saver;
}

QString ucTask::Keyword() const {
    return txtKeyword_->text();
}
QString ucTask::SearchURL() const {
    return txtSearchURL_->text();
}
QString ucTask::SaveToFolder() const {
    return txtSaveTo_->text();
}

TaskFields ucTask::Fields() const {
    TaskFields fields;
    fields.keyword = Keyword().toStdString();
    fields.searchUrl = SearchURL().toStdString();
    fields.resultsFrom = txtResultsFrom_->text().toStdString();
    fields.resultsTo = txtResultsTo_->text().toStdString();
    fields.resultsPerPage = txtResultsPerPage_->text().toStdString();
    fields.downloadPages = chkDownloadPages_->isChecked();
    fields.skipNonHtmlPages = chkSkipNonHtmlPages_->isChecked();
    fields.saveTo = SaveToFolder().toStdString();
    return fields;
}

QWidget* ucTask::ControlOf(TaskControl control) const {
    switch (control) {
        case TaskControl::Keyword:
            return txtKeyword_;
        case TaskControl::SearchURL:
            return txtSearchURL_;
        case TaskControl::ResultsFrom:
            return txtResultsFrom_;
        case TaskControl::ResultsTo:
            return txtResultsTo_;
        case TaskControl::ResultsPerPage:
            return txtResultsPerPage_;
        case TaskControl::SaveTo:
            return txtSaveTo_;
        case TaskControl::None:
            break;
    }
    return nullptr;
}

std::shared_ptr<fetchcore::CTask> ucTask::GetResults(std::string& FalseCause,
                                                     QWidget*& SetFocusTo) {
    return ResultsOf(Fields(), FalseCause, SetFocusTo);
}

std::shared_ptr<fetchcore::CTask> ucTask::TaskFor(const std::string& keyword,
                                                  std::string& FalseCause, QWidget*& SetFocusTo) {
    TaskFields fields = Fields();
    fields.keyword = keyword;
    fields.searchUrl = KeywordIntoURL(fields.searchUrl, keyword);
    return ResultsOf(fields, FalseCause, SetFocusTo);
}

std::shared_ptr<fetchcore::CTask> ucTask::ResultsOf(const TaskFields& fields,
                                                    std::string& FalseCause, QWidget*& SetFocusTo) {
    FalseCause.clear();
    SetFocusTo = nullptr;
    TaskCheckResult checked = CheckTask(fields);
    if (!checked.task) {
        FalseCause = checked.falseCause;
        SetFocusTo = ControlOf(checked.setFocusTo);
        return nullptr;
    }
    TaskValues values = *checked.task;
    if (!ApplyOptions(values, FalseCause, SetFocusTo)) return nullptr;
    if (!TakeSearchKey(values, FalseCause)) {
        SetFocusTo = txtSearchURL_;
        return nullptr;
    }
    // A task that cannot be made is no task, with no check to blame.
    std::shared_ptr<fetchcore::CTask> task;
    app::Trapped("ucTask.GetResults", tessel::level::kError, [&] { task = NewTask(values); });
    return task;
}

void ucTask::DoIt() {
    std::string falseCause;
    QWidget* setFocusTo = nullptr;
    const bool shown = window()->isVisible();
    const std::shared_ptr<fetchcore::CTask> task = GetResults(falseCause, setFocusTo);
    // The checks may wait for the desktop's secret store; a window closed meanwhile (its
    // unload has cancelled every job) starts none and asks nothing.
    if (shown && !window()->isVisible()) return;
    if (!task) {
        ShowMsg(falseCause.empty() ? msg::kInvalidParameters : falseCause, mb::kExclamation);
        if (setFocusTo) setFocusTo->setFocus();
        return;
    }
    app::SetLastJob(task->KW(), task->SaveResultsToFolder());
    if (!saver_) throw tessel::ComError(tessel::err::kObjectRequired, "Object required");
    saver_->Save(task);
}

void ucTask::chkDownloadPages_Click() {
    chkSkipNonHtmlPages_->setEnabled(chkDownloadPages_->isChecked());
    txtSaveTo_->setEnabled(chkSkipNonHtmlPages_->isEnabled());
    cmdSaveTo_->setEnabled(chkSkipNonHtmlPages_->isEnabled());
    EnableOptions();
}

void ucTask::cmdDoIt_Click() {
    app::Trapped("ucTask.cmdDoIt_Click", tessel::level::kError, [&] {
        DoIt();
        emit DownloadButtonDone();
    });
}

void ucTask::cmdSaveTo_Click() {
    app::Trapped("ucTask.cmdSaveTo_Click", tessel::level::kError, [&] {
        const QUrl chosen = BrowseForFolder(window(), tr("Select a Folder"));
        // Cancelled, or a place that is not a folder on disk: the box keeps its text.
        if (chosen.isEmpty() || !chosen.isLocalFile()) return;
        const QString path = chosen.toLocalFile();
        if (path.isEmpty() || path.startsWith(QLatin1Char(':'))) return;
        txtSaveTo_->setText(path);
        txtSaveTo_->setFocus();
        // Selected also when the box had kept the focus through the dialog.
        txtSaveTo_->selectAll();
    });
}

}  // namespace kestrova
