#include "CloseOnTermination.h"

#include <QApplication>
#include <QWidget>

namespace kestrova {

void CloseOnTermination(QWidget* window) {
    for (QWidget* modal; (modal = QApplication::activeModalWidget()) && modal->isVisible();) {
        // A message box answers with its escape button, a dialog rejects.
        modal->close();
        // A box without an escape button refuses to close; hidden, its loop ends all the same.
        if (modal->isVisible()) modal->hide();
    }
    if (window) window->close();
}

}  // namespace kestrova
