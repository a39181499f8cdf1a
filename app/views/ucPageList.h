#pragma once

#include <string>

#include <QWidget>

#include "fetchcore/CSaver.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace kestrova {

// The result list view: the result URLs of the last job as text, which the user may edit and
// save to a file. The main window relies on Init.
class ucPageList : public QWidget, private fetchcore::CSaverEvents {
    Q_OBJECT

  public:
    explicit ucPageList(QWidget* parent = nullptr);
    ~ucPageList() override;

    // Handles the saver's ResultList event from now on. Called once by the main window.
    void Init(fetchcore::CSaver& saver);

    // The saver's event: the list replaces whatever the text box showed.
    void moSaver_ResultList(const std::string& ResultList);

    // The text box's text as it is saved: the list exactly as delivered while the user has
    // not changed it, otherwise the user's text with CR LF line breaks.
    std::string Text() const;

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void ResultList(const std::string& ResultList) override { moSaver_ResultList(ResultList); }
    void cmdSave_Click();
    void SaveAs(const std::string& file);

    tessel::EventSource<fetchcore::CSaverEvents>::Connection moSaverEvents_;
    std::string delivered_;  // the bytes of the last list, kept whole for saving

    // Child widgets, owned by the view.
    QLabel* LabelCaption_;
    QPlainTextEdit* txtPageList_;
    QPushButton* cmdSave_;
};

}  // namespace kestrova
