// The task options: what they give the task, their check, and their place in the settings.
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QTest>

#include "EditorTestSupport.h"
#include "fetchcore/CSaver.h"
#include "kesapp/AppState.h"
#include "tessel/Toolbox.h"

namespace kestrova::test {
namespace {

QCheckBox* Box(QWidget& parent, const char* name) {
    return Child<QCheckBox>(parent, name);
}

}  // namespace

class TaskOptionsTest : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        ForgetSettings();
        app::SetLastJob({}, {});
        host_ = std::make_unique<HostWindow>();
        host_->show();
        QVERIFY(QTest::qWaitForWindowActive(host_.get()));
        saver_ = std::make_unique<fetchcore::CSaver>();
        saver_->Init(nullptr);
        host_->Editor().Init(*saver_);
        Child<QLineEdit>(*host_, "txtSaveTo")->setText(QStringLiteral("/tmp/out"));
    }
    void cleanup() {
        tessel::WorkerThread::JoinAll();
        tessel::Toolbox::PumpMessages();  // the jobs' Complete
        host_.reset();
        saver_.reset();
    }

    void theOptionsReachTheTaskAndResumeAndManifestFollowDownloading() {
        TaskCapture capture;
        MessageBoxes boxes;
        ucTask& editor = host_->Editor();
        QVERIFY(!Box(*host_, "chkResume")->isChecked());  // all off on a first start
        QVERIFY(!Child<QWidget>(*host_, "txtWarcFile")->isEnabled());
        Box(*host_, "chkResume")->setChecked(true);
        Box(*host_, "chkManifest")->setChecked(true);
        Box(*host_, "chkWarc")->setChecked(true);
        QVERIFY(Child<QWidget>(*host_, "txtWarcFile")->isEnabled());
        Child<QLineEdit>(*host_, "txtWarcFile")->setText(QStringLiteral(" /tmp/run.warc.gz "));
        editor.DoIt();
        // Without pages to save there is nothing to keep or list; the WARC file still records.
        Box(*host_, "chkDownloadPages")->setChecked(false);
        QVERIFY(!Box(*host_, "chkResume")->isEnabled());
        QVERIFY(!Box(*host_, "chkManifest")->isEnabled());
        editor.DoIt();
        Box(*host_, "chkWarc")->setChecked(false);
        editor.DoIt();
        QVERIFY(boxes.shown.empty());
        tessel::WorkerThread::JoinAll();
        const auto tasks = capture.Tasks();
        QCOMPARE(tasks.size(), size_t{3});
        QVERIFY(tasks[0]->Resume());
        QVERIFY(tasks[0]->Manifest());
        QCOMPARE(tasks[0]->WarcFile(), "/tmp/run.warc.gz");
        QVERIFY(!tasks[1]->Resume());
        QVERIFY(!tasks[1]->Manifest());
        QCOMPARE(tasks[1]->WarcFile(), "/tmp/run.warc.gz");
        QCOMPARE(tasks[2]->WarcFile(), "");
    }

    void aWarcFileWithoutANameIsRefusedAtItsBox() {
        TaskCapture capture;
        MessageBoxes boxes;
        Box(*host_, "chkWarc")->setChecked(true);
        Child<QLineEdit>(*host_, "txtWarcFile")->setText(QStringLiteral("   "));
        host_->Editor().DoIt();
        QCOMPARE(boxes.shown.size(), size_t{1});
        QVERIFY(boxes.shown[0].first.find("WARC") != std::string::npos);
        QCOMPARE(boxes.shown[0].second, 48);
        QCOMPARE(QApplication::focusWidget(), Child<QWidget>(*host_, "txtWarcFile"));
        tessel::WorkerThread::JoinAll();
        QVERIFY(capture.Tasks().empty());
        QVERIFY(app::LastJobKeyword().empty());
    }

    void theOptionsSurviveARestartUnderTheirOwnKeys() {
        host_.reset();
        {
            ucTask editor;
            Box(editor, "chkResume")->setChecked(true);
            Box(editor, "chkWarc")->setChecked(true);
            Child<QLineEdit>(editor, "txtWarcFile")->setText(QStringLiteral("/srv/a b.warc"));
        }
        const QSettings stored = StoredSettings();
        QCOMPARE(stored.value("Kestrova/Options/Resume").toString(), QStringLiteral("1"));
        QCOMPARE(stored.value("Kestrova/Options/Manifest").toString(), QStringLiteral("0"));
        QCOMPARE(stored.value("Kestrova/Options/Warc").toString(), QStringLiteral("1"));
        QCOMPARE(stored.value("Kestrova/Options/WarcFile").toString(),
                 QStringLiteral("/srv/a b.warc"));
        QVERIFY(!stored.contains("Kestrova/chkResume0"));
        ucTask again;
        QVERIFY(Box(again, "chkResume")->isChecked());
        QVERIFY(!Box(again, "chkManifest")->isChecked());
        QVERIFY(Box(again, "chkWarc")->isChecked());
        QCOMPARE(Child<QLineEdit>(again, "txtWarcFile")->text(), QStringLiteral("/srv/a b.warc"));
        QVERIFY(Child<QWidget>(again, "txtWarcFile")->isEnabled());
    }

  private:
    std::unique_ptr<HostWindow> host_;
    std::unique_ptr<fetchcore::CSaver> saver_;
};

}  // namespace kestrova::test

using kestrova::test::TaskOptionsTest;
KES_TEST_CLASS(TaskOptionsTest);

#include "TaskOptionsTest.moc"
