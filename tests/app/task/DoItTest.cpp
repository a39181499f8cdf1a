// Starting a job from the editor: the checks and their focus, the task handed to the saver,
// and the main window asked for the progress view.
#include <fstream>
#include <sstream>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QTest>

#include "EditorTestSupport.h"
#include "FMain.h"
#include "fetchcore/CSaver.h"
#include "kesapp/AppState.h"
#include "tessel/Toolbox.h"

namespace kestrova::test {
namespace {

void Fill(QWidget& host, const QString& url, const QString& from, const QString& to,
          const QString& perPage, const QString& saveTo) {
    Child<QLineEdit>(host, "txtSearchURL")->setText(url);
    Child<QLineEdit>(host, "txtResultsFrom")->setText(from);
    Child<QLineEdit>(host, "txtResultsTo")->setText(to);
    Child<QLineEdit>(host, "txtResultsPerPage")->setText(perPage);
    Child<QLineEdit>(host, "txtSaveTo")->setText(saveTo);
}

void ClickDownload(QWidget& host) {
    QTest::mouseClick(Child<QWidget>(host, "cmdDoIt"), Qt::LeftButton);
}

const QString kGoogle = QStringLiteral("http://www.google.com/search?q=k");

}  // namespace

class DoItTest : public QObject {
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
    }
    void cleanup() {
        tessel::WorkerThread::JoinAll();
        tessel::Toolbox::PumpMessages();  // the jobs' Complete
        QVERIFY(!saver_->IsDownloadingNow());
        host_.reset();
        saver_.reset();
    }

    void onlyTheFirstFailedCheckIsReportedAtItsControl_data() {
        QTest::addColumn<QString>("url");
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<QString>("perPage");
        QTest::addColumn<QString>("saveTo");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focus");
        const QString bing = QStringLiteral("http://bing.com/?q=");
        QTest::newRow("blank keyword") << bing + "+"
                                       << "0"
                                       << "0"
                                       << "0"
                                       << "" << msg::kNoKeyword << "txtKeyword";
        QTest::newRow("not google") << bing + "k"
                                    << "0"
                                    << "0"
                                    << "0"
                                    << "" << msg::kNotGoogle << "txtSearchURL";
        QTest::newRow("paging") << "http://www.Google.com/search?q=k&NUM=5"
                                << "0"
                                << "0"
                                << "0"
                                << "" << msg::kPagingInUrl << "txtSearchURL";
        QTest::newRow("first") << kGoogle << "1000"
                               << "0"
                               << "0"
                               << "" << msg::kBadRange << "txtResultsFrom";
        QTest::newRow("last") << kGoogle << "999"
                              << "abc"
                              << "0"
                              << "" << msg::kBadRange << "txtResultsTo";
        QTest::newRow("order") << kGoogle << "6"
                               << "5"
                               << "0"
                               << "" << msg::kFromAfterTo << "txtResultsTo";
        QTest::newRow("per page") << kGoogle << "5"
                                  << "5"
                                  << "101"
                                  << "" << msg::kBadPerPage << "txtResultsPerPage";
        QTest::newRow("folder") << kGoogle << "5"
                                << "5"
                                << "100"
                                << "  " << msg::kNoFolder << "txtSaveTo";
    }
    void onlyTheFirstFailedCheckIsReportedAtItsControl() {
        QFETCH(QString, url);
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(QString, perPage);
        QFETCH(QString, saveTo);
        QFETCH(QString, message);
        QFETCH(QString, focus);
        TaskCapture capture;
        MessageBoxes boxes;
        host_->Editor().Init(*saver_);
        Fill(*host_, url, from, to, perPage, saveTo);
        ClickDownload(*host_);
        QCOMPARE(boxes.shown.size(), size_t{1});
        QCOMPARE(QString::fromStdString(boxes.shown[0].first), message);
        QCOMPARE(boxes.shown[0].second, 48);
        QCOMPARE(QApplication::focusWidget()->objectName(), focus);
        QCOMPARE(host_->goResultsPageCalls, 1);  // asked even after a failed check
        QVERIFY(!saver_->IsDownloadingNow());
        QVERIFY(app::LastJobKeyword().empty());
    }

