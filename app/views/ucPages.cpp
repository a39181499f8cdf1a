#include "ucPages.h"

#include <QLabel>
#include <QMenu>
#include <QPushButton>

#include "PageListView.h"
#include "PageTableModel.h"
#include "ViewLayout.h"
#include "fetchcore/FileNaming.h"
#include "kesapp/AppState.h"
#include "kesapp/ErrorTrap.h"
#include "kesapp/ShowMsg.h"
#include "kesapp/StatusPanels.h"

namespace kestrova {
namespace {

// Column widths of the list as designed (twips); "URL" takes the rest.
constexpr int kColumnNWidth = 900;  // the icon and up to four digits
constexpr int kColumnDownloadWidth = 1800;
constexpr int kColumnsSlack = 330;  // border and vertical scroll bar

// Where the last job started saved a page: the window opens saved pages by this rule.
std::string LastJobPagePath(int32_t N, const std::string& url) {
    return fetchcore::SavedPagePath(app::LastJobFolder(), app::LastJobKeyword(), N, url);
}

}  // namespace

using namespace viewlayout;

ucPages::ucPages(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("ucPages1"));
    resize(Px(kWidth), Px(kHeight));
    LabelCaption_ = new QLabel(QStringLiteral(" Pages"), this);
    LabelCaption_->setObjectName(QStringLiteral("LabelCaption"));
    LabelCaption_->setStyleSheet(QStringLiteral("background:#1b2f8a;color:white;font-weight:bold"));
    LabelCaption_->setGeometry(Px(kLeft), Px(kCaptionTop), 0, Px(kCaptionHeight));
    lv_ = new PageListView(this);
    pages_ = new PageTableModel(LastJobPagePath, this);  // made after the list: outlives it
    lv_->setModel(pages_);
    lv_->move(Px(kLeft), Px(kBodyTop));
    lv_->setColumnWidth(PageTableModel::kColumnN, Px(kColumnNWidth));
    lv_->setColumnWidth(PageTableModel::kColumnDownload, Px(kColumnDownloadWidth));
    cmdCancel_ = new QPushButton(tr("Cancel"), this);
    cmdCancel_->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel_->resize(Px(kButtonWidth), Px(kButtonHeight));
    cmdCancel_->setEnabled(false);
    CreateContextMenu();
    connect(cmdCancel_, &QPushButton::clicked, this, &ucPages::cmdCancel_Click);
    connect(lv_, &PageListView::KeyUp, this, &ucPages::lv_KeyUp);
    connect(lv_, &PageListView::MouseUp, this, &ucPages::lv_MouseUp);
    connect(lv_, &QAbstractItemView::doubleClicked, this, &ucPages::cmdEdit_Click);
    setFocusProxy(lv_);
}

ucPages::~ucPages() = default;

void ucPages::CreateContextMenu() {
    mnuLVContext_ = new QMenu(this);
    mnuLVContext_->setObjectName(QStringLiteral("mnuLVContext"));
    auto* page = new QMenu(tr("&Page"), mnuLVContext_);
    page->setObjectName(QStringLiteral("mnuLVContextDownloadedPage"));
    page->addAction(tr("&Open"), this, &ucPages::cmdOpen_Click)
        ->setObjectName(QStringLiteral("mnuLVContextOpen"));
    page->addAction(tr("&Edit"), this, &ucPages::cmdEdit_Click)
        ->setObjectName(QStringLiteral("mnuLVContextEdit"));
    mnuLVContextDownloadedPage_ = mnuLVContext_->addMenu(page);
    mnuLVContextDownloadedPage_->setObjectName(QStringLiteral("mnuLVContextDownloadedPage"));
    mnuLVContext1_ = mnuLVContext_->addSeparator();
    mnuLVContext1_->setObjectName(QStringLiteral("mnuLVContext1"));
    mnuLVContext_->addAction(tr("&Copy"), this, &ucPages::mnuLVContextCopy_Click)
        ->setObjectName(QStringLiteral("mnuLVContextCopy"));
    mnuLVContext_->addSeparator()->setObjectName(QStringLiteral("mnuLVContext2"));
    mnuLVContext_->addAction(tr("Select &All"), this, &ucPages::mnuLVContextSelectAll_Click)
        ->setObjectName(QStringLiteral("mnuLVContextSelectAll"));
}

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
    mSelectedItem_.reset();
}

