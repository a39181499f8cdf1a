#pragma once

#include <QPixmap>
#include <QWidget>

#include "fetchcore/CSaver.h"

class QLabel;
class QPushButton;
class QTreeWidget;

namespace kestrova {

// The download progress view: the pages of the running job with their states. The main
// window relies on Init and Finalize only.
//
// For now it follows the job state (status panel 2, the Cancel button) and keeps the list
// control ("lv", columns N, URL, Download) empty; the rows, their states and the list's
// commands come next, through the CSaverEvents overrides.
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

  private:
    void StartDownload() override;
    void Complete(bool IsSuccess, const std::string& ErrDescription) override;
    void cmdCancel_Click();

    fetchcore::CSaver* moSaver_ = nullptr;
    tessel::EventSource<fetchcore::CSaverEvents>::Connection moSaverEvents_;
    QPixmap mStatusPicture_;
    QLabel* LabelCaption_;
    QTreeWidget* lv_;
    QPushButton* cmdCancel_;
};

}  // namespace kestrova
