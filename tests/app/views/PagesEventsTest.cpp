// The progress view's answer to each engine event: rows, states, icons, status panels,
// Cancel, the mouse pointer and the closing message.
#include <QAbstractItemModelTester>
#include <QPushButton>
#include <QTest>

#include "PageTableModel.h"
#include "StateIcon.h"
#include "ViewsTestSupport.h"
#include "kesapp/StatusPanels.h"
#include "tessel/Error.h"
#include "ucPages.h"

namespace kestrova::test {
namespace {

const std::string kA = "http://a.example/one";
const std::string kB = "http://b.example/two";

bool SameImage(const QIcon& a, const QIcon& b) {
    return a.pixmap(16, 16).toImage() == b.pixmap(16, 16).toImage();
}

}  // namespace

class PagesEventsTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<Host<ucPages>> host_;
    std::unique_ptr<QAbstractItemModelTester> tester_;  // the list sees each change rightly
    PageTableModel& rows() { return ProgressRows(*host_->view); }
    QString cell(int row, int column, int role = Qt::DisplayRole) {
        return Cell(rows(), row, column, role);
    }
    QPushButton* cmdCancel() {
        return host_->view->findChild<QPushButton*>(QStringLiteral("cmdCancel"));
    }
    void CheckRow(int index, const QString& n, const std::string& url, const QString& state,
                  ResultState image) {
        QVERIFY(index < rows().rowCount());
        QCOMPARE(cell(index, 0), n);
        QCOMPARE(cell(index, 1), QString::fromStdString(url));
        QCOMPARE(cell(index, 2), state);
        QCOMPARE(cell(index, 2, Qt::ToolTipRole), state);
        QVERIFY(SameImage(rows().index(index, 0).data(Qt::DecorationRole).value<QIcon>(),
                          LoadStateIcon(image)));
    }

