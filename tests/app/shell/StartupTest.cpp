// Start-up: the log's first lines, the data folder, the running marker, and how Main reports
// a failed start.
#include <filesystem>
#include <fstream>

#include <QApplication>
#include <QTest>
#include <QTreeWidget>

#include "ComponentCheck.h"
#include "MMain.h"
#include "RunningMarker.h"
#include "ShellTestSupport.h"
#include "StartupLog.h"
#include "fetchcore/CSaver.h"
#include "kesapp/AppState.h"
#include "kesapp/Twips.h"
#include "tessel/Toolbox.h"

namespace kestrova::test {

class StartupTest : public QObject {
    Q_OBJECT

  private slots:
    void logStartsWithThreeLinesThenTheSaversVersion() {
        TempAppData appData;
        MessageBoxes boxes;
        FMain window(QuickStart(appData.Path()));
        const auto log = ReadLog(appData.LogFile());
        QCOMPARE(log.size(), size_t{4});
        QCOMPARE(log[0].source, "Main.MMain");
        QCOMPARE(log[0].message, "*** Start App ***");
        QCOMPARE(log[1].source, "MMain.Main");
        QCOMPARE(log[1].message, ProgramVersionLine());
        QVERIFY(log[1].message.ends_with(".exe: 4.20.0"));
        QCOMPARE(log[2].source, "MMain.Main");
        QCOMPARE(log[2].message, "Windows: " + tessel::Toolbox::WindowsVersion());
        QCOMPARE(log[3].source, "");
        QCOMPARE(log[3].message, fetchcore::CSaver::VersionLine());
        for (const LogEntry& e : log) {
            QCOMPARE(e.level, "L5");
            QCOMPARE(e.number, "0");
        }
        QVERIFY(boxes.shown.empty());
    }

    void dataFolderEndingInSeparatorGetsNoDoubleSeparator() {
        TempAppData appData;
        appData.SetAppData(appData.Path() + "/");
        FMain window(QuickStart(appData.Path()));
        QCOMPARE(app::DataFolder(), appData.Path() + "/Quillmoor/Kestrova/");
        QVERIFY(std::filesystem::exists(appData.LogFile()));
    }

    void windowShowsTheTaskViewUnderItsCaption() {
        TempAppData appData;
        FMain window(QuickStart(appData.Path()));
        QCOMPARE(window.windowTitle(), QStringLiteral("Kestrova"));
        QCOMPARE(window.CurrentViewKey(), "task");
        auto* tv = Child<QTreeWidget>(window, "tv");
        QCOMPARE(tv->topLevelItemCount(), 1);
        QTreeWidgetItem* root = tv->topLevelItem(0);
        QVERIFY(root->isExpanded());
        QVERIFY(root->isSelected());
        QCOMPARE(root->text(0), QStringLiteral("Task"));
        QCOMPARE(root->child(0)->text(0), QStringLiteral("Pages"));
        QCOMPARE(root->child(1)->text(0), QStringLiteral("List"));
        QVERIFY(!Child<QWidget>(window, "ucTask1")->isHidden());
        QVERIFY(Child<QWidget>(window, "ucPages1")->isHidden());
        QVERIFY(Child<QWidget>(window, "ucPageList1")->isHidden());
    }

    void viewsShareOneRectangleRightOfTheTree() {
        TempAppData appData;
        FMain window(QuickStart(appData.Path()));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.minimumSize(), window.maximumSize());
        QCOMPARE(window.width(), Px(10155));
        auto* tv = Child<QWidget>(window, "tv");
        // Each view's rectangle in the window's client area.
        const auto placeOf = [&](const char* name) {
            const QWidget* view = Child<QWidget>(window, name);
            return QRect(view->mapTo(window.centralWidget(), QPoint(0, 0)), view->size());
        };
        // The views are the pages of one stack: they share its rectangle.
        const QRect task = placeOf("views");
        QCOMPARE(placeOf("ucTask1"), task);
        QCOMPARE(tv->geometry().topLeft(), QPoint(Px(60), Px(60)));
        QCOMPARE(task.left(), Px(60 + 1905 + 90));
        QCOMPARE(task.top(), tv->y());
        QCOMPARE(task.right(), window.width() - 1);
        const int statusTop = window.centralWidget()->height();
        QCOMPARE(task.bottom() + 1, statusTop);
        QCOMPARE(tv->geometry().bottom() + 1, statusTop);
    }

