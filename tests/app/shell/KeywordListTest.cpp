// A keyword list run from the window with the real engine against the double: one job after
// another, each keyword's pages, the waits a source asks for, and Cancel ending the run.
#include <algorithm>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "JobNotices.h"
#include "KeywordListDialog.h"
#include "KeywordRunner.h"
#include "ShellTestSupport.h"
#include "fetchcore/CSaver.h"
#include "kesapp/AppState.h"
#include "kesapp/StatusPanels.h"
#include "serpdouble/SerpDouble.h"
#include "tessel/WorkerThread.h"

namespace kestrova::test {
namespace {

using serpdouble::SerpDouble;

// File > Run a Keyword List..., the dialog filled and confirmed as a user would.
void RunList(FMain& window, const QString& list, int pauseSeconds) {
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<KeywordListDialog*>(QApplication::activeModalWidget());
        if (!dialog) return;
        dialog->findChild<QPlainTextEdit*>(QStringLiteral("txtKeywords"))->setPlainText(list);
        dialog->findChild<QSpinBox*>(QStringLiteral("txtPause"))->setValue(pauseSeconds);
        dialog->accept();
    });
    Child<QAction>(window, "mnuRunKeywordList")->trigger();
}

// What the status bar's message panel says when a job waits and when its next event comes.
class PanelProbe : private fetchcore::CSaverEvents {
  public:
    PanelProbe(fetchcore::CSaver& saver, StatusPanels& panels)
        : panels_(panels), events_(saver.Connect(*this)) {}
    QStringList whileWaiting;
    QStringList atFirstPage;  // the first page event after each wait
    QStringList atWarning;

  private:
    void Waiting(int32_t, const std::string&) override {
        whileWaiting << panels_.Text(3);
        waited_ = true;
    }
    void StartSavingPage(int32_t, const std::string&) override {
        if (waited_) atFirstPage << panels_.Text(3);
        waited_ = false;
    }
    void Warning(const std::string&) override { atWarning << panels_.Text(3); }
    bool waited_ = false;
    StatusPanels& panels_;
    tessel::EventSource<fetchcore::CSaverEvents>::Connection events_;
};

// The window shown, its editor set to search the double's SearXNG route and save under
// `folder`: a SearXNG address keeps its server when the run puts each keyword in.
void ShowOnDouble(FMain& window, const SerpDouble& engine, const QString& folder) {
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    SetTaskFields(window, QStringLiteral("x"), QString::fromStdString(engine.SearxngURL("x")),
                  folder);
}

bool Searched(const SerpDouble& engine, const std::string& keyword) {
    const auto requests = engine.Requests();
    return std::any_of(requests.begin(), requests.end(), [&](const auto& request) {
        return request.target.find("q=" + keyword + "&") != std::string::npos;
    });
}

}  // namespace

class KeywordListTest : public QObject {
    Q_OBJECT

  private slots:
    void cleanup() {
        tessel::WorkerThread::JoinAll();
        app::SetLastJob({}, {});
    }

