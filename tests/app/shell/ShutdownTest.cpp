// Closing the window while a job runs: the job is cancelled without a question, its thread
// ends, and no later event reaches the closed window's views.
#include <QAction>
#include <QTest>

#include "ShellTestSupport.h"
#include "fetchcore/CSaver.h"
#include "kesapp/AppState.h"
#include "kesapp/StatusPanels.h"
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
};

}  // namespace kestrova::test

using kestrova::test::ShutdownTest;
KES_TEST_CLASS(ShutdownTest);

#include "ShutdownTest.moc"
