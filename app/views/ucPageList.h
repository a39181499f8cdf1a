#pragma once

#include <QWidget>

#include "fetchcore/CSaver.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace kestrova {

// The result list view: the last job's result URLs as text. The main window relies on Init
// only. For now it shows each ResultList as it arrives; saving it (cmdSave) comes next.
class ucPageList : public QWidget, private fetchcore::CSaverEvents {
    Q_OBJECT

  public:
    explicit ucPageList(QWidget* parent = nullptr);
    ~ucPageList() override;

    // Handles the saver's ResultList event from now on. Called once by the main window.
    void Init(fetchcore::CSaver& saver);

  private:
    void ResultList(const std::string& ResultList) override;

    tessel::EventSource<fetchcore::CSaverEvents>::Connection moSaverEvents_;
    QLabel* LabelCaption_;
    QPlainTextEdit* txtPageList_;
    QPushButton* cmdSave_;
};

}  // namespace kestrova
