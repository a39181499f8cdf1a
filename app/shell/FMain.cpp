#include "FMain.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMenuBar>
#include <QScreen>
#include <QStackedWidget>
#include <QTreeWidget>
#include <QWindow>

#include "JobNotices.h"
#include "KeychainSecretStore.h"
#include "KeywordRunner.h"
#include "StartupLog.h"
#include "fetchcore/CSaver.h"
#include "kesapp/AppState.h"
#include "kesapp/Artwork.h"
#include "kesapp/ErrorTrap.h"
#include "kesapp/Product.h"
#include "kesapp/StatusPanels.h"
#include "kesapp/Twips.h"
#include "taskcore/DataFolder.h"
#include "tessel/Toolbox.h"
#include "ucPageList.h"
#include "ucPages.h"
#include "ucTask.h"

namespace kestrova {
namespace {

// The window's client area and the tree's place, as designed (twips).
constexpr int kClientWidth = 10155;
constexpr int kClientHeight = 5625;
constexpr int kTreeLeft = 60;
constexpr int kTreeTop = 60;
constexpr int kTreeWidth = 1905;
constexpr int kTreeToViews = 90;

}  // namespace

FMain::FMain(ShellOptions options) : options_(std::move(options)), marker_(options_.markerFolder) {
    // The marker never stops start-up; why it could not be made is logged once the log exists.
    pendingError_ = marker_.Failure();
    CreateControls();
    CreateMenus();
    LayOut();
    OpenProcessLog();
    saver_ = std::make_unique<fetchcore::CSaver>(options_.downloads);
    saver_->Init(app::ProcessLog());
    BindViews();
    splash_ = std::make_unique<FSplash>(options_.splashTime);
    splash_->show();
    QCoreApplication::processEvents();
    BuildTree();
    setWindowTitle(QString::fromLatin1(kProductName));
    if (pendingError_) {
        app::LogError(*pendingError_, tessel::level::kError, "FMain.Form_Initialize");
    }
    app::Trapped("FMain.Form_Initialize", tessel::level::kError, [&] { ShowSelectedTab(); });
    pendingError_.reset();
    WaitForSplash();
}

FMain::~FMain() = default;

void FMain::CreateControls() {
    setObjectName(QStringLiteral("FMain"));
    // Fixed size: no maximize button that would do nothing.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    auto* client = new QWidget(this);
    setCentralWidget(client);
    tv_ = new QTreeWidget(client);
    tv_->setObjectName(QStringLiteral("tv"));
    tv_->setHeaderHidden(true);
    tv_->setExpandsOnDoubleClick(false);
    connect(tv_, &QTreeWidget::itemClicked, this, [this] { tv_NodeClick(); });
    connect(tv_, &QTreeWidget::itemDoubleClicked, this, [this] { tv_DblClick(); });
    views_ = new QStackedWidget(client);
    views_->setObjectName(QStringLiteral("views"));
    ucTask1_ = new ucTask(views_);
    ucPages1_ = new ucPages(views_);
    ucPageList1_ = new ucPageList(views_);
    for (QWidget* view : {static_cast<QWidget*>(ucTask1_), static_cast<QWidget*>(ucPages1_),
                          static_cast<QWidget*>(ucPageList1_)})
        views_->addWidget(view);
    connect(ucTask1_, &ucTask::DownloadButtonDone, this, &FMain::GoResultsPage);
    sb_ = new StatusPanels(this);
    setStatusBar(sb_);
    sb_->SetPicture(3, QPixmap(QString::fromLatin1(art::kStatusError)));
    // Key preview: the window's own surface sees every key release once, before the focused
    // control does.
    create();
    windowHandle()->installEventFilter(this);
}

void FMain::LayOut() {
    const int statusTop = Px(kClientHeight) - sb_->sizeHint().height();
    setFixedSize(Px(kClientWidth), menuBar()->sizeHint().height() + Px(kClientHeight));
    tv_->setGeometry(Px(kTreeLeft), Px(kTreeTop), Px(kTreeWidth), statusTop - Px(kTreeTop));
    const int left = Px(kTreeLeft + kTreeWidth + kTreeToViews);
    views_->setGeometry(left, tv_->y(), Px(kClientWidth) - left, statusTop - tv_->y());
    sb_->SetPanelWidth(Px(kClientWidth / 3));
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void FMain::OpenProcessLog() {
    const std::string folder = DataFolder();
    app::SetDataFolder(folder);
    tessel::FileTools::CreateFolder(folder);
    auto log = std::make_shared<tessel::Log>();
    log->Open(folder + "Kestrova.log");
    app::SetProcessLog(log);
    WriteStartLines(*log);
}

void FMain::BindViews() {
    if (!options_.secrets) options_.secrets = std::make_shared<KeychainSecretStore>();
    ucTask1_->SetSecretStore(*options_.secrets);
    ucTask1_->Init(*saver_);
    ucPages1_->Init(*saver_);
    ucPageList1_->Init(*saver_);
    BindKeywordRun();
}

void FMain::WaitForSplash() {
    // Engine messages and the splash's own timer and clicks are handled meanwhile.
    while (splash_->isVisible()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    splash_.reset();
}

bool FMain::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate && activationDue_) {
        activationDue_ = false;
        Form_Activate();
    }
    return QMainWindow::event(event);
}

void FMain::ActivateAfterOwnWindow() {
    activationDue_ = true;
    // The platform may have given the window back already, or will do so shortly.
    if (isActiveWindow()) {
        activationDue_ = false;
        Form_Activate();
    }
}

void FMain::Form_Activate() {
    // The editor takes the focus only while it is the view shown.
    if (ucTask1_->isVisible()) ucTask1_->setFocus();
    sb_->SetText(1, ucTask1_->Keyword());
}

void FMain::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    tv_->resize(tv_->width(), centralWidget()->height() - tv_->y());
}

void FMain::closeEvent(QCloseEvent* event) {
    Form_Unload();
    event->accept();
}

void FMain::Form_Unload() {
    if (unloaded_) return;
    unloaded_ = true;
    keywordRun_->Cancel();
    saver_->CancelAll();
    ucPages1_->Finalize();
}

}  // namespace kestrova
