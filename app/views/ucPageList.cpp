#include "ucPageList.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kestrova {

ucPageList::ucPageList(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("ucPageList1"));
    auto* column = new QVBoxLayout(this);
    LabelCaption_ = new QLabel(QStringLiteral(" List"), this);
    LabelCaption_->setObjectName(QStringLiteral("LabelCaption"));
    LabelCaption_->setStyleSheet(QStringLiteral("background:#1b2f8a;color:white;font-weight:bold"));
    txtPageList_ = new QPlainTextEdit(this);
    txtPageList_->setObjectName(QStringLiteral("txtPageList"));
    cmdSave_ = new QPushButton(tr("&Save"), this);
    cmdSave_->setObjectName(QStringLiteral("cmdSave"));
    column->addWidget(LabelCaption_);
    column->addWidget(txtPageList_, 1);
    column->addWidget(cmdSave_, 0, Qt::AlignRight);
    setFocusProxy(txtPageList_);
}

ucPageList::~ucPageList() = default;

void ucPageList::Init(fetchcore::CSaver& saver) {
    moSaverEvents_ = saver.Connect(*this);
}

void ucPageList::ResultList(const std::string& ResultList) {
    txtPageList_->setPlainText(QString::fromStdString(ResultList));
}

}  // namespace kestrova
