// The editor's controls as designed (twips, 15 to a pixel) and their layout on resize.
#include <algorithm>

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include "SourceChoice.h"
#include "TextBox.h"
#include "kesapp/Twips.h"
#include "ucTask.h"

namespace kestrova {
namespace {

// Left, top, width, height in twips; inside a frame, relative to the frame.
struct Design {
    int left, top, width, height;
};

// The settings key of a text box or check box is its name followed by this index.
constexpr const char* kTabIndex = "TabIndex";

constexpr int kOptionRowsHeight = 630;

template <class Control>
Control* Place(Control* control, const char* name, int tabIndex, Design at) {
    control->setObjectName(QString::fromLatin1(name));
    control->setProperty(kTabIndex, tabIndex);
    control->setGeometry(Px(at.left), Px(at.top), Px(at.width), Px(at.height));
    return control;
}

QLabel* AddLabel(QWidget* frame, const char* name, int tabIndex, const QString& caption, Design at,
                 QWidget* buddy = nullptr) {
    auto* label = Place(new QLabel(caption, frame), name, tabIndex, at);
    if (buddy) label->setBuddy(buddy);
    return label;
}

TextBox* AddTextBox(QWidget* frame, const char* name, int tabIndex, Design at) {
    return Place(new TextBox(frame), name, tabIndex, at);
}

// A negative width (the editor made very narrow) leaves the control as it was.
void SetWidth(QWidget* control, int width) {
    if (width >= 0) control->resize(width, control->height());
}

void SetLeft(QWidget* control, int left) {
    control->move(left, control->y());
}

}  // namespace

void ucTask::CreateControls() {
    fraSearch_ = Place(new QGroupBox(tr(" Search  "), this), "fraSearch", 0, {0, 360, 6555, 1995});
    CreateSearchFrame();
    // The frame and the button below it make room for the two rows of task options.
    fraSERP_ = Place(new QGroupBox(tr(" Pages  "), this), "fraSERP", 13,
                     {0, 2430, 6555, 1635 + kOptionRowsHeight});
    CreatePagesFrame();
    cmdDoIt_ = Place(new QPushButton(tr("&Download"), this), "cmdDoIt", 19,
                     {5460, 4140 + kOptionRowsHeight, 1120, 345});
    LabelCaption_ = AddLabel(this, "LabelCaption", 20, tr(" Task"), {0, 0, 7830, 360});
    LabelCaption_->setStyleSheet(QStringLiteral("background:#1b2f8a;color:white;font-weight:bold"));
    setTabOrder(txtKeyword_, txtSearchURL_);
    setTabOrder(txtSearchURL_, cboSource_);
    setTabOrder(cboSource_, txtResultsFrom_);
    setTabOrder(txtResultsFrom_, txtResultsTo_);
    setTabOrder(txtResultsTo_, txtResultsPerPage_);
    setTabOrder(txtResultsPerPage_, chkDownloadPages_);
    setTabOrder(chkDownloadPages_, chkSkipNonHtmlPages_);
    setTabOrder(chkSkipNonHtmlPages_, txtSaveTo_);
    setTabOrder(txtSaveTo_, cmdSaveTo_);
    ChainOptionTabs(cmdSaveTo_, cmdDoIt_);
    setFocusProxy(txtKeyword_);
    FitCaptions();
}

// The geometry scales with the application font (Twips.h); a caption that a font's letter
// shapes still make wider than its place grows to its text rather than being cut.
void ucTask::FitCaptions() {
    for (QLabel* label : findChildren<QLabel*>()) {
        const int needed = label->sizeHint().width();
        if (needed > label->width())
            label->resize(needed, std::max(label->height(), label->sizeHint().height()));
    }
    for (QCheckBox* box : findChildren<QCheckBox*>()) {
        const QSize needed = box->sizeHint();
        if (needed.width() > box->width() || needed.height() > box->height())
            box->resize(std::max(needed.width(), box->width()),
                        std::max(needed.height(), box->height()));
    }
}

void ucTask::CreateSearchFrame() {
    QWidget* f = fraSearch_;
    txtKeyword_ = AddTextBox(f, "txtKeyword", 2, {900, 270, 5385, 285});
    AddLabel(f, "Label1", 1, tr("&Keyword:"), {180, 300, 660, 195}, txtKeyword_);
    txtSearchURL_ = AddTextBox(f, "txtSearchURL", 4, {900, 600, 5385, 285});
    AddLabel(f, "Label2", 3, tr("&URL:"), {180, 630, 375, 195}, txtSearchURL_);
    cboSource_ = new SourceChoice(*txtKeyword_, *txtSearchURL_, f);
    AddLabel(f, "Label11", 5, tr("Get results: from"), {180, 1080, 1140, 195});
    txtResultsFrom_ = AddTextBox(f, "txtResultsFrom", 6, {1410, 1020, 825, 285});
    AddLabel(f, "Label12", 7, tr("to"), {2310, 1080, 135, 195});
    txtResultsTo_ = AddTextBox(f, "txtResultsTo", 8, {2520, 1020, 825, 285});
    AddLabel(f, "Label12", 9, QStringLiteral("."), {3360, 1080, 45, 195});
    AddLabel(f, "Label10", 10, tr("Get"), {180, 1500, 255, 195});
    txtResultsPerPage_ = AddTextBox(f, "txtResultsPerPage", 11, {510, 1440, 825, 285});
    AddLabel(f, "Label4", 12, tr("results per page."), {1380, 1500, 1170, 195});
}

void ucTask::CreatePagesFrame() {
    QWidget* f = fraSERP_;
    chkDownloadPages_ =
        Place(new QCheckBox(tr("Download pages (clear checkbox if you need just page list)"), f),
              "chkDownloadPages", 14, {180, 300, 6195, 225});
    chkSkipNonHtmlPages_ =
        Place(new QCheckBox(tr("Skip *.pdf, *.ps, *.doc, *.xls, *.ppt, *.rtf files"), f),
              "chkSkipNonHtmlPages", 15, {180, 600, 3915, 195});
    chkDownloadPages_->setChecked(true);
    chkSkipNonHtmlPages_->setChecked(true);
    txtSaveTo_ = AddTextBox(f, "txtSaveTo", 17, {210, 1200, 5925, 285});
    AddLabel(f, "Label5", 16, tr("Save to &folder:"), {210, 930, 1035, 195}, txtSaveTo_);
    cmdSaveTo_ =
        Place(new QPushButton(QStringLiteral("..."), f), "cmdSaveTo", 18, {6120, 1200, 285, 285});
    CreateOptionRows();
}

void ucTask::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    LayOut();
}

// Widths follow the editor's width; heights and vertical places never change. Every
// step runs even when an earlier one was refused.
void ucTask::LayOut() {
    const int margin = Px(210);
    SetWidth(LabelCaption_, width() - Px(180));
    SetWidth(fraSearch_, width() - margin);
    SetWidth(fraSERP_, fraSearch_->width());
    SetLeft(cmdDoIt_, fraSearch_->x() + fraSearch_->width() - cmdDoIt_->width());
    SetWidth(txtKeyword_, fraSearch_->width() - txtKeyword_->x() - margin);
    SetWidth(txtSearchURL_, txtKeyword_->width());
    cboSource_->PlaceBeside(*txtSearchURL_);
    SetLeft(cmdSaveTo_, txtKeyword_->x() + txtKeyword_->width() - cmdSaveTo_->width());
    SetWidth(txtSaveTo_, cmdSaveTo_->x() - txtSaveTo_->x() - Px(30));
    LayOutOptions();
}

}  // namespace kestrova
