#pragma once

#include <QLineEdit>

namespace kestrova {

// A text box that selects its whole text whenever it receives the focus (tab key, access
// key, mouse or program), so typing replaces the old value; not when its window or a menu
// gives the focus back.
class TextBox : public QLineEdit {
    Q_OBJECT

  public:
    using QLineEdit::QLineEdit;

  protected:
    void focusInEvent(QFocusEvent* event) override;
};

}  // namespace kestrova
