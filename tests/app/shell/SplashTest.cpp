// The splash: its timer, a click, and start-up waiting for it.
#include <QApplication>
#include <QLabel>
#include <QTest>
#include <QTimer>

#include "FSplash.h"
#include "ShellTestSupport.h"
#include "tessel/WorkerThread.h"

namespace kestrova::test {
namespace {

FSplash* VisibleSplash() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* splash = qobject_cast<FSplash*>(w); splash && splash->isVisible()) return splash;
    }
    return nullptr;
}

}  // namespace

class SplashTest : public QObject {
    Q_OBJECT

  private slots:
    void cleanup() { tessel::WorkerThread::JoinAll(); }

    void showsForThreeSecondsByDefault() {
        FSplash splash;
        QVERIFY(splash.Timer1().isActive());
        QVERIFY(splash.Timer1().isSingleShot());
        QCOMPARE(splash.Timer1().interval(), 3000);
        QCOMPARE(splash.size(), QSize(400, 316));
        QCOMPARE(Child<QLabel>(splash, "Image1")->pixmap().size(), QSize(400, 316));
    }

    void closesItselfWhenItsTimerRunsOut() {
        FSplash splash(std::chrono::milliseconds(10));
        splash.show();
        QVERIFY(splash.isVisible());
        QTRY_VERIFY(!splash.isVisible());
    }

    void aClickClosesItAtOnceAndStopsTheTimer() {
        FSplash splash(std::chrono::hours(1));
        splash.show();
        QVERIFY(QTest::qWaitForWindowExposed(&splash));
        QTest::mouseClick(Child<QLabel>(splash, "Image1"), Qt::RightButton);
        QVERIFY(!splash.isVisible());
        QVERIFY(!splash.Timer1().isActive());
    }

    void startUpWaitsWhileTheSplashIsUp() {
        TempAppData appData;
        bool sawSplash = false;
        QTimer::singleShot(0, [&] { sawSplash = VisibleSplash() != nullptr; });
        FMain window(QuickStart(appData.Path(), 50));
        QVERIFY(sawSplash);
        QVERIFY(!VisibleSplash());
        QVERIFY(!window.isVisible());
    }

    void aClickEndsTheStartUpWait() {
        TempAppData appData;
        bool clicked = false;
        QTimer::singleShot(0, [&] {
            if (FSplash* splash = VisibleSplash()) {
                QTest::mouseClick(Child<QLabel>(*splash, "Image1"), Qt::LeftButton);
                clicked = true;
            }
        });
        FMain window(QuickStart(appData.Path(), 3'600'000));  // only the click can end it
        QVERIFY(clicked);
        QVERIFY(!VisibleSplash());
    }
};

}  // namespace kestrova::test

using kestrova::test::SplashTest;
KES_TEST_CLASS(SplashTest);

#include "SplashTest.moc"