    void theDialogReadsTheListByTheCommandLinesRulesAndRefusesAnEmptyOne() {
        MessageBoxes boxes;
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("birds.txt"));
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write("\xEF\xBB\xBF# raptors\r\n  red kites \r\n\r\nowls\n");
        out.close();
        KeywordListDialog dialog(nullptr);
        dialog.LoadFrom(file);
        QCOMPARE(dialog.Keywords(), (std::vector<std::string>{"red kites", "owls"}));
        // A file that cannot be read is told and leaves the list as it was.
        dialog.LoadFrom(dir.filePath(QStringLiteral("missing.txt")));
        QCOMPARE(boxes.shown.size(), size_t{1});
        QVERIFY(boxes.shown[0].prompt.find("missing.txt") != std::string::npos);
        QCOMPARE(dialog.Keywords().size(), size_t{2});
        auto* text = dialog.findChild<QPlainTextEdit*>(QStringLiteral("txtKeywords"));
        text->setPlainText(QStringLiteral("# only a comment\n\n"));
        dialog.show();
        dialog.accept();
        QCOMPARE(boxes.shown.size(), size_t{2});
        QCOMPARE(boxes.shown[1].prompt, "Please enter keyword.");
        QVERIFY(dialog.isVisible());
        text->setPlainText(QStringLiteral("kites"));
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.Pause(), std::chrono::milliseconds(0));
    }

    void aTwoKeywordListSavesEachKeywordsPagesAndShowsTheWaits() {
        SerpDouble::Options options;
        options.totalResults = 3;
        // Every results page is refused once: each job waits a second before it asks again.
        options.rateLimit = {1, 429, "1", {}};
        SerpDouble engine(options);
        engine.Start();
        TempAppData appData;
        QTemporaryDir out;
        MessageBoxes boxes;
        {
            FMain window(QuickStart(appData.Path()));
            ShowOnDouble(window, engine, out.path());
            if (QTest::currentTestFailed()) return;
            StatusPanels& panels = *StatusPanels::Of(Child<QWidget>(window, "ucPages1"));
            PanelProbe probe(window.Saver(), panels);
            QSignalSpy titles(&window, &QWidget::windowTitleChanged);
            RunList(window, QStringLiteral("# birds\nkites\n\n  owls  \n"), 0);
            QTRY_COMPARE_WITH_TIMEOUT(boxes.shown.size(), size_t{1}, 30000);
            QCOMPARE(boxes.shown[0].prompt, "Keyword list complete: 2 keywords, 0 failed.");
            QStringList seen;
            for (const auto& title : titles) seen << title.at(0).toString();
            QCOMPARE(seen,
                     (QStringList{"Kestrova - kites (1/2)", "Kestrova - owls (2/2)", "Kestrova"}));
            // Each job waited at least once; its next page event cleared the wait.
            QVERIFY(probe.whileWaiting.size() >= 2);
            for (const QString& text : probe.whileWaiting)
                QVERIFY2(text.startsWith(QStringLiteral("Waiting 1 s: ")), qPrintable(text));
            QCOMPARE(probe.atFirstPage, (QStringList{QString(), QString()}));
            QVERIFY(!window.Saver().IsDownloadingNow());
            window.close();
        }
        for (const char* keyword : {"kites", "owls"}) {
            QCOMPARE(QDir(out.path() + QStringLiteral("/") + QString::fromLatin1(keyword))
                         .entryList(QDir::Files)
                         .size(),
                     3);
            QVERIFY(Searched(engine, keyword));
        }
        engine.Stop();
    }

    // The window's unload cancels the run while a task is being made (the secret store may
    // take its time): that keyword's job must not start after all.
    void aCancelWhileATaskIsMadeStartsNoJob() {
        fetchcore::CSaver saver;
        saver.Init(nullptr);
        KeywordRunner* self = nullptr;
        KeywordRunner run(saver, [&](const std::string&, std::string&) {
            self->Cancel();
            return std::make_shared<fetchcore::CTask>();
        });
        self = &run;
        QSignalSpy started(&run, &KeywordRunner::KeywordStarted);
        QSignalSpy finished(&run, &KeywordRunner::Finished);
        run.Start({"kites", "owls"}, std::chrono::milliseconds(0));
        QVERIFY(started.isEmpty());
        QVERIFY(!saver.IsDownloadingNow());
        QCOMPARE(finished.size(), 1);
        QCOMPARE(finished[0][1].toInt(), 0);      // none failed
        QCOMPARE(finished[0][2].toBool(), true);  // cancelled
        QVERIFY(!run.Running());
    }

    void cancelEndsTheRunWhereverItIs_data() {
        QTest::addColumn<bool>("duringJob");
        QTest::newRow("during a job") << true;
        QTest::newRow("during the pause") << false;
    }
    void cancelEndsTheRunWhereverItIs() {
        QFETCH(bool, duringJob);
        SerpDouble::Options options;
        options.totalResults = 2;
        if (duringJob) options.resultsPageFaults[1] = serpdouble::Fault::StallForever();
        options.unresponsiveEngines = {{"bing", "timeout"}};  // a warning in every answer
        SerpDouble engine(options);
        engine.Start();
        TempAppData appData;
        QTemporaryDir out;
        MessageBoxes boxes;
        {
            FMain window(QuickStart(appData.Path()));
            ShowOnDouble(window, engine, out.path());
            if (QTest::currentTestFailed()) return;
            PanelProbe probe(window.Saver(), *StatusPanels::Of(&window));
            // A pause long enough that only Cancel can end it within the test's time.
            RunList(window, QStringLiteral("kites\nowls\nhawks\n"), 3600);
            auto* cancel = Child<QPushButton>(window, "cmdCancel");
            if (duringJob)
                QTRY_VERIFY(engine.Snapshot().stalled >= 1);
            else
                QTRY_COMPARE(StatusPanels::Of(&window)->Text(2), QStringLiteral("Complete"));
            QVERIFY(cancel->isEnabled());
            QTest::mouseClick(cancel, Qt::LeftButton);
            QTRY_COMPARE(boxes.shown.size(), size_t{1});
            QCOMPARE(boxes.shown[0].prompt, "Keyword list cancelled.");
            QTRY_VERIFY(!window.Saver().IsDownloadingNow());
            QVERIFY(!cancel->isEnabled());
            QCOMPARE(window.windowTitle(), QStringLiteral("Kestrova"));
            // The job that got its answer was warned of the engines that did not answer.
            QCOMPARE(probe.atWarning.size(), duringJob ? 0 : 1);
            for (const QString& text : probe.atWarning)
                QVERIFY2(text.startsWith(QStringLiteral("Warning: ")) && text.contains("bing"),
                         qPrintable(text));
            window.close();
        }
        tessel::WorkerThread::JoinAll();
        QVERIFY(Searched(engine, "kites"));
        QVERIFY(!Searched(engine, "owls"));
        QVERIFY(!Searched(engine, "hawks"));
        QCOMPARE(boxes.shown.size(), size_t{1});  // no job's own end was told in a box
        engine.Stop();
    }
};

}  // namespace kestrova::test

using kestrova::test::KeywordListTest;
KES_TEST_CLASS(KeywordListTest);

#include "KeywordListTest.moc"