std::string ucPages::EventJob() const {
    return moSaver_ ? moSaver_->EventJob() : std::string();
}

void ucPages::SetStatus(int panel, const QString& text) {
    if (StatusPanels* sb = StatusPanels::Of(this)) sb->SetText(panel, text);
}

void ucPages::SetStatusPicture(const QPixmap& picture) {
    if (StatusPanels* sb = StatusPanels::Of(this)) sb->SetPicture(3, picture);
}

void ucPages::moSaver_StartDownload() {
    pages_->Progress().Clear();
    mSelectedItem_.reset();
    cancelledJobs_.Started(EventJob());
    cmdCancel_->setEnabled(true);
    SetStatus(2, tr("Downloading..."));
    setCursor(Qt::WaitCursor);
}

void ucPages::moSaver_StartSavingPage(int32_t N, const std::string& URL) {
    unsetCursor();
    pages_->Progress().StartSavingPage(N, URL);
}

void ucPages::moSaver_PageSkipped(int32_t N, const std::string& URL) {
    pages_->Progress().PageSkipped(N, URL);
}

void ucPages::moSaver_SavingPageComplete(const std::string& URL, bool IsSuccess,
                                         const std::string& ErrDescription) {
    cancelledJobs_.PageEnded(EventJob(), IsSuccess);
    app::Trapped("ucPages.moSaver_SavingPageComplete", tessel::level::kEngineError, [&] {
        pages_->Progress().SavingPageComplete(URL, IsSuccess, ErrDescription);
        if (!IsSuccess) {
            SetStatusPicture(mStatusPicture_);
            SetStatus(3, QString::fromStdString(ErrDescription));
            return;
        }
        SetStatusPicture({});
        SetStatus(3, {});
    });
}

void ucPages::moSaver_Complete(bool IsSuccess, const std::string& ErrDescription) {
    const bool cancelled = cancelledJobs_.Ended(EventJob());
    app::Trapped("ucPages.moSaver_Complete", tessel::level::kEngineError, [&] {
        cmdCancel_->setEnabled(listRun_);
        unsetCursor();
        SetStatus(2, tr("Complete"));
        if (listRun_) return;
        // A job cancelled while saving pages still ends well: its pages say "Cancelled".
        if (IsSuccess && cancelled)
            ShowMsg("Download cancelled.", mb::kInformation);
        else if (IsSuccess)
            ShowMsg("Download complete", mb::kInformation);
        else
            ShowMsg(ErrDescription, mb::kExclamation);
    });
}

void ucPages::SetListRun(bool on) {
    listRun_ = on;
    cmdCancel_->setEnabled(on || (moSaver_ && moSaver_->IsDownloadingNow()));
}

void ucPages::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // Qt clamps a negative size to nothing; no step can fail.
    cmdCancel_->move(lv_->x() + width() - Px(kSideMargins) - cmdCancel_->width(),
                     height() - cmdCancel_->height() - Px(kGap));
    lv_->resize(width() - Px(kSideMargins), cmdCancel_->y() - lv_->y() - Px(kGap));
    LabelCaption_->resize(width() - Px(kSideMargins), LabelCaption_->height());
    lv_->setColumnWidth(PageTableModel::kColumnUrl,
                        lv_->width() - lv_->columnWidth(PageTableModel::kColumnN) -
                            lv_->columnWidth(PageTableModel::kColumnDownload) - Px(kColumnsSlack));
}

}  // namespace kestrova
