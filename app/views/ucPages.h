#pragma once

#include <optional>
#include <string>

#include <QPixmap>
#include <QWidget>

#include "CancelledJobs.h"
#include "fetchcore/CSaver.h"
#include "kesapp/ShellOpen.h"

class QAction;
class QLabel;
class QMenu;
class QPushButton;

namespace kestrova {

class PageListView;
class PageTableModel;

// The download progress view: one row per page the running job saves or skips, with its
// number, URL and state; the job state in the status bar; Cancel; open, edit and copy of the
// listed pages. The main window relies on Init and Finalize.
class ucPages : public QWidget, private fetchcore::CSaverEvents {
    Q_OBJECT

  public:
    explicit ucPages(QWidget* parent = nullptr);
    ~ucPages() override;

    // Handles the saver's events from now on; remembers the third status panel's picture
    // and clears that panel. Called once by the main window while it starts.
    void Init(fetchcore::CSaver& saver);

    // Lets go of the saver (no event reaches the view afterwards) and of what it remembered.
    // Called by the main window when it closes.
    void Finalize();

    // The saver's events. A failure in StartSavingPage or PageSkipped (a second row for one
    // URL) goes back to the saver, which raised the event.
    void moSaver_StartDownload();
    void moSaver_StartSavingPage(int32_t N, const std::string& URL);
    void moSaver_PageSkipped(int32_t N, const std::string& URL);
    void moSaver_SavingPageComplete(const std::string& URL, bool IsSuccess,
                                    const std::string& ErrDescription);
    void moSaver_Complete(bool IsSuccess, const std::string& ErrDescription);

    // While a keyword list runs, the run tells how each job ended (no message box of the
    // view's own) and Cancel stays enabled between its jobs.
    void SetListRun(bool on);

  signals:
    // Cancel was clicked (after the saver was told).
    void CancelClicked();

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void StartDownload() override { moSaver_StartDownload(); }
    void StartSavingPage(int32_t N, const std::string& url) override {
        moSaver_StartSavingPage(N, url);
    }
    void PageSkipped(int32_t N, const std::string& url) override { moSaver_PageSkipped(N, url); }
    void SavingPageComplete(const std::string& url, bool IsSuccess,
                            const std::string& ErrDescription) override {
        moSaver_SavingPageComplete(url, IsSuccess, ErrDescription);
    }
    void Complete(bool IsSuccess, const std::string& ErrDescription) override {
        moSaver_Complete(IsSuccess, ErrDescription);
    }

    void CreateContextMenu();
    std::string EventJob() const;
    void SetStatus(int panel, const QString& text);
    void SetStatusPicture(const QPixmap& picture);

    void cmdCancel_Click();
    void cmdOpen_Click();
    void cmdEdit_Click();
    void OpenSavedPage(ShellVerb verb, const char* source);
    void lv_KeyUp(int key, Qt::KeyboardModifiers modifiers);
    void lv_MouseUp(Qt::MouseButton button, const QPoint& globalPos);
    void mnuLVContextCopy_Click();
    void mnuLVContextSelectAll_Click();
    void CopyUrls();

    fetchcore::CSaver* moSaver_ = nullptr;  // the main window's; outlives the connection
    tessel::EventSource<fetchcore::CSaverEvents>::Connection moSaverEvents_;
    QPixmap mStatusPicture_;
    // The URL of the row selected at the last right-click; a row goes with its list, so the
    // URL is kept rather than the row.
    std::optional<std::string> mSelectedItem_;
    CancelledJobs cancelledJobs_;  // whose end says "cancelled", not "complete"
    bool listRun_ = false;

    // Child widgets, owned by the view.
    QLabel* LabelCaption_;
    PageTableModel* pages_;  // the rows lv_ shows
    PageListView* lv_;
    QPushButton* cmdCancel_;
    QMenu* mnuLVContext_;
    QAction* mnuLVContextDownloadedPage_;
    QAction* mnuLVContext1_;
};

}  // namespace kestrova
