// The keyword box and the URL box kept in step: each rewrites the other, never itself.
#include "TextBox.h"
#include "kesapp/ErrorTrap.h"
#include "kesapp/StatusPanels.h"
#include "taskcore/SearchUrl.h"
#include "ucTask.h"

namespace kestrova {
namespace {

// Clears the flag however the rule ends.
class UpdatingFlag {
  public:
    explicit UpdatingFlag(bool& flag) : flag_(flag) { flag_ = true; }
    ~UpdatingFlag() { flag_ = false; }
    UpdatingFlag(const UpdatingFlag&) = delete;
    UpdatingFlag& operator=(const UpdatingFlag&) = delete;

  private:
    bool& flag_;
};

}  // namespace

template <class Rewrite>
void ucTask::Synchronise(const char* source, Rewrite rewrite) {
    // The other box's own rule runs inside `rewrite`, sees the flag and leaves it be.
    if (updating_) return;
    const UpdatingFlag guard(updating_);
    // A text the rule cannot read leaves the other box as it was.
    app::Trapped(source, tessel::level::kError, rewrite);
    // No status bar yet while the main window is being made.
    if (StatusPanels* sb = StatusPanels::Of(this)) sb->SetText(1, Keyword());
}

void ucTask::txtKeyword_Change() {
    Synchronise("ucTask.txtKeyword_Change", [&] {
        // A SearXNG address keeps its instance and parameters; only "q" changes.
        const std::string url = KeywordIntoURL(SearchURL().toStdString(), Keyword().toStdString());
        txtSearchURL_->setText(QString::fromStdString(url));
    });
}

void ucTask::txtSearchURL_Change() {
    Synchronise("ucTask.txtSearchURL_Change", [&] {
        txtKeyword_->setText(QString::fromStdString(URLToKeyword(SearchURL().toStdString())));
    });
}

}  // namespace kestrova
