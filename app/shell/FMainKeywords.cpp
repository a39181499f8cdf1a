// Keyword lists run from the window, and what a job tells while it goes on.
#include "FMain.h"
#include "JobNotices.h"
#include "KeywordListDialog.h"
#include "KeywordRunner.h"
#include "kesapp/AppState.h"
#include "kesapp/ErrorTrap.h"
#include "kesapp/Product.h"
#include "kesapp/ShowMsg.h"
#include "kesapp/StatusPanels.h"
#include "ucPages.h"
#include "ucTask.h"

namespace kestrova {
namespace {

constexpr const char* kBusy =
    "A download is under way. Please wait until it ends, or cancel it, before running a keyword "
    "list.";

}  // namespace

void FMain::BindKeywordRun() {
    notices_ = std::make_unique<JobNotices>(*saver_, *sb_);
    // Each keyword's job takes the editor's fields as they are when it starts.
    auto makeTask = [this](const std::string& keyword, std::string& cause) {
        QWidget* focus = nullptr;
        auto task = ucTask1_->TaskFor(keyword, cause, focus);
        if (!task && cause.empty()) cause = msg::kInvalidParameters;
        return task;
    };
    keywordRun_ = std::make_unique<KeywordRunner>(*saver_, std::move(makeTask));
    connect(keywordRun_.get(), &KeywordRunner::KeywordStarted, this, [this](const QString& label) {
        setWindowTitle(QString::fromLatin1(kProductName) + QStringLiteral(" - ") + label);
        sb_->SetText(1, label);
    });
    connect(keywordRun_.get(), &KeywordRunner::JobFailed, this,
            [this](const QString& keyword, const QString& description) {
                const QString text = keyword + QStringLiteral(": ") + description;
                sb_->SetText(3, text);
                if (const auto log = app::ProcessLog())
                    log->Write(0, text.toStdString(), tessel::level::kInfo, "FMain.KeywordRun");
            });
    // Queued: the last job has left the saver by then, so Cancel can tell nothing runs.
    connect(keywordRun_.get(), &KeywordRunner::Finished, this, &FMain::KeywordRunFinished,
            Qt::QueuedConnection);
    connect(ucPages1_, &ucPages::CancelClicked, keywordRun_.get(), &KeywordRunner::Cancel);
}

void FMain::mnuRunKeywordList_Click() {
    app::Trapped("FMain.mnuRunKeywordList_Click", tessel::level::kError, [&] {
        if (keywordRun_->Running() || saver_->IsDownloadingNow()) {
            ShowMsg(kBusy, mb::kExclamation);
            return;
        }
        KeywordListDialog dialog(this);
        if (dialog.exec() != QDialog::Accepted || unloaded_) return;
        const std::vector<std::string> keywords = dialog.Keywords();
        // The fields are checked once, before the first job, as the Download button does.
        std::string cause;
        QWidget* focus = nullptr;
        if (!ucTask1_->TaskFor(keywords.front(), cause, focus)) {
            ShowMsg(cause.empty() ? msg::kInvalidParameters : cause, mb::kExclamation);
            if (focus) {
                SelectNode(1);
                ShowSelectedTab();
                focus->setFocus();
            }
            return;
        }
        ucPages1_->SetListRun(true);
        keywordRun_->Start(keywords, dialog.Pause());
        GoResultsPage();
    });
}

void FMain::KeywordRunFinished(int count, int failed, bool cancelled) {
    ucPages1_->SetListRun(false);
    setWindowTitle(QString::fromLatin1(kProductName));
    sb_->SetText(1, ucTask1_->Keyword());
    if (unloaded_) return;
    if (cancelled) {
        ShowMsg("Keyword list cancelled.", mb::kInformation);
        return;
    }
    ShowMsg("Keyword list complete: " + std::to_string(count) + " keywords, " +
                std::to_string(failed) + " failed.",
            failed ? mb::kExclamation : mb::kInformation);
}

}  // namespace kestrova
