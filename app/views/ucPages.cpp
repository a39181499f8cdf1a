#include "ucPages.h"

#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "kesapp/StatusPanels.h"

namespace kestrova {

ucPages::ucPages(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("ucPages1"));
    auto* column = new QVBoxLayout(this);
    LabelCaption_ = new QLabel(QStringLiteral(" Pages"), this);
    LabelCaption_->setObjectName(QStringLiteral("LabelCaption"));
    LabelCaption_->setStyleSheet(QStringLiteral("background:#1b2f8a;color:white;font-weight:bold"));
    lv_ = new QTreeWidget(this);
    lv_->setObjectName(QStringLiteral("lv"));
    lv_->setHeaderLabels({tr("N"), tr("URL"), tr("Download")});
    lv_->setRootIsDecorated(false);
    lv_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    cmdCancel_ = new QPushButton(tr("Cancel"), this);
    cmdCancel_->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel_->setEnabled(false);
    column->addWidget(LabelCaption_);
    column->addWidget(lv_, 1);
    column->addWidget(cmdCancel_, 0, Qt::AlignRight);
    connect(cmdCancel_, &QPushButton::clicked, this, &ucPages::cmdCancel_Click);
    setFocusProxy(lv_);
}

ucPages::~ucPages() = default;

void ucPages::Init(fetchcore::CSaver& saver) {
    moSaver_ = &saver;
    moSaverEvents_ = saver.Connect(*this);
    if (StatusPanels* sb = StatusPanels::Of(this)) {
        mStatusPicture_ = sb->Picture(3);
        sb->SetPicture(3, {});
        sb->SetText(3, {});
    }
}

void ucPages::Finalize() {
    moSaverEvents_.Reset();
    moSaver_ = nullptr;
    mStatusPicture_ = {};
}

void ucPages::StartDownload() {
    lv_->clear();
    cmdCancel_->setEnabled(true);
    if (StatusPanels* sb = StatusPanels::Of(this)) sb->SetText(2, tr("Downloading..."));
}

void ucPages::Complete(bool, const std::string&) {
    cmdCancel_->setEnabled(false);
    if (StatusPanels* sb = StatusPanels::Of(this)) sb->SetText(2, tr("Complete"));
}

void ucPages::cmdCancel_Click() {
    if (moSaver_) moSaver_->CancelAll();
}

}  // namespace kestrova
