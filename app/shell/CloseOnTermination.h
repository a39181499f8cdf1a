#pragma once

class QWidget;

namespace kestrova {

// What a termination signal does to the windows: every open modal dialog and message box
// closes first, innermost first and each as rejected, so that nothing waits for an answer
// and no answer starts anything; then `window` (when there is one) closes as its close box
// closes it. The dialogs' own loops return once control gets back to them.
void CloseOnTermination(QWidget* window);

}  // namespace kestrova
