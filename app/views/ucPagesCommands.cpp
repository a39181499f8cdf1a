// What the user does in the progress view: cancel, open or edit a saved page, copy URLs,
// select all, the list's context menu.
#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>

#include "PageListView.h"
#include "PageTableModel.h"
#include "kesapp/ErrorTrap.h"
#include "tessel/Toolbox.h"
#include "ucPages.h"

namespace kestrova {
namespace {

constexpr int kLevel = tessel::level::kEngineError;

void PutOnClipboard(const std::string& text) {
    QGuiApplication::clipboard()->clear();
    QGuiApplication::clipboard()->setText(QString::fromStdString(text));
}

}  // namespace

void ucPages::cmdCancel_Click() {
    // The button stays enabled until the job's Complete arrives.
    if (!moSaver_) return;
    cancelledJobs_.CancelPressed();
    moSaver_->CancelAll();
    emit CancelClicked();
}

void ucPages::cmdOpen_Click() {
    OpenSavedPage(ShellVerb::Open, "ucPages.cmdOpen_Click");
}

void ucPages::cmdEdit_Click() {
    OpenSavedPage(ShellVerb::Edit, "ucPages.cmdEdit_Click");
}

void ucPages::OpenSavedPage(ShellVerb verb, const char* source) {
    app::Trapped(source, kLevel, [&] {
        const int row = lv_->SelectedRow();
        if (row < 0) return;
        const std::string path = pages_->Progress().SavedFile(pages_->Row(row));
        // A page not saved (yet) has no file: an editor would start a new one in its place.
        if (!tessel::FileTools::FileExists(path)) return;
        ShellExecute(verb, path);
    });
}

void ucPages::lv_KeyUp(int key, Qt::KeyboardModifiers modifiers) {
    app::Trapped("ucPages.lv_KeyUp", kLevel, [&] {
        const auto shift = modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
        if (shift != Qt::ControlModifier) return;
        if (key == Qt::Key_A) mnuLVContextSelectAll_Click();
        if (key == Qt::Key_C) mnuLVContextCopy_Click();
    });
}

void ucPages::lv_MouseUp(Qt::MouseButton button, const QPoint& globalPos) {
    if (button != Qt::RightButton) return;
    app::Trapped("ucPages.lv_MouseUp", kLevel, [&] {
        const int row = lv_->SelectedRow();
        mSelectedItem_.reset();
        if (row >= 0) mSelectedItem_ = pages_->Row(row).url;
        const bool saved = row >= 0 && pages_->Row(row).state == ResultState::Complete;
        mnuLVContextDownloadedPage_->setVisible(saved);
        mnuLVContext1_->setVisible(saved);
        mnuLVContext_->popup(globalPos);
    });
}

void ucPages::mnuLVContextCopy_Click() {
    app::Trapped("ucPages.mnuLVContextCopy_Click", kLevel, [&] { CopyUrls(); });
}

void ucPages::CopyUrls() {
    std::string text;
    for (int i = 0; i < pages_->rowCount(); ++i) {
        if (lv_->IsRowSelected(i)) text += pages_->Row(i).url + "\r\n";
    }
    if (!text.empty()) {
        PutOnClipboard(text);
    } else if (mSelectedItem_) {
        PutOnClipboard(*mSelectedItem_);
    }
}

void ucPages::mnuLVContextSelectAll_Click() {
    app::Trapped("ucPages.mnuLVContextSelectAll_Click", kLevel, [&] { lv_->selectAll(); });
}

}  // namespace kestrova
