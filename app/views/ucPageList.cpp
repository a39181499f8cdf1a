#include "ucPageList.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include "SaveFileDialog.h"
#include "ViewLayout.h"
#include "kesapp/ErrorTrap.h"
#include "kesapp/ShowMsg.h"
#include "tessel/Toolbox.h"

namespace kestrova {

using namespace viewlayout;

ucPageList::ucPageList(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("ucPageList1"));
    resize(Px(kWidth), Px(kHeight));
    LabelCaption_ = new QLabel(QStringLiteral(" List"), this);
    LabelCaption_->setObjectName(QStringLiteral("LabelCaption"));
    LabelCaption_->setStyleSheet(QStringLiteral("background:#1b2f8a;color:white;font-weight:bold"));
    LabelCaption_->setGeometry(Px(kLeft), Px(kCaptionTop), 0, Px(kCaptionHeight));
    txtPageList_ = new QPlainTextEdit(this);
    txtPageList_->setObjectName(QStringLiteral("txtPageList"));
    txtPageList_->setLineWrapMode(QPlainTextEdit::NoWrap);
    txtPageList_->move(Px(kLeft), Px(kBodyTop));
    cmdSave_ = new QPushButton(tr("&Save"), this);
    cmdSave_->setObjectName(QStringLiteral("cmdSave"));
    cmdSave_->resize(Px(kButtonWidth), Px(kButtonHeight));
    connect(cmdSave_, &QPushButton::clicked, this, &ucPageList::cmdSave_Click);
    setFocusProxy(txtPageList_);
}

ucPageList::~ucPageList() = default;

void ucPageList::Init(fetchcore::CSaver& saver) {
    moSaverEvents_ = saver.Connect(*this);
}

void ucPageList::moSaver_ResultList(const std::string& ResultList) {
    delivered_ = ResultList;
    txtPageList_->setPlainText(QString::fromStdString(ResultList));
    txtPageList_->document()->setModified(false);
}

std::string ucPageList::Text() const {
    if (!txtPageList_->document()->isModified()) return delivered_;
    QString text = txtPageList_->toPlainText();
    text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return text.toStdString();
}

void ucPageList::cmdSave_Click() {
    if (txtPageList_->toPlainText().trimmed().isEmpty()) return;
    const SaveDialogRequest request{tr("Save File As"),
                                    {tr("Text Files (*.txt)"), tr("All Files (*)")}};
    const std::optional<std::string> file = AskSaveFileName(this, request);
    if (!file) return;
    app::Trapped("ucPageList.cmdSave_Click", tessel::level::kError, [&] { SaveAs(*file); });
}

void ucPageList::SaveAs(const std::string& file) {
    if (tessel::FileTools::FileExists(file)) {
        const std::string question = tessel::Toolbox::FormatMessage(
            "File '%1' is already exist. Are you sure you want to overwrite?", {file});
        if (ShowMsg(question, mb::kExclamation | mb::kOkCancel) != mb::kOK) return;
    }
    // The text as it is now: the question above lets engine events in meanwhile.
    tessel::FileTools::WriteTextFile(file, Text());
    ShowMsg("File saved successfully.", mb::kInformation);
}

void ucPageList::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const int bodyWidth = width() - Px(kSideMargins);
    // Qt clamps a negative size to nothing; no step can fail.
    LabelCaption_->resize(bodyWidth, LabelCaption_->height());
    cmdSave_->move(txtPageList_->x() + bodyWidth - cmdSave_->width(),
                   height() - cmdSave_->height() - Px(kGap));
    txtPageList_->resize(bodyWidth, cmdSave_->y() - txtPageList_->y() - Px(kGap));
}

}  // namespace kestrova
