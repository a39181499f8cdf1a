#include "TextBox.h"

namespace kestrova {

void TextBox::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    selectAll();
}

}  // namespace kestrova
