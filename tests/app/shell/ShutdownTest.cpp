// Closing the window while a job runs: the job is cancelled without a question, its thread
// ends, and no later event reaches the closed window's views.
#include <QAction>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include "ShellTestSupport.h"
#include "fetchcore/CSaver.h"
#include "kesapp/AppState.h"
#include "kesapp/StatusPanels.h"
#include "serpdouble/SerpDouble.h"
#include "tessel/WorkerThread.h"
#include "ucTask.h"

namespace kestrova::test {

class ShutdownTest : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        JobProbe::started = false;
        JobProbe::cancelled = false;
    }

    void closingTheWindowCancelsTheRunningJob_data() {
        QTest::addColumn<bool>("byMenu");
        QTest::newRow("close box") << false;
        QTest::newRow("File Exit") << true;
    }
    void closingTheWindowCancelsTheRunningJob() {
        QFETCH(bool, byMenu);
        TempAppData appData;
        MessageBoxes boxes;
        {
            FMain window(QuickStart(appData.Path()));
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            SetTaskFields(window, QStringLiteral("wait-cancel"));
            Child<ucTask>(window, "ucTask1")->DoIt();
            QTRY_VERIFY(JobProbe::started);
            QVERIFY(window.Saver().IsDownloadingNow());
            if (byMenu)
                Child<QAction>(window, "mnuExit")->trigger();
            else
                window.close();
            QVERIFY(!window.isVisible());
            tessel::WorkerThread::JoinAll();
            QVERIFY(JobProbe::cancelled);
            QCOMPARE(tessel::WorkerThread::RunningCount(), 0);
            // The job's Complete is still queued; the finalised progress view ignores it.
            QCoreApplication::processEvents();
            QCOMPARE(StatusPanels::Of(&window)->Text(2), QStringLiteral("Downloading..."));
        }
        QVERIFY(boxes.shown.empty());
        app::SetLastJob({}, {});
    }

    // The engine's own job against a search engine that never answers, in either phase.
    void closingEndsTheEnginesJobWhereverItWaits_data() {
        QTest::addColumn<bool>("resultsPhase");
        QTest::newRow("results page unanswered") << true;
        QTest::newRow("result pages unanswered") << false;
    }
    void closingEndsTheEnginesJobWhereverItWaits() {
        QFETCH(bool, resultsPhase);
        serpdouble::SerpDouble::Options options;
        options.totalResults = 10;
        for (int n = 1; n <= 10; ++n) options.resultFaults[n] = serpdouble::Fault::StallForever();
        if (resultsPhase) options.resultsPageFaults[1] = serpdouble::Fault::StallForever();
        serpdouble::SerpDouble engine(options);
        engine.Start();
        TempAppData appData;
        QTemporaryDir out;
        MessageBoxes boxes;
        qint64 closeToJoined = 0;
        {
            FMain window(QuickStart(appData.Path()));
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            SetTaskFields(window, QStringLiteral("stall"), {}, out.path());
            Child<QLineEdit>(window, "txtSearchURL")
                ->setText(QString::fromStdString(engine.SearchURL("stall")));
            Child<ucTask>(window, "ucTask1")->DoIt();
            QTRY_VERIFY(engine.Snapshot().stalled >= 1);
            QVERIFY(window.Saver().IsDownloadingNow());
            QVERIFY(tessel::WorkerThread::RunningCount() > 0);
            QElapsedTimer clock;
            clock.start();
            window.close();
            tessel::WorkerThread::JoinAll();
            closeToJoined = clock.elapsed();
            QCOMPARE(tessel::WorkerThread::RunningCount(), 0);
        }
        qInfo("close to last engine thread joined: %lld ms", closeToJoined);
        // It was closed in the phase meant.
        QCOMPARE(engine.Snapshot().pageRequests > 0, !resultsPhase);
        engine.Stop();
        QVERIFY(boxes.shown.empty());
        app::SetLastJob({}, {});
    }
};

}  // namespace kestrova::test

using kestrova::test::ShutdownTest;
KES_TEST_CLASS(ShutdownTest);

#include "ShutdownTest.moc"
