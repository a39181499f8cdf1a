// The progress view on a real saver whose jobs run on worker threads: Cancel, a flood of 999
// pages, and Finalize.
#include <QPushButton>
#include <QTest>

#include "PageTableModel.h"
#include "ViewsTestSupport.h"
#include "kesapp/StatusPanels.h"
#include "tessel/WorkerThread.h"
#include "ucPages.h"

namespace kestrova::test {

class PagesJobTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<Host<ucPages>> host_;
    PageTableModel& rows() { return ProgressRows(*host_->view); }
    QPushButton* cmdCancel() {
        return host_->view->findChild<QPushButton*>(QStringLiteral("cmdCancel"));
    }
    void CheckFlood(int count) {
        QCOMPARE(rows().rowCount(), count);
        for (int i = 1; i <= count; ++i) {
            QCOMPARE(Cell(rows(), i - 1, 0), QString::number(i));
            QCOMPARE(rows().Row(i - 1).url, FloodUrl(i));
            const QString state = FloodSkips(i)   ? QStringLiteral("Skipped")
                                  : FloodSaves(i) ? QStringLiteral("Complete")
                                                  : QStringLiteral("HTTP 404");
            QCOMPARE(Cell(rows(), i - 1, 2), state);
        }
    }

  private slots:
    void init() {
        host_ = std::make_unique<Host<ucPages>>();
        host_->window.show();
    }
    void cleanup() {
        if (host_->saver.IsDownloadingNow()) host_->saver.CancelAll();
        QTRY_VERIFY_WITH_TIMEOUT(!host_->saver.IsDownloadingNow(), 20000);
        host_.reset();
    }

    void cancelStaysEnabledUntilTheCancelledJobCompletes() {
        MessageBoxes boxes;
        host_->saver.Save(ScriptTask("wait-cancel"));
        QVERIFY(cmdCancel()->isEnabled());
        QCOMPARE(host_->sb->Text(2), QStringLiteral("Downloading..."));
        QTest::mouseClick(cmdCancel(), Qt::LeftButton);
        QVERIFY(cmdCancel()->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(!cmdCancel()->isEnabled(), 20000);
        QCOMPARE(host_->sb->Text(2), QStringLiteral("Complete"));
        QCOMPARE(boxes.shown.size(), size_t{1});
        QCOMPARE(boxes.shown[0].prompt, "Cancelled");
        QCOMPARE(boxes.shown[0].buttons, 48);
    }

    void cancelWhileSavingPagesSaysCancelledNotComplete() {
        MessageBoxes boxes;
        host_->saver.Save(ScriptTask("pages-wait-cancel"));
        QTRY_COMPARE(rows().rowCount(), 1);
        QTest::mouseClick(cmdCancel(), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!boxes.shown.empty(), 20000);
        QCOMPARE(boxes.shown[0].prompt, "Download cancelled.");
        QCOMPARE(boxes.shown[0].buttons, 64);
        // The next job, not cancelled, completes as before.
        host_->saver.Save(ScriptTask("flood:2"));
        QTRY_COMPARE_WITH_TIMEOUT(boxes.shown.size(), size_t{2}, 20000);
        QCOMPARE(boxes.shown[1].prompt, "Download complete");
    }

    // The cancelled job's page and end are still queued when the next job starts.
    void aCancelledJobThatEndsAfterANewStartSaysCancelled() {
        MessageBoxes boxes;
        host_->saver.Save(ScriptTask("pages-wait-cancel"));
        QTRY_COMPARE(rows().rowCount(), 1);
        QTest::mouseClick(cmdCancel(), Qt::LeftButton);
        tessel::WorkerThread::JoinAll();  // it has sent all, and no event loop has run
        host_->saver.Save(ScriptTask("flood:2"));
        QTRY_COMPARE_WITH_TIMEOUT(boxes.shown.size(), size_t{2}, 20000);
        QCOMPARE(boxes.shown[0].prompt, "Download cancelled.");
        QCOMPARE(boxes.shown[1].prompt, "Download complete");
    }

    void cancelAfterTheLastPageWasSavedSaysComplete() {
        MessageBoxes boxes;
        host_->saver.Save(ScriptTask("saved-wait-cancel"));
        QTRY_COMPARE(rows().rowCount() == 1 ? Cell(rows(), 0, 2) : QString(),
                     QStringLiteral("Complete"));
        QTest::mouseClick(cmdCancel(), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!boxes.shown.empty(), 20000);
        QCOMPARE(boxes.shown[0].prompt, "Download complete");
    }

    void everyOneOf999PagesSentAtFullSpeedEndsInItsState() {
        MessageBoxes boxes;
        host_->saver.Save(ScriptTask("flood:999"));
        QTRY_VERIFY_WITH_TIMEOUT(!boxes.shown.empty(), 20000);
        QCOMPARE(boxes.shown[0].prompt, "Download complete");
        CheckFlood(999);
        // The last page completed, 998, was saved: the panel shows no error.
        QCOMPARE(host_->sb->Text(3), QString());
    }

    void theViewHandles999PagesBenchmark() {
        MessageBoxes boxes;
        QBENCHMARK {
            host_->view->moSaver_StartDownload();
            for (int i = 1; i <= 999; ++i) {
                if (FloodSkips(i))
                    host_->view->moSaver_PageSkipped(i, FloodUrl(i));
                else
                    host_->view->moSaver_StartSavingPage(i, FloodUrl(i));
            }
            for (int i = 1; i <= 999; ++i) {
                if (!FloodSkips(i))
                    host_->view->moSaver_SavingPageComplete(FloodUrl(i), FloodSaves(i), "HTTP 404");
            }
            host_->view->moSaver_Complete(true, "");
            QCoreApplication::processEvents();  // and paint what changed
        }
        CheckFlood(999);
    }

    void afterFinalizeNoEventReachesTheView() {
        MessageBoxes boxes;
        host_->view->Finalize();
        host_->saver.Save(ScriptTask("flood:5"));
        QTRY_VERIFY_WITH_TIMEOUT(!host_->saver.IsDownloadingNow(), 20000);
        QCOMPARE(rows().rowCount(), 0);
        QVERIFY(!cmdCancel()->isEnabled());
        QVERIFY(boxes.shown.empty());
    }
};

KES_TEST_CLASS(PagesJobTest);

}  // namespace kestrova::test

#include "PagesJobTest.moc"
