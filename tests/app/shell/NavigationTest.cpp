// Moving between the views: tree clicks and keys, Ctrl+Tab, the start question, GoResultsPage.
#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QTreeWidget>

#include "ShellTestSupport.h"
#include "fetchcore/CSaver.h"
#include "kesapp/AppState.h"
#include "tessel/WorkerThread.h"

namespace kestrova::test {
namespace {

constexpr const char* kQuestion = "Do you want to start download?";

QTreeWidgetItem* Node(FMain& window, const QString& text) {
    auto* tv = Child<QTreeWidget>(window, "tv");
    return tv->findItems(text, Qt::MatchExactly | Qt::MatchRecursive).value(0);
}

void ClickNode(FMain& window, const QString& text) {
    auto* tv = Child<QTreeWidget>(window, "tv");
    QTest::mouseClick(tv->viewport(), Qt::LeftButton, {},
                      tv->visualItemRect(Node(window, text)).center());
}

// A key pressed and released as the system delivers it: to the window, then to `focus`.
void KeyClick(FMain& window, QWidget* focus, Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
    focus->setFocus();
    QTest::keyClick(window.windowHandle(), key, modifiers);
}

// The one view that is not hidden, by object name.
QString VisibleView(FMain& window) {
    QString visible;
    for (const char* name : {"ucTask1", "ucPages1", "ucPageList1"}) {
        if (!Child<QWidget>(window, name)->isHidden()) visible += QString::fromLatin1(name);
    }
    return visible;
}

}  // namespace

class NavigationTest : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        app::SetLastJob({}, {});
        window_ = std::make_unique<FMain>(QuickStart(appData_.Path()));
        window_->show();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    }
    void cleanup() {
        window_.reset();
        tessel::WorkerThread::JoinAll();
    }

    void clickingAJobViewFirstAsksAndCancelStillShowsIt() {
        MessageBoxes boxes(mb::kCancel);
        ClickNode(*window_, QStringLiteral("Pages"));
        QCOMPARE(boxes.shown.size(), size_t{1});
        QCOMPARE(boxes.shown[0].prompt, kQuestion);
        QCOMPARE(boxes.shown[0].buttons, 49);
        QCOMPARE(window_->CurrentViewKey(), "downloading");
        QCOMPARE(VisibleView(*window_), QStringLiteral("ucPages1"));
        QVERIFY(app::LastJobKeyword().empty());
        QVERIFY(!window_->Saver().IsDownloadingNow());
    }

    void anAnswerThatComesOnceTheWindowIsClosingStartsNoJob() {
        SetTaskFields(*window_, QStringLiteral("wait-cancel"));
        const ScopedMsgBoxHandler closeThenOK([this](const std::string&, int, const std::string&) {
            window_->close();
            return mb::kOK;
        });
        ClickNode(*window_, QStringLiteral("Pages"));
        QVERIFY(app::LastJobKeyword().empty());
        QVERIFY(!window_->Saver().IsDownloadingNow());
    }

    void okWithInvalidFieldsShowsTheEditorsMessageThenTheView() {
        MessageBoxes boxes(mb::kOK);
        SetTaskFields(*window_, QStringLiteral("   "));
        ClickNode(*window_, QStringLiteral("List"));
        QCOMPARE(boxes.shown.size(), size_t{2});
        QCOMPARE(boxes.shown[0].prompt, kQuestion);
        QCOMPARE(boxes.shown[1].prompt, "Please enter keyword.");
        QCOMPARE(boxes.shown[1].buttons, 48);
        QCOMPARE(VisibleView(*window_), QStringLiteral("ucPageList1"));
        QVERIFY(!window_->Saver().IsDownloadingNow());
    }

    void okWithValidFieldsStartsAJobAndNeverAsksAgain() {
        MessageBoxes boxes(mb::kOK);
        SetTaskFields(*window_, QStringLiteral(" results "));
        ClickNode(*window_, QStringLiteral("List"));
        QCOMPARE(boxes.Count(kQuestion), size_t{1});
        QCOMPARE(app::LastJobKeyword(), "results");
        QTRY_VERIFY(!window_->Saver().IsDownloadingNow());  // the job has ended
        ClickNode(*window_, QStringLiteral("Pages"));
        ClickNode(*window_, QStringLiteral("Task"));
        ClickNode(*window_, QStringLiteral("List"));
        QCOMPARE(boxes.Count(kQuestion), size_t{1});
        QCOMPARE(VisibleView(*window_), QStringLiteral("ucPageList1"));
    }

    void clickingTheShownNodeDoesNothing() {
        MessageBoxes boxes;
        ClickNode(*window_, QStringLiteral("Task"));
        QVERIFY(boxes.shown.empty());
        QCOMPARE(window_->CurrentViewKey(), "task");
    }

    void ctrlTabWrapsBothWays() {
        app::SetLastJob("started", "");
        QWidget* focus = Child<QLineEdit>(*window_, "txtKeyword");
        const auto ctrlTab = [&] { KeyClick(*window_, focus, Qt::Key_Tab, Qt::ControlModifier); };
        const auto ctrlShiftTab = [&] {
            KeyClick(*window_, focus, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
        };
        ctrlTab();
        QCOMPARE(window_->CurrentViewKey(), "downloading");
        ctrlTab();
        QCOMPARE(window_->CurrentViewKey(), "pagelist");
        ctrlTab();
        QCOMPARE(window_->CurrentViewKey(), "task");
        ctrlShiftTab();
        QCOMPARE(window_->CurrentViewKey(), "pagelist");
        QCOMPARE(VisibleView(*window_), QStringLiteral("ucPageList1"));
        ctrlShiftTab();
        QCOMPARE(window_->CurrentViewKey(), "downloading");
        // Tab alone, or with Alt as well, moves nothing.
        KeyClick(*window_, focus, Qt::Key_Tab, Qt::ControlModifier | Qt::AltModifier);
        QCOMPARE(window_->CurrentViewKey(), "downloading");
    }

    void aReleaseOfferedToEveryParentCountsOnce() {
        app::SetLastJob("started", "");
        // The tree passes the key releases it does not use on to its parents, and the
        // window's key preview sees each of those offers.
        auto* tv = Child<QTreeWidget>(*window_, "tv");
        KeyClick(*window_, tv, Qt::Key_Tab, Qt::ControlModifier);
        QCOMPARE(window_->CurrentViewKey(), "downloading");
        KeyClick(*window_, tv, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(window_->CurrentViewKey(), "task");
    }

    void ctrlTabAsksBeforeTheFirstJob() {
        MessageBoxes boxes(mb::kCancel);
        KeyClick(*window_, Child<QLineEdit>(*window_, "txtKeyword"), Qt::Key_Tab,
                 Qt::ControlModifier);
        QCOMPARE(boxes.shown.size(), size_t{1});
        QCOMPARE(window_->CurrentViewKey(), "downloading");
    }

    void arrowKeysInTheTreeSwitchOnRelease() {
        app::SetLastJob("started", "");
        auto* tv = Child<QTreeWidget>(*window_, "tv");
        tv->setFocus();
        QTest::keyPress(window_->windowHandle(), Qt::Key_Down);
        QCOMPARE(window_->CurrentViewKey(), "task");
        QTest::keyRelease(window_->windowHandle(), Qt::Key_Down);
        QCOMPARE(window_->CurrentViewKey(), "downloading");
        KeyClick(*window_, tv, Qt::Key_Down);
        QCOMPARE(window_->CurrentViewKey(), "pagelist");
    }

    void anyKeyReleaseShowsTheSelectedNode() {
        app::SetLastJob("started", "");
        Child<QTreeWidget>(*window_, "tv")->setCurrentItem(Node(*window_, QStringLiteral("List")));
        QCOMPARE(window_->CurrentViewKey(), "task");
        KeyClick(*window_, Child<QLineEdit>(*window_, "txtSearchURL"), Qt::Key_End);
        QCOMPARE(window_->CurrentViewKey(), "pagelist");
    }

    void doubleClickKeepsTheRootExpanded() {
        auto* tv = Child<QTreeWidget>(*window_, "tv");
        QTreeWidgetItem* root = Node(*window_, QStringLiteral("Task"));
        QTest::mouseDClick(tv->viewport(), Qt::LeftButton, {}, tv->visualItemRect(root).center());
        QVERIFY(root->isExpanded());
        QTest::mouseDClick(tv->viewport(), Qt::LeftButton, {}, tv->visualItemRect(root).center());
        QVERIFY(root->isExpanded());
    }

    void goResultsPageShowsAndFocusesTheProgressView() {
        app::SetLastJob("started", "");
        MessageBoxes boxes;
        window_->GoResultsPage();
        QCOMPARE(window_->CurrentViewKey(), "downloading");
        QCOMPARE(VisibleView(*window_), QStringLiteral("ucPages1"));
        QVERIFY(Child<QWidget>(*window_, "ucPages1")->isAncestorOf(QApplication::focusWidget()));
        QVERIFY(boxes.shown.empty());
    }

    void downloadButtonStartsTheJobThenShowsProgress() {
        MessageBoxes boxes;
        SetTaskFields(*window_, QStringLiteral("results"));
        QTest::mouseClick(Child<QWidget>(*window_, "cmdDoIt"), Qt::LeftButton);
        QCOMPARE(window_->CurrentViewKey(), "downloading");
        QTRY_VERIFY(!window_->Saver().IsDownloadingNow());
        QCOMPARE(boxes.Count(kQuestion), size_t{0});
    }

  private:
    TempAppData appData_;
    std::unique_ptr<FMain> window_;
};

}  // namespace kestrova::test

using kestrova::test::NavigationTest;
KES_TEST_CLASS(NavigationTest);

#include "NavigationTest.moc"