    void aValidTaskReachesSaveWithEveryProperty() {
        TaskCapture capture;
        MessageBoxes boxes;
        host_->Editor().Init(*saver_);
        Fill(*host_, QStringLiteral(" http://www.google.com/search?hl=en&q=two+words "),
             QStringLiteral(" 3"), QStringLiteral("25abc"), QStringLiteral("20.9"),
             QStringLiteral(" /tmp/out dir "));
        Child<QCheckBox>(*host_, "chkSkipNonHtmlPages")->setChecked(false);
        ClickDownload(*host_);
        QVERIFY(boxes.shown.empty());
        QCOMPARE(host_->goResultsPageCalls, 1);
        tessel::WorkerThread::JoinAll();
        const auto tasks = capture.Tasks();
        QCOMPARE(tasks.size(), size_t{1});
        const fetchcore::CTask& task = *tasks[0];
        QCOMPARE(task.KW(), "two words");
        QCOMPARE(task.SearchURL(), "http://www.google.com/search?hl=en&q=two+words");
        QCOMPARE(task.ResultsFrom(), 3);
        QCOMPARE(task.ResultsTo(), 25);
        QCOMPARE(task.ResultsPerPage(), 20);
        QVERIFY(task.DownloadResultPages());
        QVERIFY(!task.SkipNonHTMLFiles());
        QCOMPARE(task.SaveResultsToFolder(), "/tmp/out dir");
        QCOMPARE(app::LastJobKeyword(), "two words");
        QCOMPARE(app::LastJobFolder(), "/tmp/out dir");
        // A second click starts one more job with a task of its own, running or not.
        ClickDownload(*host_);
        tessel::WorkerThread::JoinAll();
        QCOMPARE(capture.Tasks().size(), size_t{2});
        QVERIFY(capture.Tasks()[1] != tasks[0]);
    }

    void withDownloadingOffAnEmptyFolderIsIgnored() {
        TaskCapture capture;
        MessageBoxes boxes;
        host_->Editor().Init(*saver_);
        Fill(*host_, kGoogle, "1", "10", "10", "");
        Child<QCheckBox>(*host_, "chkDownloadPages")->setChecked(false);
        host_->Editor().DoIt();
        QVERIFY(boxes.shown.empty());
        tessel::WorkerThread::JoinAll();
        QCOMPARE(capture.Tasks().size(), size_t{1});
        const fetchcore::CTask& task = *capture.Tasks()[0];
        QVERIFY(!task.DownloadResultPages());
        QVERIFY(!task.SkipNonHTMLFiles());  // the box is still checked, but pages are off
        QCOMPARE(task.SaveResultsToFolder(), "");
        QCOMPARE(app::LastJobKeyword(), "k");
        QCOMPARE(app::LastJobFolder(), "");
    }

    void anErrorFromDoItIsLoggedAndSkipsTheProgressView() {
        QTemporaryDir folder;
        const std::string logFile = folder.filePath(QStringLiteral("k.log")).toStdString();
        auto log = std::make_shared<tessel::Log>();
        log->Open(logFile);
        app::SetProcessLog(log);
        MessageBoxes boxes;
        Fill(*host_, kGoogle, "1", "10", "10", "/tmp/k");
        ClickDownload(*host_);  // no saver was handed over
        app::SetProcessLog(nullptr);
        std::stringstream text;
        text << std::ifstream(logFile).rdbuf();
        QVERIFY(text.str().find("\tL0\t") != std::string::npos);
        QVERIFY(text.str().find("\tucTask.cmdDoIt_Click\t") != std::string::npos);
        QVERIFY(boxes.shown.empty());
        QCOMPARE(host_->goResultsPageCalls, 0);
        QCOMPARE(app::LastJobKeyword(), "k");  // set before the failing step
    }

    void theMainWindowShowsTheProgressViewAfterDownload() {
        host_.reset();
        TaskCapture capture;
        MessageBoxes boxes;
        QTemporaryDir marker;
        ShellOptions quick;
        quick.splashTime = std::chrono::milliseconds(1);
        quick.markerFolder = marker.path().toStdString();
        FMain window(quick);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        Fill(window, kGoogle, "1", "10", "10", "/tmp/k");
        ClickDownload(window);
        QVERIFY(boxes.shown.empty());
        tessel::WorkerThread::JoinAll();
        QCOMPARE(capture.Tasks().size(), size_t{1});
        QCOMPARE(capture.Tasks()[0]->KW(), "k");
        QCOMPARE(window.CurrentViewKey(), "downloading");
        QVERIFY(Child<QWidget>(window, "ucPages1")->isVisible());
        QVERIFY(!Child<QWidget>(window, "ucTask1")->isVisible());
        QTRY_VERIFY(!window.Saver().IsDownloadingNow());
    }

  private:
    std::unique_ptr<HostWindow> host_;
    std::unique_ptr<fetchcore::CSaver> saver_;
};

}  // namespace kestrova::test

using kestrova::test::DoItTest;
KES_TEST_CLASS(DoItTest);

#include "DoItTest.moc"
