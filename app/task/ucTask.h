#pragma once

#include <memory>

#include <QString>
#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;

namespace fetchcore {
class CSaver;
class CTask;
}  // namespace fetchcore

namespace kestrova {

// The task editor: the main window's first view. The main window relies on exactly these
// members; the rest of the editor (all fields, their settings, validation focus, the folder
// browser, the URL/keyword rule) may grow behind them.
//
// For now a minimal editor: keyword, search URL and output folder boxes and the Download
// button; the other task fields take their first-start defaults.
class ucTask : public QWidget {
    Q_OBJECT

  public:
    explicit ucTask(QWidget* parent = nullptr);
    ~ucTask() override;

    // Keeps the saver for DoIt. Called once by the main window while it starts.
    void Init(fetchcore::CSaver& saver);

    // Checks the fields; when they are valid, records the job's keyword and folder with
    // app::SetLastJob and starts it with the saver's Save. When not, shows the first failed
    // check's message (style 48) and focuses its field. Errors from Save reach the caller.
    void DoIt();

    // The texts of the keyword, search-URL and output-folder boxes as typed (not trimmed).
    QString Keyword() const;
    QString SearchURL() const;
    QString SaveToFolder() const;

  private:
    void cmdDoIt_Click();

    fetchcore::CSaver* saver_ = nullptr;      // the main window's; lives as long as the window
    std::shared_ptr<fetchcore::CTask> task_;  // the last task started, read by its job
    QLabel* LabelCaption_;
    QLineEdit* txtKeyword_;
    QLineEdit* txtSearchURL_;
    QLineEdit* txtSaveTo_;
    QPushButton* cmdDoIt_;
};

}  // namespace kestrova
