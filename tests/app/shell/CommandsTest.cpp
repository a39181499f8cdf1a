// The menu commands and their shortcut keys.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QTest>
#include <QTimer>

#include "FAbout.h"
#include "ShellTestSupport.h"
#include "kesapp/Product.h"
#include "kesapp/StatusPanels.h"
#include "tessel/WorkerThread.h"

namespace kestrova::test {

class CommandsTest : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        window_ = std::make_unique<FMain>(QuickStart(appData_.Path()));
        window_->show();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    }
    void cleanup() {
        window_.reset();
        tessel::WorkerThread::JoinAll();
    }

    void f2AndF3CopyTheTextsExactlyAsTyped() {
        SetTaskFields(*window_, QStringLiteral("  two words\t "), {},
                      QStringLiteral(" /tmp/out folder/ "));
        QClipboard* clipboard = QGuiApplication::clipboard();
        clipboard->setText(QStringLiteral("before"));
        QTest::keyClick(window_.get(), Qt::Key_F2);
        QCOMPARE(clipboard->text(), QStringLiteral("  two words\t "));
        QTest::keyClick(window_.get(), Qt::Key_F3);
        QCOMPARE(clipboard->text(), QStringLiteral(" /tmp/out folder/ "));
    }

    void emptyKeywordEmptiesTheClipboard() {
        SetTaskFields(*window_, QString());
        QGuiApplication::clipboard()->setText(QStringLiteral("before"));
        QTest::keyClick(window_.get(), Qt::Key_F2);
        QCOMPARE(QGuiApplication::clipboard()->text(), QString());
    }

    void f4OpensTheOutputFolderBlanksAndAll() {
        ShellCalls shell;
        SetTaskFields(*window_, QStringLiteral("k"), {}, QStringLiteral("/tmp/out folder/"));
        QTest::keyClick(window_.get(), Qt::Key_F4);
        QCOMPARE(shell.calls.size(), size_t{1});
        QCOMPARE(shell.calls[0].first, ShellVerb::Open);
        QCOMPARE(shell.calls[0].second, "/tmp/out folder/");
        const QUrl url = ShellTargetUrl(shell.calls[0].second);
        QVERIFY(url.isLocalFile());
        QCOMPARE(url.toLocalFile(), QStringLiteral("/tmp/out folder/"));
    }

    void f5OpensTheSearchUrlUnchanged() {
        ShellCalls shell;
        const QString address = QStringLiteral("http://www.google.com/search?hl=en&q=a+b");
        SetTaskFields(*window_, QStringLiteral("k"));
        Child<QWidget>(*window_, "txtSearchURL")->setProperty("text", address);
        QTest::keyClick(window_.get(), Qt::Key_F5);
        QCOMPARE(shell.calls.size(), size_t{1});
        QCOMPARE(shell.calls[0].second, address.toStdString());
        const QUrl url = ShellTargetUrl(shell.calls[0].second);
        QCOMPARE(url.scheme(), QStringLiteral("http"));
        QCOMPARE(url.toString(), address);
    }

    void emptyTargetsOpenNothing() {
        ShellCalls shell;
        SetTaskFields(*window_, QStringLiteral("k"));
        Child<QWidget>(*window_, "txtSaveTo")->setProperty("text", QString());
        Child<QWidget>(*window_, "txtSearchURL")->setProperty("text", QString());
        QTest::keyClick(window_.get(), Qt::Key_F4);
        QTest::keyClick(window_.get(), Qt::Key_F5);
        QVERIFY(shell.calls.empty());
    }

    void homepageCommandOpensTheOneAddress() {
        ShellCalls shell;
        Child<QAction>(*window_, "mnuVisitHomepage")->trigger();
        QCOMPARE(shell.calls.size(), size_t{1});
        QCOMPARE(shell.calls[0].second, kHomePage);
        QVERIFY(ShellTargetUrl(kHomePage).scheme() == QStringLiteral("https"));
    }

    void exitClosesAtOnceWithoutAQuestion() {
        MessageBoxes boxes;
        Child<QAction>(*window_, "mnuExit")->trigger();
        QVERIFY(!window_->isVisible());
        QVERIFY(boxes.shown.empty());
    }

    void aboutIsModalOverTheWindowAndActivationRefreshesTheKeyword() {
        SetTaskFields(*window_, QStringLiteral("about keyword"));
        QPointer<FAbout> shown;
        bool modal = false;
        QTimer::singleShot(0, [&] {
            shown = qobject_cast<FAbout*>(QApplication::activeModalWidget());
            if (!shown) return;
            modal = shown->isModal() && shown->parentWidget() == window_.get();
            QTest::keyClick(shown, Qt::Key_Escape);
        });
        Child<QAction>(*window_, "mnuAbout")->trigger();
        QVERIFY(modal);
        QVERIFY(!shown);  // made for this use only
        QTRY_COMPARE(StatusPanels::Of(window_.get())->Text(1), QStringLiteral("about keyword"));
    }

  private:
    TempAppData appData_;
    std::unique_ptr<FMain> window_;
};

}  // namespace kestrova::test

using kestrova::test::CommandsTest;
KES_TEST_CLASS(CommandsTest);

#include "CommandsTest.moc"
