#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <QMainWindow>

#include "FSplash.h"
#include "RunningMarker.h"
#include "fetchcore/DownloadSettings.h"
#include "kesapp/UiMessagePump.h"
#include "tessel/Error.h"

class QStackedWidget;
class QTreeWidget;
class QTreeWidgetItem;

namespace fetchcore {
class CSaver;
}

namespace kestrova {

class JobNotices;
class KeywordRunner;
class SecretStore;
class StatusPanels;
class ucPageList;
class ucPages;
class ucTask;

// What start-up may be told beyond the defaults (tests shorten the splash, move the marker).
struct ShellOptions {
    std::chrono::milliseconds splashTime = FSplash::kShowTime;
    std::string markerFolder;               // empty: the user's runtime folder
    fetchcore::DownloadSettings downloads;  // what the saver's downloads run with
    std::shared_ptr<SecretStore> secrets;   // where keys are kept; none: the desktop's
};

// The main window: navigation tree, the three views in one place, menus, status bar.
// Creating it starts the program (running marker, data folder, log, saver, views, splash)
// and returns once the splash has closed; a failing step throws. Closing it cancels every
// job without asking.
class FMain : public QMainWindow {
    Q_OBJECT

  public:
    explicit FMain(ShellOptions options = {});
    ~FMain() override;

    // Shows and focuses the progress view; the task editor's Download button asks for it.
    void GoResultsPage();

    // Shows the view of the selected node (asking to start a job on the first visit to the
    // job views) and remembers its key.
    void ShowSelectedTab();
    void GoToNextTab();
    void GoToPreviousTab();
    const std::string& CurrentViewKey() const { return currentViewKey_; }

    fetchcore::CSaver& Saver() { return *saver_; }
    const RunningMarker& Marker() const { return marker_; }

  protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void CreateControls();
    void CreateMenus();
    void LayOut();
    void OpenProcessLog();
    void BindViews();
    void BuildTree();
    void WaitForSplash();

    void Form_KeyUp(const QKeyEvent& key);
    void Form_Activate();
    void ActivateAfterOwnWindow();
    void Form_Unload();
    void tv_NodeClick();
    void tv_KeyUp();
    void tv_DblClick();
    QTreeWidgetItem* SelectedNode() const;
    int PositionOf(const QTreeWidgetItem* node) const;
    void SelectNode(int position);
    void SetVisibleView(const std::string& key);

    void mnuCopyKeyword_Click();
    void mnuCopyOutputFolder_Click();
    void mnuPreferences_Click();
    void mnuOpenOutputFolder_Click();
    void mnuOpenGoogleSER_Click();
    void mnuVisitHomepage_Click();
    void mnuAbout_Click();

    // Keyword lists and job notices (FMainKeywords.cpp).
    void BindKeywordRun();
    void mnuRunKeywordList_Click();
    void KeywordRunFinished(int count, int failed, bool cancelled);

    ShellOptions options_;
    UiMessagePump pump_;
    RunningMarker marker_;
    std::optional<tessel::ComError> pendingError_;
    std::unique_ptr<fetchcore::CSaver> saver_;
    std::unique_ptr<JobNotices> notices_;
    std::unique_ptr<KeywordRunner> keywordRun_;
    std::string currentViewKey_;
    std::unique_ptr<FSplash> splash_;
    bool unloaded_ = false;
    // The activation step is due on first display and on return from the About window, not
    // on return from another application or a message box.
    bool activationDue_ = true;

    // Child widgets, owned by the window.
    QTreeWidget* tv_ = nullptr;
    std::vector<QTreeWidgetItem*> nodes_;  // in tree order; owned by the tree
    QStackedWidget* views_ = nullptr;      // one page per node, in tree order
    ucTask* ucTask1_ = nullptr;
    ucPages* ucPages1_ = nullptr;
    ucPageList* ucPageList1_ = nullptr;
    StatusPanels* sb_ = nullptr;
};

}  // namespace kestrova
