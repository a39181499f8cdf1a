#include "kesapp/PlainTextEditor.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTextStream>

namespace kestrova {
namespace {

constexpr const char* kMimeType = "text/plain";

// The value of `key` in the `group` of a desktop-style file; empty when it has none.
QString ValueOf(const QString& path, const QString& group, const QString& key) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return {};
    QTextStream in(&file);
    bool inGroup = false;
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            inGroup = line == QLatin1Char('[') + group + QLatin1Char(']');
        } else if (inGroup && line.section(QLatin1Char('='), 0, 0).trimmed() == key) {
            return line.section(QLatin1Char('='), 1).trimmed();
        }
    }
    return {};
}

QStringList ValuesOf(const QString& path, const QString& group, const QString& key) {
    return ValueOf(path, group, key).split(QLatin1Char(';'), Qt::SkipEmptyParts);
}

// Desktop ids for the type, most preferred first, as the XDG association rules order them.
QStringList DesktopIds() {
    QStringList lists;
    for (const QString& dir :
         QStandardPaths::standardLocations(QStandardPaths::GenericConfigLocation))
        lists << dir + QStringLiteral("/mimeapps.list");
    const QStringList appDirs =
        QStandardPaths::standardLocations(QStandardPaths::ApplicationsLocation);
    for (const QString& dir : appDirs) lists << dir + QStringLiteral("/mimeapps.list");
    QStringList ids;
    for (const QString& list : lists)
        ids << ValuesOf(list, QStringLiteral("Default Applications"), QLatin1String(kMimeType));
    for (const QString& list : lists)
        ids << ValuesOf(list, QStringLiteral("Added Associations"), QLatin1String(kMimeType));
    for (const QString& dir : appDirs)
        ids << ValuesOf(dir + QStringLiteral("/mimeinfo.cache"), QStringLiteral("MIME Cache"),
                        QLatin1String(kMimeType));
    return ids;
}

}  // namespace

QStringList ExecCommand(const QString& exec, const QString& file) {
    QStringList command;
    bool placed = false;
    for (QString arg : QProcess::splitCommand(exec)) {
        static const QStringList fileCodes = {QStringLiteral("%f"), QStringLiteral("%F"),
                                              QStringLiteral("%u"), QStringLiteral("%U")};
        if (fileCodes.contains(arg)) {
            if (!placed) command << file;
            placed = true;
            continue;
        }
        if (arg.size() == 2 && arg.startsWith(QLatin1Char('%')) && arg != QStringLiteral("%%"))
            continue;  // icon, name, location and the deprecated codes
        command << arg.replace(QStringLiteral("%%"), QStringLiteral("%"));
    }
    if (!command.isEmpty() && !placed) command << file;
    return command;
}

QStringList PlainTextEditorCommand(const QString& file) {
    for (const QString& id : DesktopIds()) {
        const QString entry =
            QStandardPaths::locate(QStandardPaths::ApplicationsLocation, id.trimmed());
        if (entry.isEmpty()) continue;
        const QStringList command = ExecCommand(
            ValueOf(entry, QStringLiteral("Desktop Entry"), QStringLiteral("Exec")), file);
        if (!command.isEmpty()) return command;
    }
    return {};
}

}  // namespace kestrova
