// The navigation tree, the view switch and the keys that move between views.
#include <QApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QStackedWidget>
#include <QTreeWidget>
#include <QWindow>

#include "FMain.h"
#include "kesapp/AppState.h"
#include "kesapp/Artwork.h"
#include "kesapp/ErrorTrap.h"
#include "kesapp/ShowMsg.h"
#include "ucPageList.h"
#include "ucPages.h"
#include "ucTask.h"

namespace kestrova {
namespace {

constexpr const char* kTask = "task";
constexpr const char* kDownloading = "downloading";
constexpr const char* kPageList = "pagelist";

std::string KeyOf(const QTreeWidgetItem* node) {
    return node->data(0, Qt::UserRole).toString().toStdString();
}

QTreeWidgetItem* NewNode(const char* key, const QString& text, const char* image) {
    auto* node = new QTreeWidgetItem(QStringList{text});
    node->setData(0, Qt::UserRole, QString::fromLatin1(key));
    node->setIcon(0, QIcon(QString::fromLatin1(image)));
    return node;
}

}  // namespace

void FMain::BuildTree() {
    nodes_ = {NewNode(kTask, tr("Task"), art::kNodeTask),
              NewNode(kDownloading, tr("Pages"), art::kNodeDownload),
              NewNode(kPageList, tr("List"), art::kNodeList)};
    tv_->addTopLevelItem(nodes_[0]);
    nodes_[0]->addChild(nodes_[1]);
    nodes_[0]->addChild(nodes_[2]);
    tv_->setCurrentItem(nodes_[0]);
    nodes_[0]->setExpanded(true);
}

QTreeWidgetItem* FMain::SelectedNode() const {
    return tv_->currentItem();
}

int FMain::PositionOf(const QTreeWidgetItem* node) const {
    for (size_t i = 0; i < nodes_.size(); ++i) {
        if (nodes_[i] == node) return static_cast<int>(i) + 1;
    }
    throw tessel::ComError(tessel::err::kInvalidArgument, "Element not found");
}

void FMain::SelectNode(int position) {
    if (position < 1 || position > static_cast<int>(nodes_.size()))
        throw tessel::ComError(tessel::err::kSubscriptOutOfRange, "Index out of bounds");
    tv_->setCurrentItem(nodes_[static_cast<size_t>(position) - 1]);
}

void FMain::ShowSelectedTab() {
    const QTreeWidgetItem* node = SelectedNode();
    if (!node) return;
    const std::string key = KeyOf(node);
    if (key == currentViewKey_) return;
    if (app::LastJobKeyword().empty() && (key == kPageList || key == kDownloading)) {
        const int answer =
            ShowMsg("Do you want to start download?", mb::kExclamation | mb::kOkCancel);
        // An answer that comes once the window is closing starts nothing: the unload has
        // cancelled every job, and no window would show this one.
        if (answer == mb::kOK && !unloaded_) ucTask1_->DoIt();
    }
    currentViewKey_ = key;
    SetVisibleView(key);
}

void FMain::SetVisibleView(const std::string& key) {
    // The views' pages are in the nodes' order.
    for (size_t i = 0; i < nodes_.size(); ++i) {
        if (KeyOf(nodes_[i]) == key) views_->setCurrentIndex(static_cast<int>(i));
    }
}

void FMain::GoToNextTab() {
    app::Trapped("FMain.GoToNextTab", tessel::level::kError, [&] {
        const QTreeWidgetItem* node = SelectedNode();
        if (!node) return;
        int position = PositionOf(node) + 1;
        if (position > static_cast<int>(nodes_.size())) position = 1;
        SelectNode(position);
    });
}

void FMain::GoToPreviousTab() {
    app::Trapped("FMain.GoToPreviousTab", tessel::level::kError, [&] {
        const QTreeWidgetItem* node = SelectedNode();
        if (!node) return;
        const int position = PositionOf(node);
        SelectNode(position == 1 ? static_cast<int>(nodes_.size()) : position - 1);
    });
}

void FMain::GoResultsPage() {
    for (QTreeWidgetItem* node : nodes_) {
        if (KeyOf(node) == kDownloading) tv_->setCurrentItem(node);
    }
    // The question before the first job may start one, and its start may fail: the progress
    // view is shown all the same.
    app::Trapped("FMain.GoResultsPage", tessel::level::kError, [&] { ShowSelectedTab(); });
    ucPages1_->setFocus();
}

bool FMain::eventFilter(QObject* watched, QEvent* event) {
    // Installed on the window's surface only, which receives each key once from the system.
    if (watched == static_cast<QObject*>(windowHandle()) && event->type() == QEvent::KeyRelease) {
        const auto& key = static_cast<const QKeyEvent&>(*event);
        // X11 repeats a held key as release-press pairs; a key counts as released once.
        if (!key.isAutoRepeat()) {
            Form_KeyUp(key);
            if (QApplication::focusWidget() == tv_) tv_KeyUp();
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void FMain::Form_KeyUp(const QKeyEvent& key) {
    app::Trapped("FMain.Form_KeyUp", tessel::level::kError, [&] {
        const auto shift =
            key.modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
        const bool tab = key.key() == Qt::Key_Tab || key.key() == Qt::Key_Backtab;
        if (tab && shift == Qt::ControlModifier) {
            GoToNextTab();
        } else if (tab && shift == (Qt::ControlModifier | Qt::ShiftModifier)) {
            GoToPreviousTab();
        }
        ShowSelectedTab();
    });
}

void FMain::tv_KeyUp() {
    app::Trapped("FMain.tv_KeyUp", tessel::level::kError, [&] { ShowSelectedTab(); });
}

void FMain::tv_NodeClick() {
    app::Trapped("FMain.tv_NodeClick", tessel::level::kError, [&] { ShowSelectedTab(); });
}

void FMain::tv_DblClick() {
    // The root stays open, so all three nodes stay in sight.
    nodes_[0]->setExpanded(true);
}

}  // namespace kestrova
