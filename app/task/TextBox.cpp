#include "TextBox.h"

#include <QFocusEvent>

namespace kestrova {

void TextBox::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    // The window coming back, or a menu closing, returns the focus the user left: the text
    // and its cursor stay as they were.
    if (event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason)
        selectAll();
}

}  // namespace kestrova
