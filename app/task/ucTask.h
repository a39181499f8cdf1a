#pragma once

#include <memory>
#include <string>

#include <QString>
#include <QWidget>

#include "taskcore/TaskChecks.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;

namespace fetchcore {
class CSaver;
class CTask;
}  // namespace fetchcore

namespace kestrova {

class TaskSettings;
class SecretStore;
class SourceChoice;
class TextBox;

// The task editor: the main window's first view. Holds the fields of one harvesting task,
// keeps them between runs in the settings store (read when it is made, written when it
// goes), keeps the keyword and the search URL in step, checks the fields and starts jobs.
class ucTask : public QWidget {
    Q_OBJECT

  public:
    explicit ucTask(QWidget* parent = nullptr);
    ~ucTask() override;

    // Keeps the saver for DoIt. Called once by the main window while it starts.
    void Init(fetchcore::CSaver& saver);

    // Where a Brave Search API key is looked for first; it must outlive the editor's jobs.
    // Without one, a job takes its key from the environment or the key file alone.
    void SetSecretStore(SecretStore& secrets) { secrets_ = &secrets; }

    // Checks the fields; when they are valid, records the job's keyword and folder with
    // app::SetLastJob and starts it with the saver's Save. When not, shows the first failed
    // check's message (style 48) and focuses its field. Errors from Save reach the caller.
    void DoIt();

    // A new task filled from the fields, or null with the first failed check's message in
    // `FalseCause` and its control in `SetFocusTo`. `FalseCause` is empty when all pass.
    std::shared_ptr<fetchcore::CTask> GetResults(std::string& FalseCause, QWidget*& SetFocusTo);

    // The texts of the keyword, search-URL and output-folder boxes as typed (not trimmed).
    QString Keyword() const;
    QString SearchURL() const;
    QString SaveToFolder() const;

    // A task from the fields as GetResults makes it, but searching `keyword` instead: the URL
    // box's address gets the keyword the way typing it would put it there.
    std::shared_ptr<fetchcore::CTask> TaskFor(const std::string& keyword, std::string& FalseCause,
                                              QWidget*& SetFocusTo);

  signals:
    // The Download button has run DoIt, also after a failed check: the main window decides
    // what to show next.
    void DownloadButtonDone();

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    // Building and placing the controls (ucTaskDesign.cpp).
    void CreateControls();
    void CreateSearchFrame();
    void CreatePagesFrame();
    void ConnectControls();
    void FitCaptions();
    void LayOut();

    // The settings store (ucTaskSettings.cpp).
    void ReadSettings();
    void StoreSettings();

    // Keyword and URL kept in step (ucTaskSync.cpp).
    void txtKeyword_Change();
    void txtSearchURL_Change();
    template <class Rewrite>
    void Synchronise(const char* source, Rewrite rewrite);

    // The task options (ucTaskOptions.cpp).
    void CreateOptionRows();
    void ChainOptionTabs(QWidget* before, QWidget* after);
    void LayOutOptions();
    void ReadOptions(const TaskSettings& store);
    void EnableOptions();
    bool ApplyOptions(TaskValues& values, std::string& FalseCause, QWidget*& SetFocusTo);
    void cmdWarcFile_Click();

    std::shared_ptr<fetchcore::CTask> ResultsOf(const TaskFields& fields, std::string& FalseCause,
                                                QWidget*& SetFocusTo);
    void chkDownloadPages_Click();
    void cmdDoIt_Click();
    void cmdSaveTo_Click();
    TaskFields Fields() const;
    // Puts the key into a task for the Brave Search API (ucTaskKey.cpp); false with the
    // reason in `falseCause` when no key is to be had.
    bool TakeSearchKey(TaskValues& task, std::string& falseCause);
    QWidget* ControlOf(TaskControl control) const;

    fetchcore::CSaver* saver_ = nullptr;  // the main window's; lives as long as the window
    bool updating_ = false;               // set while one box rewrites the other
    SecretStore* secrets_ = nullptr;      // the main window's

    // Child controls, owned by the editor, in tab order.
    QGroupBox* fraSearch_ = nullptr;
    TextBox* txtKeyword_ = nullptr;
    TextBox* txtSearchURL_ = nullptr;
    SourceChoice* cboSource_ = nullptr;
    TextBox* txtResultsFrom_ = nullptr;
    TextBox* txtResultsTo_ = nullptr;
    TextBox* txtResultsPerPage_ = nullptr;
    QGroupBox* fraSERP_ = nullptr;
    QCheckBox* chkDownloadPages_ = nullptr;
    QCheckBox* chkSkipNonHtmlPages_ = nullptr;
    TextBox* txtSaveTo_ = nullptr;
    QPushButton* cmdSaveTo_ = nullptr;
    QCheckBox* chkResume_ = nullptr;
    QCheckBox* chkManifest_ = nullptr;
    QCheckBox* chkWarc_ = nullptr;
    TextBox* txtWarcFile_ = nullptr;
    QPushButton* cmdWarcFile_ = nullptr;
    QPushButton* cmdDoIt_ = nullptr;
    QLabel* LabelCaption_ = nullptr;
};

}  // namespace kestrova
