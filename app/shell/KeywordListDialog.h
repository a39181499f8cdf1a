#pragma once

#include <chrono>
#include <string>
#include <vector>

#include <QDialog>

class QPlainTextEdit;
class QSpinBox;

namespace kestrova {

// Asks for a keyword list, typed or loaded from a file, and the pause between two keywords'
// jobs. The list is read by the command line's rules: one keyword a line, blanks trimmed,
// blank lines and "#" comments passed over. OK is refused while the list holds no keyword.
class KeywordListDialog : public QDialog {
    Q_OBJECT

  public:
    explicit KeywordListDialog(QWidget* owner);

    std::vector<std::string> Keywords() const;
    std::chrono::milliseconds Pause() const;

    // Replaces the list with the keywords of `file`; a file that cannot be read or holds no
    // keyword is told in a message box and leaves the list as it was.
    void LoadFrom(const QString& file);

    void accept() override;

  private:
    void cmdLoad_Click();

    QPlainTextEdit* txtKeywords_;
    QSpinBox* txtPause_;
};

}  // namespace kestrova
