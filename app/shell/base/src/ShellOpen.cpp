#include "kesapp/ShellOpen.h"

#include <cstdlib>
#include <utility>

#include <QDesktopServices>
#include <QProcess>
#include <QRegularExpression>

#include "kesapp/PlainTextEditor.h"

namespace kestrova {
namespace {

ShellHandler& CurrentShellHandler() {
    static ShellHandler handler;
    return handler;
}

// $VISUAL, else $EDITOR, split into program and arguments; empty when neither is set.
QStringList EditorCommand() {
    for (const char* name : {"VISUAL", "EDITOR"}) {
        const char* value = std::getenv(name);
        if (value && *value) return QProcess::splitCommand(QString::fromLocal8Bit(value));
    }
    return {};
}

}  // namespace

QUrl ShellTargetUrl(const std::string& target) {
    const QString text = QString::fromStdString(target);
    // Two letters at least before the colon, so nothing like "C:" passes for a scheme.
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:"));
    if (scheme.match(text).hasMatch()) return QUrl(text, QUrl::TolerantMode);
    return QUrl::fromLocalFile(text);
}

void ShellExecute(ShellVerb verb, const std::string& target) {
    if (target.empty()) return;
    if (const ShellHandler& handler = CurrentShellHandler()) return handler(verb, target);
    OpenWithDesktop(verb, target);
}

void OpenWithDesktop(ShellVerb verb, const std::string& target) {
    if (verb == ShellVerb::Edit) {
        const QString file = QString::fromStdString(target);
        QStringList command = EditorCommand();
        // Without an editor of the user's, the plain-text application: a page's own default
        // application (a browser) would show it, not edit it.
        if (command.isEmpty())
            command = PlainTextEditorCommand(file);
        else
            command << file;
        if (!command.isEmpty()) {
            const QString program = command.takeFirst();
            QProcess::startDetached(program, command);
            return;
        }
    }
    const QUrl url = ShellTargetUrl(target);
    if (url.isValid()) QDesktopServices::openUrl(url);
}

ScopedShellHandler::ScopedShellHandler(ShellHandler handler)
    : previous_(std::exchange(CurrentShellHandler(), std::move(handler))) {}

ScopedShellHandler::~ScopedShellHandler() {
    CurrentShellHandler() = std::move(previous_);
}

}  // namespace kestrova
