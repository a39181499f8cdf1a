// The progress view's answer to each engine event: rows, states, icons, status panels,
// Cancel, the mouse pointer and the closing message.
#include <QPushButton>
#include <QTest>

#include "PageListWidget.h"
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
    PageListWidget* lv() { return host_->view->findChild<PageListWidget*>(QStringLiteral("lv")); }
    QPushButton* cmdCancel() {
        return host_->view->findChild<QPushButton*>(QStringLiteral("cmdCancel"));
    }
    void CheckRow(int index, const QString& n, const std::string& url, const QString& state,
                  PageState image) {
        const QTreeWidgetItem* row = lv()->topLevelItem(index);
        QVERIFY(row);
        QCOMPARE(row->text(0), n);
        QCOMPARE(row->text(1), QString::fromStdString(url));
        QCOMPARE(row->text(2), state);
        QVERIFY(SameImage(row->icon(0), LoadStateIcon(image)));
    }

  private slots:
    void init() { host_ = std::make_unique<Host<ucPages>>(); }
    void cleanup() { host_.reset(); }

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
        QCOMPARE(lv()->topLevelItemCount(), 1);
        host_->view->moSaver_StartDownload();
        QCOMPARE(lv()->topLevelItemCount(), 0);
        QVERIFY(cmdCancel()->isEnabled());
        QCOMPARE(host_->sb->Text(2), QStringLiteral("Downloading..."));
        QCOMPARE(host_->view->cursor().shape(), Qt::WaitCursor);
        // The old job's URLs are free again.
        host_->view->moSaver_StartSavingPage(1, kA);
        QCOMPARE(lv()->topLevelItemCount(), 1);
    }

    void rowsShowNumberUrlStateAndIcon() {
        host_->view->moSaver_StartDownload();
        host_->view->moSaver_PageSkipped(3, kA);
        QCOMPARE(host_->view->cursor().shape(), Qt::WaitCursor);  // a skipped page leaves it
        host_->view->moSaver_StartSavingPage(150, kB);
        QCOMPARE(host_->view->cursor().shape(), Qt::ArrowCursor);
        CheckRow(0, QStringLiteral("3"), kA, QStringLiteral("Skipped"), PageState::Skipped);
        CheckRow(1, QStringLiteral("150"), kB, QStringLiteral("Downloading"), PageState::Progress);
        QCOMPARE(PageListWidget::UrlOf(lv()->topLevelItem(1)), kB);
        QCOMPARE(PageListWidget::NumberOf(lv()->topLevelItem(1)), 150);
        QCOMPARE(PageListWidget::TagOf(lv()->topLevelItem(1)), QString());
    }

    void urlBytesThatAreNotUtf8AreKeptForTheRowsKey() {
        const std::string latin1 = "http://c.example/caf\xe9";
        host_->view->moSaver_StartSavingPage(1, latin1);
        host_->view->moSaver_SavingPageComplete(latin1, true, "");
        QCOMPARE(PageListWidget::UrlOf(lv()->topLevelItem(0)), latin1);
        QCOMPARE(lv()->topLevelItem(0)->text(2), QStringLiteral("Complete"));
    }

    void savedPageIsCompleteAndTaggedFailedPageShowsItsError() {
        host_->view->moSaver_StartSavingPage(1, kA);
        host_->view->moSaver_StartSavingPage(2, kB);
        host_->view->moSaver_SavingPageComplete(kB, false, "Cancelled");
        CheckRow(1, QStringLiteral("2"), kB, QStringLiteral("Cancelled"), PageState::Failed);
        QCOMPARE(PageListWidget::TagOf(lv()->topLevelItem(1)), QString());
        QCOMPARE(host_->sb->Text(3), QStringLiteral("Cancelled"));
        QVERIFY(!host_->sb->Picture(3).isNull());
        host_->view->moSaver_SavingPageComplete(kA, true, "");
        CheckRow(0, QStringLiteral("1"), kA, QStringLiteral("Complete"), PageState::Complete);
        QCOMPARE(PageListWidget::TagOf(lv()->topLevelItem(0)), QStringLiteral("Complete"));
        // The next saved page clears the last error and its picture.
        QCOMPARE(host_->sb->Text(3), QString());
        QVERIFY(host_->sb->Picture(3).isNull());
    }

    void aSecondRowForOneUrlGoesBackToTheEngine() {
        host_->view->moSaver_StartSavingPage(1, kA);
        QVERIFY_THROWS_EXCEPTION(tessel::ComError, host_->view->moSaver_PageSkipped(2, kA));
        QVERIFY_THROWS_EXCEPTION(tessel::ComError, host_->view->moSaver_StartSavingPage(3, kA));
        QCOMPARE(lv()->topLevelItemCount(), 1);
        QCOMPARE(lv()->topLevelItem(0)->text(0), QStringLiteral("1"));
    }

    void completionOfAnUnlistedUrlIsLoggedAndChangesNothing() {
        TempLog log;
        host_->view->moSaver_StartSavingPage(1, kA);
        host_->view->moSaver_SavingPageComplete(kB, false, "HTTP 500");
        QCOMPARE(lv()->topLevelItemCount(), 1);
        QCOMPARE(lv()->topLevelItem(0)->text(2), QStringLiteral("Downloading"));
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
        QCOMPARE(lv()->topLevelItemCount(), 1);  // the rows stay
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
