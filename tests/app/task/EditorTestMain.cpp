// task_editor_tests CLASS [Qt Test options]: runs one test class, so each gets a process of
// its own with its own home, documents and settings folders.

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "EditorTestSupport.h"
#include "kesapp/Application.h"

namespace kestrova::test {
namespace {

QTemporaryDir& Root() {
    static QTemporaryDir root;
    return root;
}

// The desktop's user-dirs file names the documents folder, as on a configured desktop.
void MakeHome() {
    const QString home = Root().filePath(QStringLiteral("home"));
    const QString config = Root().filePath(QStringLiteral("config"));
    QDir().mkpath(home + QStringLiteral("/My Documents"));
    QDir().mkpath(config);
    QFile dirs(config + QStringLiteral("/user-dirs.dirs"));
    if (dirs.open(QIODevice::WriteOnly)) dirs.write("XDG_DOCUMENTS_DIR=\"$HOME/My Documents\"\n");
    qputenv("HOME", home.toUtf8());
    qputenv("XDG_CONFIG_HOME", config.toUtf8());
    qputenv("XDG_RUNTIME_DIR", Root().path().toUtf8());
    qputenv("APPDATA", Root().filePath(QStringLiteral("appdata")).toUtf8());
}

}  // namespace

std::string SettingsFolder() {
    return Root().filePath(QStringLiteral("settings")).toStdString();
}

QString DocumentsFolder() {
    return Root().filePath(QStringLiteral("home/My Documents"));
}

}  // namespace kestrova::test

int main(int argc, char* argv[]) {
    kestrova::test::MakeHome();
    QApplication application(argc, argv);
    kestrova::ConfigureApplication();
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,
                       QString::fromStdString(kestrova::test::SettingsFolder()));
    return kestrova::test::RunNamedTestClass(argc, argv);
}
