#pragma once

#include <QString>
#include <QStringList>

namespace kestrova {

// The desktop's default application for plain text ("text/plain" in the XDG mimeapps.list
// files, else in mimeinfo.cache), as a program and its arguments that open `file`. Empty when
// the desktop names none that can be found.
QStringList PlainTextEditorCommand(const QString& file);

// The command of a desktop entry's Exec value for `file`: the file in place of its first
// file or URL field code (appended when it has none), the other field codes dropped.
QStringList ExecCommand(const QString& exec, const QString& file);

}  // namespace kestrova
