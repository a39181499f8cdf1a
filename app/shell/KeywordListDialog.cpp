#include "KeywordListDialog.h"

#include <sstream>

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "kesapp/ShowMsg.h"
#include "taskcore/KeywordList.h"
#include "taskcore/TaskChecks.h"

namespace kestrova {

KeywordListDialog::KeywordListDialog(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("KeywordListDialog"));
    setWindowTitle(tr("Run a Keyword List"));
    auto* layout = new QVBoxLayout(this);
    auto* caption = new QLabel(
        tr("&Keywords, one a line (blank lines and lines starting with # are passed over):"), this);
    txtKeywords_ = new QPlainTextEdit(this);
    txtKeywords_->setObjectName(QStringLiteral("txtKeywords"));
    txtKeywords_->setLineWrapMode(QPlainTextEdit::NoWrap);
    caption->setBuddy(txtKeywords_);
    layout->addWidget(caption);
    layout->addWidget(txtKeywords_);

    auto* form = new QFormLayout;
    txtPause_ = new QSpinBox(this);
    txtPause_->setObjectName(QStringLiteral("txtPause"));
    txtPause_->setRange(0, 3600);
    txtPause_->setSuffix(tr(" s"));
    form->addRow(tr("&Pause between keywords:"), txtPause_);
    layout->addLayout(form);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName(QStringLiteral("buttons"));
    QPushButton* load = buttons->addButton(tr("&Load..."), QDialogButtonBox::ActionRole);
    load->setObjectName(QStringLiteral("cmdLoad"));
    connect(load, &QPushButton::clicked, this, &KeywordListDialog::cmdLoad_Click);
    connect(buttons, &QDialogButtonBox::accepted, this, &KeywordListDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &KeywordListDialog::reject);
    layout->addWidget(buttons);
    resize(sizeHint().expandedTo(QSize(420, 320)));
}

std::vector<std::string> KeywordListDialog::Keywords() const {
    std::istringstream in(txtKeywords_->toPlainText().toStdString());
    return ReadKeywords(in);
}

std::chrono::milliseconds KeywordListDialog::Pause() const {
    return std::chrono::seconds(txtPause_->value());
}

void KeywordListDialog::LoadFrom(const QString& file) {
    std::istringstream noStandardInput;
    try {
        std::string text;
        for (const std::string& keyword : LoadKeywords(file.toStdString(), noStandardInput))
            text += keyword + "\n";
        txtKeywords_->setPlainText(QString::fromStdString(text));
    } catch (const KeywordListError& e) {
        ShowMsg(e.what(), mb::kExclamation);
    }
}

void KeywordListDialog::accept() {
    if (Keywords().empty()) {
        ShowMsg(msg::kNoKeyword, mb::kExclamation);
        txtKeywords_->setFocus();
        return;
    }
    QDialog::accept();
}

void KeywordListDialog::cmdLoad_Click() {
    const QString file = QFileDialog::getOpenFileName(this, tr("Load a Keyword List"), {},
                                                      tr("Text files (*.txt);;All files (*)"));
    if (!file.isEmpty()) LoadFrom(file);
}

}  // namespace kestrova
