// The task options below the output folder: keep pages already saved, write a manifest,
// write a WARC file. They live in the settings store under "Options/", apart from the keys
// of the editor's original fields.
#include <QCheckBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QPushButton>

#include "TaskSettings.h"
#include "TextBox.h"
#include "kesapp/ErrorTrap.h"
#include "kesapp/Twips.h"
#include "tessel/Text.h"
#include "ucTask.h"

namespace kestrova {
namespace {

constexpr const char* kSettingsKey = TaskSettings::kOwnKey;
constexpr const char* kNoWarcFile = "Invalid WARC file. Please enter the name of the WARC file.";

template <class Control>
Control* Option(Control* control, const char* name, const char* key, QRect twips) {
    control->setObjectName(QString::fromLatin1(name));
    control->setProperty(kSettingsKey, QString::fromLatin1(key));
    control->setGeometry(Px(twips.x()), Px(twips.y()), Px(twips.width()), Px(twips.height()));
    return control;
}

bool StoredOn(const TaskSettings& store, const QCheckBox* box) {
    return store.Get(TaskSettings::KeyOf(box), QStringLiteral("0")).trimmed() ==
           QStringLiteral("1");
}

}  // namespace

void ucTask::CreateOptionRows() {
    QWidget* f = fraSERP_;
    chkResume_ = Option(new QCheckBox(tr("Keep pages already saved"), f), "chkResume",
                        "Options/Resume", {210, 1590, 2400, 225});
    chkManifest_ = Option(new QCheckBox(tr("Write a manifest"), f), "chkManifest",
                          "Options/Manifest", {2790, 1590, 1800, 225});
    chkWarc_ = Option(new QCheckBox(tr("Write a WARC file:"), f), "chkWarc", "Options/Warc",
                      {210, 1920, 1590, 225});
    txtWarcFile_ =
        Option(new TextBox(f), "txtWarcFile", "Options/WarcFile", {1890, 1890, 4215, 285});
    cmdWarcFile_ = new QPushButton(QStringLiteral("..."), f);
    cmdWarcFile_->setObjectName(QStringLiteral("cmdWarcFile"));
    cmdWarcFile_->setGeometry(Px(6120), Px(1890), Px(285), Px(285));
    connect(chkWarc_, &QCheckBox::toggled, this, &ucTask::EnableOptions);
    connect(cmdWarcFile_, &QPushButton::clicked, this, &ucTask::cmdWarcFile_Click);
    EnableOptions();
}

void ucTask::ChainOptionTabs(QWidget* before, QWidget* after) {
    QWidget* chain[] = {before,       chkResume_,   chkManifest_, chkWarc_,
                        txtWarcFile_, cmdWarcFile_, after};
    for (size_t i = 0; i + 1 < std::size(chain); ++i) setTabOrder(chain[i], chain[i + 1]);
}

void ucTask::LayOutOptions() {
    // The WARC file's box and button line up with the output folder's.
    cmdWarcFile_->move(cmdSaveTo_->x(), cmdWarcFile_->y());
    const int width = cmdWarcFile_->x() - txtWarcFile_->x() - Px(30);
    if (width >= 0) txtWarcFile_->resize(width, txtWarcFile_->height());
}

void ucTask::ReadOptions(const TaskSettings& store) {
    chkResume_->setChecked(StoredOn(store, chkResume_));
    chkManifest_->setChecked(StoredOn(store, chkManifest_));
    chkWarc_->setChecked(StoredOn(store, chkWarc_));
    txtWarcFile_->setText(store.Get(TaskSettings::KeyOf(txtWarcFile_), {}));
}

// Resume and the manifest concern the saved pages, so they follow "Download pages".
void ucTask::EnableOptions() {
    const bool pages = chkDownloadPages_->isChecked();
    chkResume_->setEnabled(pages);
    chkManifest_->setEnabled(pages);
    txtWarcFile_->setEnabled(chkWarc_->isChecked());
    cmdWarcFile_->setEnabled(chkWarc_->isChecked());
}

bool ucTask::ApplyOptions(TaskValues& values, std::string& FalseCause, QWidget*& SetFocusTo) {
    const bool pages = chkDownloadPages_->isChecked();
    values.Resume = pages && chkResume_->isChecked();
    values.Manifest = pages && chkManifest_->isChecked();
    values.WarcFile.clear();
    if (!chkWarc_->isChecked()) return true;
    values.WarcFile = std::string(tessel::TrimBlanks(txtWarcFile_->text().toStdString()));
    if (!values.WarcFile.empty()) return true;
    FalseCause = kNoWarcFile;
    SetFocusTo = txtWarcFile_;
    return false;
}

void ucTask::cmdWarcFile_Click() {
    app::Trapped("ucTask.cmdWarcFile_Click", tessel::level::kError, [&] {
        // Jobs add their records to the end of the file, so choosing one that exists is no
        // overwrite.
        const QString file = QFileDialog::getSaveFileName(
            window(), tr("WARC File"), txtWarcFile_->text(), tr("WARC files (*.warc *.warc.gz)"),
            nullptr, QFileDialog::DontConfirmOverwrite);
        if (file.isEmpty()) return;
        txtWarcFile_->setText(file);
        txtWarcFile_->setFocus();
        txtWarcFile_->selectAll();
    });
}

}  // namespace kestrova
