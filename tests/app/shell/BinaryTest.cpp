// The real kestrova program, started on the offscreen platform and closed again.
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include "ShellTestSupport.h"
#include "kesapp/Twips.h"
#include "serpdouble/SerpDouble.h"

namespace kestrova::test {
namespace {

// The program's surroundings inside `dir`: data, settings and runtime folders.
QProcessEnvironment ProgramEnvironment(const QTemporaryDir& dir) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    for (const char* name : {"APPDATA", "XDG_RUNTIME_DIR", "XDG_CONFIG_HOME"})
        env.insert(QString::fromLatin1(name), dir.path());
    return env;
}

}  // namespace

class BinaryTest : public QObject {
    Q_OBJECT

  private slots:
    void startsShowsTheWindowAndClosesCleanly() {
        QTemporaryDir dir;
        const QString shot = dir.filePath(QStringLiteral("window.png"));
        QProcess program;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("APPDATA"), dir.path());
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir.path());
        program.setProcessEnvironment(env);
        program.start(QStringLiteral(KESTROVA_BIN), {QStringLiteral("--screenshot"), shot});
        QVERIFY(program.waitForFinished(30000));  // the splash alone takes three seconds
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
        QCOMPARE(QImage(shot).width(), Px(10155));
        const auto log =
            ReadLog(dir.filePath(QStringLiteral("Quillmoor/Kestrova/Kestrova.log")).toStdString());
        QCOMPARE(log.size(), size_t{4});
        QCOMPARE(log[0].message, "*** Start App ***");
        QCOMPARE(log[1].message, "kestrova.exe: " KES_VERSION);
        QCOMPARE(log[3].message, "Fetchcore.dll " KES_VERSION);
    }

    void sigtermClosesLikeTheCloseBoxAndKeepsTheSettings() {
        QTemporaryDir dir;
        QProcess program;
        program.setProcessEnvironment(ProgramEnvironment(dir));
        program.start(QStringLiteral(KESTROVA_BIN), {});
        const std::string log =
            dir.filePath(QStringLiteral("Quillmoor/Kestrova/Kestrova.log")).toStdString();
        // Up and running: the saver's version line follows the splash.
        QTRY_VERIFY_WITH_TIMEOUT(ReadLog(log).size() >= 4, 30000);
        program.terminate();  // SIGTERM
        QVERIFY(program.waitForFinished(30000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
        const QString settings = dir.filePath(QStringLiteral("Kestrova/Kestrova.ini"));
        QVERIFY2(QFile::exists(settings), qPrintable(settings));
        QSettings stored(settings, QSettings::IniFormat);
        QCOMPARE(stored.value(QStringLiteral("Kestrova/txtKeyword2")).toString(),
                 QStringLiteral("kestrova"));
    }

    // A dialog open when the signal comes can neither keep the program running nor start a
    // job once the window has gone.
    void sigtermWithADialogOpenEndsTheProgram_data() {
        QTest::addColumn<QString>("action");  // the scripted user's, once the window is up
        QTest::addColumn<QByteArray>("shown");
        QTest::newRow("question") << "Ctrl+Tab" << QByteArray("Do you want to start download?");
        QTest::newRow("About") << "mnuAbout" << QByteArray("About Kestrova");
        QTest::newRow("Download complete") << "cmdDoIt" << QByteArray("Download complete");
    }
    void sigtermWithADialogOpenEndsTheProgram() {
        QFETCH(QString, action);
        QFETCH(QByteArray, shown);
        serpdouble::SerpDouble engine;
        engine.Start();
        QTemporaryDir dir;
        const QString ini = dir.filePath(QStringLiteral("Kestrova/Kestrova.ini"));
        // The task lists the double's results, without saving pages.
        QSettings(ini, QSettings::IniFormat)
            .setValue(QStringLiteral("Kestrova/txtSearchURL4"), engine.SearchURL("kites").c_str());
        QSettings(ini, QSettings::IniFormat)
            .setValue(QStringLiteral("Kestrova/chkDownloadPages14"), 0);
        QProcess program;
        QProcessEnvironment env = ProgramEnvironment(dir);
        env.insert(QStringLiteral("QT_PLUGIN_PATH"), QStringLiteral(KES_TEST_PLUGINS));
        env.insert(QStringLiteral("QT_QPA_GENERIC_PLUGINS"), QStringLiteral("kesdriver:") + action);
        program.setProcessEnvironment(env);
        program.start(QStringLiteral(KESTROVA_BIN), {});
        QByteArray out;
        QTRY_VERIFY_WITH_TIMEOUT((out += program.readAllStandardOutput()).contains(shown), 30000);
        const int requests = engine.Snapshot().Requests();
        program.terminate();
        QVERIFY(program.waitForFinished(20000));  // a watchdog: the dialog kept it running
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
        QCOMPARE(engine.Snapshot().Requests(), requests);
        // Stored on the way out: the seed had no such entry.
        QCOMPARE(
            QSettings(ini, QSettings::IniFormat).value(QStringLiteral("Kestrova/txtResultsTo8")),
            QVariant(QStringLiteral("10")));
    }

    void withoutADisplayItPointsToTheCommandLineProgram() {
        QProcess program;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
            env.remove(QString::fromLatin1(name));
        program.setProcessEnvironment(env);
        program.start(QStringLiteral(KESTROVA_BIN), {});
        QVERIFY(program.waitForFinished(30000));
        QCOMPARE(program.exitCode(), 2);
        const QString said = QString::fromLocal8Bit(program.readAllStandardError());
        QVERIFY2(said.contains(QStringLiteral("no display")), qPrintable(said));
        QVERIFY2(said.contains(QStringLiteral("kestrova-cli")), qPrintable(said));
    }
};

}  // namespace kestrova::test

using kestrova::test::BinaryTest;
KES_TEST_CLASS(BinaryTest);

#include "BinaryTest.moc"
