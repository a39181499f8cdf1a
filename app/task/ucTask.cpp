#include "ucTask.h"

#include <QDir>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>

#include "fetchcore/CSaver.h"
#include "kesapp/AppState.h"
#include "kesapp/ErrorTrap.h"
#include "kesapp/ShowMsg.h"
#include "taskcore/OutputFolder.h"
#include "taskcore/SearchUrl.h"
#include "taskcore/TaskChecks.h"

namespace kestrova {
namespace {

QLineEdit* AddField(QGridLayout* grid, int row, const QString& caption, const char* name) {
    auto* box = new QLineEdit(grid->parentWidget());
    box->setObjectName(QString::fromLatin1(name));
    auto* label = new QLabel(caption, grid->parentWidget());
    label->setBuddy(box);
    grid->addWidget(label, row, 0);
    grid->addWidget(box, row, 1);
    return box;
}

std::string DefaultSaveTo() {
    return DefaultOutputFolder(
        QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation).toStdString(),
        QDir::homePath().toStdString());
}

std::shared_ptr<fetchcore::CTask> NewTask(const TaskValues& v) {
    auto task = std::make_shared<fetchcore::CTask>();
    task->SearchURL(v.SearchURL);
    task->KW(v.KW);
    task->ResultsFrom(v.ResultsFrom);
    task->ResultsTo(v.ResultsTo);
    task->ResultsPerPage(v.ResultsPerPage);
    task->DownloadResultPages(v.DownloadResultPages);
    task->SkipNonHTMLFiles(v.SkipNonHTMLFiles);
    task->SaveResultsToFolder(v.SaveResultsToFolder);
    return task;
}

}  // namespace

ucTask::ucTask(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("ucTask1"));
    auto* grid = new QGridLayout(this);
    LabelCaption_ = new QLabel(QStringLiteral(" Task"), this);
    LabelCaption_->setObjectName(QStringLiteral("LabelCaption"));
    LabelCaption_->setStyleSheet(QStringLiteral("background:#1b2f8a;color:white;font-weight:bold"));
    grid->addWidget(LabelCaption_, 0, 0, 1, 2);
    txtKeyword_ = AddField(grid, 1, tr("&Keyword:"), "txtKeyword");
    txtSearchURL_ = AddField(grid, 2, tr("&URL:"), "txtSearchURL");
    txtSaveTo_ = AddField(grid, 3, tr("Save to &folder:"), "txtSaveTo");
    cmdDoIt_ = new QPushButton(tr("&Download"), this);
    cmdDoIt_->setObjectName(QStringLiteral("cmdDoIt"));
    grid->addWidget(cmdDoIt_, 4, 1, Qt::AlignRight);
    grid->setRowStretch(5, 1);
    txtKeyword_->setText(QStringLiteral("kestrova"));
    txtSearchURL_->setText(QString::fromStdString(KeywordToURL("kestrova")));
    txtSaveTo_->setText(QString::fromStdString(DefaultSaveTo()));
    connect(cmdDoIt_, &QPushButton::clicked, this, &ucTask::cmdDoIt_Click);
    setFocusProxy(txtKeyword_);
}

ucTask::~ucTask() = default;

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

void ucTask::DoIt() {
    TaskFields fields;
    fields.keyword = Keyword().toStdString();
    fields.searchUrl = SearchURL().toStdString();
    fields.resultsFrom = "1";
    fields.resultsTo = "10";
    fields.resultsPerPage = "10";
    fields.saveTo = SaveToFolder().toStdString();
    const TaskCheckResult checked = CheckTask(fields);
    if (!checked.task) {
        ShowMsg(checked.falseCause.empty() ? msg::kInvalidParameters : checked.falseCause,
                mb::kExclamation);
        QLineEdit* focus = checked.setFocusTo == TaskControl::Keyword     ? txtKeyword_
                           : checked.setFocusTo == TaskControl::SearchURL ? txtSearchURL_
                           : checked.setFocusTo == TaskControl::SaveTo    ? txtSaveTo_
                                                                          : nullptr;
        if (focus) focus->setFocus();
        return;
    }
    task_ = NewTask(*checked.task);
    app::SetLastJob(task_->KW(), task_->SaveResultsToFolder());
    if (saver_) saver_->Save(task_);
}

void ucTask::cmdDoIt_Click() {
    app::Trapped("ucTask.cmdDoIt_Click", tessel::level::kError, [&] {
        DoIt();
        // By name, as the editor knows nothing of its window but this one operation.
        if (!QMetaObject::invokeMethod(window(), "GoResultsPage"))
            throw tessel::ComError(tessel::err::kMethodNotSupported,
                                   "Object doesn't support this property or method");
    });
}

}  // namespace kestrova
