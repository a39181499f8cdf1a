#pragma once

#include <QString>

class QWidget;

namespace kestrova {

// The value of "--screenshot FILE" among the program's arguments; empty when not given.
QString ScreenshotOption(const QStringList& arguments);

// Once `window` is active (or after a second at most), saves a picture of it to `file` and
// closes it the usual way. The program's exit code tells whether the picture was written.
void ScreenshotAndClose(QWidget& window, const QString& file);

}  // namespace kestrova