  private slots:
    void init() {
        host_ = std::make_unique<Host<ucPages>>();
        tester_ = std::make_unique<QAbstractItemModelTester>(
            &rows(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    }
    void cleanup() {
        tester_.reset();
        host_.reset();
    }

    void initTakesTheThirdPanelsPictureAndClearsThePanel() {
        QVERIFY(host_->sb->Picture(3).isNull());
        QCOMPARE(host_->sb->Text(3), QString());
        // The remembered picture comes back with a failed page.
        host_->view->moSaver_StartSavingPage(1, kA);
        host_->view->moSaver_SavingPageComplete(kA, false, "HTTP 404");
        QCOMPARE(host_->sb->Picture(3).toImage(), InitialStatusPicture().toImage());
    }

    void startDownloadEmptiesTheListAndShowsTheJobRunning() {
        MessageBoxes boxes;
        host_->view->moSaver_StartSavingPage(1, kA);
        host_->view->moSaver_Complete(true, "");
        QCOMPARE(rows().rowCount(), 1);
        host_->view->moSaver_StartDownload();
        QCOMPARE(rows().rowCount(), 0);
        QVERIFY(cmdCancel()->isEnabled());
        QCOMPARE(host_->sb->Text(2), QStringLiteral("Downloading..."));
        QCOMPARE(host_->view->cursor().shape(), Qt::WaitCursor);
        // The old job's URLs are free again.
        host_->view->moSaver_StartSavingPage(1, kA);
        QCOMPARE(rows().rowCount(), 1);
    }

    void rowsShowNumberUrlStateAndIcon() {
        host_->view->moSaver_StartDownload();
        host_->view->moSaver_PageSkipped(3, kA);
        QCOMPARE(host_->view->cursor().shape(), Qt::WaitCursor);  // a skipped page leaves it
        host_->view->moSaver_StartSavingPage(150, kB);
        QCOMPARE(host_->view->cursor().shape(), Qt::ArrowCursor);
        CheckRow(0, QStringLiteral("3"), kA, QStringLiteral("Skipped"), ResultState::Skipped);
        CheckRow(1, QStringLiteral("150"), kB, QStringLiteral("Downloading"),
                 ResultState::Downloading);
    }

    void urlBytesThatAreNotUtf8AreKeptForTheRowsKey() {
        const std::string latin1 = "http://c.example/caf\xe9";
        host_->view->moSaver_StartSavingPage(1, latin1);
        host_->view->moSaver_SavingPageComplete(latin1, true, "");
        QCOMPARE(rows().Row(0).url, latin1);
        QCOMPARE(cell(0, 2), QStringLiteral("Complete"));
    }

    void savedPageIsCompleteAndTaggedFailedPageShowsItsError() {
        host_->view->moSaver_StartSavingPage(1, kA);
        host_->view->moSaver_StartSavingPage(2, kB);
        host_->view->moSaver_SavingPageComplete(kB, false, "Cancelled");
        CheckRow(1, QStringLiteral("2"), kB, QStringLiteral("Cancelled"), ResultState::Failed);
        QCOMPARE(host_->sb->Text(3), QStringLiteral("Cancelled"));
        QVERIFY(!host_->sb->Picture(3).isNull());
        host_->view->moSaver_SavingPageComplete(kA, true, "");
        CheckRow(0, QStringLiteral("1"), kA, QStringLiteral("Complete"), ResultState::Complete);
        // The next saved page clears the last error and its picture.
        QCOMPARE(host_->sb->Text(3), QString());
        QVERIFY(host_->sb->Picture(3).isNull());
    }

    void aSecondRowForOneUrlGoesBackToTheEngine() {
        host_->view->moSaver_StartSavingPage(1, kA);
        QVERIFY_THROWS_EXCEPTION(tessel::ComError, host_->view->moSaver_PageSkipped(2, kA));
        QVERIFY_THROWS_EXCEPTION(tessel::ComError, host_->view->moSaver_StartSavingPage(3, kA));
        QCOMPARE(rows().rowCount(), 1);
        QCOMPARE(cell(0, 0), QStringLiteral("1"));
    }

    void completionOfAnUnlistedUrlIsLoggedAndChangesNothing() {
        TempLog log;
        host_->view->moSaver_StartSavingPage(1, kA);
        host_->view->moSaver_SavingPageComplete(kB, false, "HTTP 500");
        QCOMPARE(rows().rowCount(), 1);
        QCOMPARE(cell(0, 2), QStringLiteral("Downloading"));
        QCOMPARE(host_->sb->Text(3), QString());
        const auto entries = log.Entries();
        QCOMPARE(entries.size(), size_t{1});
        QCOMPARE(entries[0].level, 4);
        QCOMPARE(entries[0].source, "ucPages.moSaver_SavingPageComplete");
    }

    void completeEndsTheJobAndSaysHowItWent() {
        MessageBoxes boxes;
        host_->view->moSaver_StartDownload();
        host_->view->moSaver_StartSavingPage(1, kA);
        host_->view->moSaver_Complete(true, "");
        QVERIFY(!cmdCancel()->isEnabled());
        QCOMPARE(host_->view->cursor().shape(), Qt::ArrowCursor);
        QCOMPARE(host_->sb->Text(2), QStringLiteral("Complete"));
        QCOMPARE(rows().rowCount(), 1);  // the rows stay
        host_->view->moSaver_StartDownload();
        host_->view->moSaver_Complete(false, "Cancelled");
        QCOMPARE(boxes.shown.size(), size_t{2});
        QCOMPARE(boxes.shown[0].prompt, "Download complete");
        QCOMPARE(boxes.shown[0].buttons, 64);
        QCOMPARE(boxes.shown[0].title, "Kestrova");
        QCOMPARE(boxes.shown[1].prompt, "Cancelled");
        QCOMPARE(boxes.shown[1].buttons, 48);
        QCOMPARE(host_->view->cursor().shape(), Qt::ArrowCursor);
    }

    void aFailingMessageBoxIsLoggedNotPassedOn() {
        TempLog log;
        ScopedMsgBoxHandler failing([](const std::string&, int, const std::string&) -> int {
            throw tessel::ComError(tessel::UserError(7), "no display");
        });
        host_->view->moSaver_StartDownload();
        host_->view->moSaver_Complete(true, "");
        QCOMPARE(host_->sb->Text(2), QStringLiteral("Complete"));
        const auto entries = log.Entries();
        QCOMPARE(entries.size(), size_t{1});
        QCOMPARE(entries[0].source, "ucPages.moSaver_Complete");
        QCOMPARE(entries[0].message, "no display");
    }
};

KES_TEST_CLASS(PagesEventsTest);

}  // namespace kestrova::test

#include "PagesEventsTest.moc"