    void secondCopyRunsWithoutOwningTheMarker() {
        TempAppData appData;
        MessageBoxes boxes;
        RunningMarker firstCopy(appData.Path());
        QVERIFY(firstCopy.Owned());
        {
            FMain window(QuickStart(appData.Path()));
            QVERIFY(!window.Marker().Owned());
            QVERIFY(!window.Marker().Failure());
        }
        QVERIFY(boxes.shown.empty());
    }

    void markerIsReleasedWhenTheWindowGoes() {
        TempAppData appData;
        {
            FMain window(QuickStart(appData.Path()));
            QVERIFY(window.Marker().Owned());
            QCOMPARE(window.Marker().Path(), appData.Path() + "/KESWorking");
            QVERIFY(!RunningMarker(appData.Path()).Owned());
        }
        QVERIFY(RunningMarker(appData.Path()).Owned());
    }

    void markerThatCannotBeMadeIsLoggedAndStartUpGoesOn() {
        TempAppData appData;
        FMain window(QuickStart(appData.Path() + "/no such folder"));
        QCOMPARE(window.CurrentViewKey(), "task");
        const auto log = ReadLog(appData.LogFile());
        QCOMPARE(log.size(), size_t{5});
        QCOMPARE(log[4].source, "FMain.Form_Initialize");
        QCOMPARE(log[4].level, "L0");
        QVERIFY(log[4].message.find("KESWorking") != std::string::npos);
    }

    void mainShowsTheWindowOnceTheSplashHasGone() {
        TempAppData appData;
        MessageBoxes boxes;
        auto window = Main(QuickStart(appData.Path()));
        QVERIFY(window);
        QVERIFY(window->isVisible());
        QVERIFY(!QApplication::activeModalWidget());
        for (QWidget* w : QApplication::topLevelWidgets())
            QVERIFY(!w->inherits("kestrova::FSplash") || !w->isVisible());
        QVERIFY(boxes.shown.empty());
    }

    void mainReportsAFailedStartAndShowsNoWindow() {
        TempAppData appData;
        const std::string blocker = appData.Path() + "/file";
        std::ofstream(blocker) << "not a folder";
        appData.SetAppData(blocker);
        MessageBoxes boxes;
        auto window = Main(QuickStart(appData.Path()));
        QVERIFY(!window);
        QCOMPARE(boxes.shown.size(), size_t{1});
        QCOMPARE(boxes.shown[0].buttons, 48);
        QCOMPARE(boxes.shown[0].title, "Kestrova");
        QVERIFY(!boxes.shown[0].prompt.empty());
        QVERIFY(!std::filesystem::exists(blocker + "/Quillmoor"));
        for (QWidget* w : QApplication::topLevelWidgets()) QVERIFY(!w->isVisible());
    }

    void mainReportsAMissingComponentBeforeAnythingElse() {
        TempAppData appData;
        MessageBoxes boxes;
        ScopedComponentFailure missing("Fetchcore.dll");
        auto window = Main(QuickStart(appData.Path()));
        QVERIFY(!window);
        QCOMPARE(boxes.shown.size(), size_t{1});
        QCOMPARE(boxes.shown[0].buttons, 16);
        QCOMPARE(boxes.shown[0].prompt,
                 "Component 'FETCHCORE.DLL' or one of its dependencies not correctly registered: "
                 "a file is missing or invalid. Try to reinstall Kestrova.");
        QVERIFY(!std::filesystem::exists(appData.Path() + "/Quillmoor"));
        QVERIFY(!std::filesystem::exists(appData.Path() + "/KESWorking"));
    }
};

}  // namespace kestrova::test

using kestrova::test::StartupTest;
KES_TEST_CLASS(StartupTest);

#include "StartupTest.moc"
