#pragma once

#include <QLineEdit>

namespace kestrova {

// A text box that selects its whole text whenever it receives the focus, however it came
// (tab key, access key, mouse or program), so typing replaces the old value.
class TextBox : public QLineEdit {
    Q_OBJECT

  public:
    using QLineEdit::QLineEdit;

  protected:
    void focusInEvent(QFocusEvent* event) override;
};

}  // namespace kestrova
