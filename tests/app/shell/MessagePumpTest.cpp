// Engine events reach the views on the user-interface thread: in the event loop, while a
// modal message box is open, and during the splash wait.
#include <thread>

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>

#include "FSplash.h"
#include "ShellTestSupport.h"
#include "kesapp/AppState.h"
#include "kesapp/StatusPanels.h"
#include "kesapp/UiMessagePump.h"
#include "tessel/MessageQueue.h"
#include "tessel/WorkerThread.h"
#include "ucTask.h"

namespace kestrova::test {

class MessagePumpTest : public QObject {
    Q_OBJECT

  private slots:
    void cleanup() {
        tessel::WorkerThread::JoinAll();
        app::SetLastJob({}, {});
    }

    void jobEventsReachTheViewsInTheEventLoop() {
        TempAppData appData;
        MessageBoxes boxes;
        FMain window(QuickStart(appData.Path()));
        SetTaskFields(window, QStringLiteral("results"));
        Child<ucTask>(window, "ucTask1")->DoIt();
        QCOMPARE(StatusPanels::Of(&window)->Text(2), QStringLiteral("Downloading..."));
        QTRY_COMPARE(StatusPanels::Of(&window)->Text(2), QStringLiteral("Complete"));
        const QString list = Child<QPlainTextEdit>(window, "txtPageList")->toPlainText();
        QVERIFY(list.contains(QStringLiteral("http://a.example/")));
        QVERIFY(list.contains(QStringLiteral("http://b.example/")));
    }

    void jobEventsReachTheViewsWhileAMessageBoxIsOpen() {
        TempAppData appData;
        MessageBoxes viewsBoxes;  // the views' own notices; the box under test is a real one
        FMain window(QuickStart(appData.Path()));
        SetTaskFields(window, QStringLiteral("results"));
        auto* list = Child<QPlainTextEdit>(window, "txtPageList");
        bool arrivedUnderBox = false;
        connect(list, &QPlainTextEdit::textChanged, this, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            arrivedUnderBox = box != nullptr;
            if (box) box->done(QMessageBox::Ok);
        });
        QTimer::singleShot(0, &window, [&] { Child<ucTask>(window, "ucTask1")->DoIt(); });
        // The real box; only the job's result list closes it (or, failing that, the guard).
        QTimer guard;
        guard.setSingleShot(true);
        connect(&guard, &QTimer::timeout, this, [] {
            if (QWidget* box = QApplication::activeModalWidget()) box->close();
        });
        guard.start(20000);
        ShowPlatformMsgBox("waiting for the job", mb::kInformation, "Kestrova");
        QVERIFY(arrivedUnderBox);
    }

    void queuedMessagesRunDuringTheSplashWait() {
        TempAppData appData;
        auto queue = tessel::MessageQueue::Current();
        bool ranUnderSplash = false;
        std::thread poster([queue, &ranUnderSplash] {
            queue->Post([&ranUnderSplash] {
                for (QWidget* w : QApplication::topLevelWidgets()) {
                    auto* splash = qobject_cast<FSplash*>(w);
                    if (!splash || !splash->isVisible()) continue;
                    ranUnderSplash = true;
                    QTest::mouseClick(Child<QLabel>(*splash, "Image1"), Qt::LeftButton);
                }
            });
        });
        poster.join();
        FMain window(QuickStart(appData.Path(), 3'600'000));  // only the message can end it
        QVERIFY(ranUnderSplash);
    }

    void messagesPostedFromManyThreadsAllRunOnTheWindowThread() {
        UiMessagePump pump;
        auto queue = tessel::MessageQueue::Current();
        const auto uiThread = std::this_thread::get_id();
        int ran = 0;
        bool allOnUiThread = true;
        std::vector<std::thread> posters;
        for (int t = 0; t < 4; ++t) {
            posters.emplace_back([&, queue] {
                for (int i = 0; i < 50; ++i)
                    queue->Post([&] {
                        ++ran;
                        allOnUiThread = allOnUiThread && std::this_thread::get_id() == uiThread;
                    });
            });
        }
        for (auto& t : posters) t.join();
        QTRY_COMPARE(ran, 200);
        QVERIFY(allOnUiThread);
    }

    void postingAfterThePumpIsGoneIsHarmless() {
        auto queue = tessel::MessageQueue::Current();
        { UiMessagePump pump; }
        bool ran = false;
        std::thread([&, queue] { queue->Post([&] { ran = true; }); }).join();
        QCoreApplication::processEvents();
        QVERIFY(!ran);
        queue->Pump();  // drained by whoever pumps next
        QVERIFY(ran);
    }
};

}  // namespace kestrova::test

using kestrova::test::MessagePumpTest;
KES_TEST_CLASS(MessagePumpTest);

#include "MessagePumpTest.moc"
