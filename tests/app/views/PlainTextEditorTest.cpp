// Edit without $VISUAL or $EDITOR: the desktop's plain-text application, found through the
// XDG association files, gets the saved page.
#include <QDir>
#include <QFile>
#include <QTest>

#include "ViewsTestSupport.h"
#include "kesapp/PlainTextEditor.h"

namespace kestrova::test {
namespace {

void Write(const QString& path, const QByteArray& content) {
    QDir().mkpath(path.section(QLatin1Char('/'), 0, -2));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

}  // namespace

class PlainTextEditorTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<QTemporaryDir> xdg_;
    QString config() { return xdg_->filePath(QStringLiteral("config")); }
    QString apps() { return xdg_->filePath(QStringLiteral("data/applications")); }
    const QString page_ = QStringLiteral("/tmp/out/kw/001-a.example.htm");

  private slots:
    void init() {
        // Only this test's association files count, never the machine's.
        xdg_ = std::make_unique<QTemporaryDir>();
        qputenv("XDG_CONFIG_HOME", config().toUtf8());
        qputenv("XDG_CONFIG_DIRS", xdg_->filePath(QStringLiteral("none")).toUtf8());
        qputenv("XDG_DATA_HOME", xdg_->filePath(QStringLiteral("data")).toUtf8());
        qputenv("XDG_DATA_DIRS", xdg_->filePath(QStringLiteral("none")).toUtf8());
    }

    void execFieldCodes_data() {
        QTest::addColumn<QString>("exec");
        QTest::addColumn<QStringList>("command");
        const QString f = QStringLiteral("/tmp/a b.htm");
        QTest::newRow("url list") << QStringLiteral("gedit %U") << QStringList{"gedit", f};
        QTest::newRow("file in the middle") << QStringLiteral("code --new-window %F --wait")
                                            << QStringList{"code", "--new-window", f, "--wait"};
        QTest::newRow("no field code") << QStringLiteral("ed") << QStringList{"ed", f};
        QTest::newRow("other codes dropped")
            << QStringLiteral("app %i %c %f %k") << QStringList{"app", f};
        QTest::newRow("quoted program")
            << QStringLiteral("\"/opt/my app/edit\" %f") << QStringList{"/opt/my app/edit", f};
        QTest::newRow("escaped percent")
            << QStringLiteral("app 100%% %f") << QStringList{"app", "100%", f};
        QTest::newRow("file once") << QStringLiteral("app %f %u") << QStringList{"app", f};
        QTest::newRow("empty") << QString() << QStringList();
    }
    void execFieldCodes() {
        QFETCH(QString, exec);
        QFETCH(QStringList, command);
        QCOMPARE(ExecCommand(exec, QStringLiteral("/tmp/a b.htm")), command);
    }

    void theDefaultApplicationForPlainTextOpensTheFile() {
        Write(config() + QStringLiteral("/mimeapps.list"),
              "[Added Associations]\ntext/plain=other.desktop;\n"
              "[Default Applications]\ntext/html=browser.desktop;\n"
              "text/plain=gone.desktop;notes.desktop;\n");
        Write(apps() + QStringLiteral("/notes.desktop"),
              "[Desktop Entry]\nName=Notes\nExec=notes --edit %F\n[Desktop Action New]\nExec=x\n");
        Write(apps() + QStringLiteral("/other.desktop"), "[Desktop Entry]\nExec=other %f\n");
        QCOMPARE(PlainTextEditorCommand(page_), (QStringList{"notes", "--edit", page_}));
    }

    void withoutADefaultTheAssociationsAndTheCacheAreAsked() {
        Write(apps() + QStringLiteral("/mimeinfo.cache"),
              "[MIME Cache]\ntext/plain=cached.desktop;\n");
        Write(apps() + QStringLiteral("/cached.desktop"), "[Desktop Entry]\nExec=cached\n");
        QCOMPARE(PlainTextEditorCommand(page_), (QStringList{"cached", page_}));
        Write(config() + QStringLiteral("/mimeapps.list"),
              "[Added Associations]\ntext/plain=added.desktop;\n");
        Write(apps() + QStringLiteral("/added.desktop"), "[Desktop Entry]\nExec=added %u\n");
        QCOMPARE(PlainTextEditorCommand(page_), (QStringList{"added", page_}));
    }

    void noApplicationForPlainTextGivesNoCommand() {
        Write(config() + QStringLiteral("/mimeapps.list"),
              "[Default Applications]\ntext/html=browser.desktop;\n");
        Write(apps() + QStringLiteral("/browser.desktop"), "[Desktop Entry]\nExec=browser %u\n");
        QVERIFY(PlainTextEditorCommand(page_).isEmpty());
    }

    void editWithoutAnEditorOfTheUsersStartsThePlainTextApplication() {
        const QString recorder = xdg_->filePath(QStringLiteral("record"));
        const QString edited = xdg_->filePath(QStringLiteral("edited"));
        Write(recorder, "#!/bin/sh\nprintf '%s' \"$1\" > \"$0.tmp\" && mv \"$0.tmp\" \"" +
                            edited.toUtf8() + "\"\n");
        QFile(recorder).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        Write(config() + QStringLiteral("/mimeapps.list"),
              "[Default Applications]\ntext/plain=record.desktop;\n");
        Write(apps() + QStringLiteral("/record.desktop"),
              "[Desktop Entry]\nExec=" + recorder.toUtf8() + " %f\n");
        const QByteArray visual = qgetenv("VISUAL"), editor = qgetenv("EDITOR");
        qunsetenv("VISUAL");
        qunsetenv("EDITOR");
        OpenWithDesktop(ShellVerb::Edit, page_.toStdString());
        qputenv("VISUAL", visual);
        qputenv("EDITOR", editor);
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(edited), 10000);
        QFile result(edited);
        QVERIFY(result.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(result.readAll()), page_);
    }
};

KES_TEST_CLASS(PlainTextEditorTest);

}  // namespace kestrova::test

#include "PlainTextEditorTest.moc"
