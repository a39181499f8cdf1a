// The navigation tree, the view switch and the keys that move between views.
#include <QIcon>
#include <QKeyEvent>
#include <QTreeWidget>

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
    const auto selected = tv_->selectedItems();
    return selected.isEmpty() ? nullptr : selected.front();
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
        if (ShowMsg("Do you want to start download?", mb::kExclamation | mb::kOkCancel) == mb::kOK)
            ucTask1_->DoIt();
    }
    currentViewKey_ = key;
    SetVisibleView(key);
}

void FMain::SetVisibleView(const std::string& key) {
    if (key != kTask && key != kDownloading && key != kPageList) return;
    ucTask1_->setVisible(key == kTask);
    ucPages1_->setVisible(key == kDownloading);
    ucPageList1_->setVisible(key == kPageList);
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
    app::Skipped([&] {
        for (QTreeWidgetItem* node : nodes_) {
            if (KeyOf(node) == kDownloading) tv_->setCurrentItem(node);
        }
    });
    app::Skipped([&] { ShowSelectedTab(); });
    app::Skipped([&] { ucPages1_->setFocus(); });
}

bool FMain::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyRelease) {
        const auto& key = static_cast<const QKeyEvent&>(*event);
        auto* widget = qobject_cast<QWidget*>(watched);
        // X11 repeats a held key as release-press pairs; a key counts as released once.
        if (widget && widget->window() == this && !key.isAutoRepeat() && FirstOffer(widget, key)) {
            Form_KeyUp(key);
            if (widget == tv_) tv_KeyUp();
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

bool FMain::FirstOffer(QWidget* receiver, const QKeyEvent& key) {
    // Qt offers a key event nobody accepted to each parent in turn, and the application's
    // filter sees every offer: only the first one is the key release itself.
    const bool repeated = &key == lastKeyEvent_ && key.timestamp() == lastKeyTimestamp_ &&
                          lastKeyReceiver_ && receiver != lastKeyReceiver_ &&
                          receiver->isAncestorOf(lastKeyReceiver_);
    lastKeyEvent_ = &key;
    lastKeyTimestamp_ = key.timestamp();
    lastKeyReceiver_ = receiver;
    return !repeated;
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
