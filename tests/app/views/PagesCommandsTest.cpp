// What the user does in the progress view: keys, the context menu, copy, open and edit.
#include <filesystem>
#include <fstream>

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QTest>

#include "PageListView.h"
#include "PageTableModel.h"
#include "ViewsTestSupport.h"
#include "kesapp/AppState.h"
#include "ucPages.h"

namespace kestrova::test {
namespace {

std::string Url(int i) {
    return "http://host" + std::to_string(i) + ".example/p?q=" + std::to_string(i);
}

}  // namespace

class PagesCommandsTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<Host<ucPages>> host_;
    QTemporaryDir out_;

    PageListView* lv() { return host_->view->findChild<PageListView*>(QStringLiteral("lv")); }
    QMenu* menu() { return host_->view->findChild<QMenu*>(QStringLiteral("mnuLVContext")); }
    QAction* action(const char* name) {
        return host_->view->findChild<QAction*>(QString::fromLatin1(name));
    }
    QModelIndex row(int index) { return ProgressRows(*host_->view).index(index, 0); }
    QPoint centreOf(int index) {  // of the row: its URL's cell
        return lv()->visualRect(row(index).siblingAtColumn(1)).center();
    }
    int selectedCount() { return static_cast<int>(lv()->selectionModel()->selectedRows().size()); }
    QString clipboard() { return QGuiApplication::clipboard()->text(); }

    void select(std::initializer_list<int> indexes) {
        lv()->clearSelection();
        for (int i : indexes)
            lv()->selectionModel()->select(row(i),
                                           QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    void rightClick(int index) {
        QTest::mouseClick(lv()->viewport(), Qt::RightButton, {}, centreOf(index));
    }
    // The rows: 1 saved, 2 still downloading, 3 skipped, 4 failed.
    void fill() {
        host_->view->moSaver_StartSavingPage(1, Url(1));
        host_->view->moSaver_StartSavingPage(2, Url(2));
        host_->view->moSaver_PageSkipped(3, Url(3));
        host_->view->moSaver_StartSavingPage(4, Url(4));
        host_->view->moSaver_SavingPageComplete(Url(1), true, "");
        host_->view->moSaver_SavingPageComplete(Url(4), false, "HTTP 404");
    }
    // What the job with this keyword and folder would have saved for row `index`.
    std::string savePage(int index, const std::string& keywordFolder) {
        const std::string folder = out_.path().toStdString() + "/" + keywordFolder;
        std::filesystem::create_directories(folder);
        const std::string file = folder + "/00" + std::to_string(index + 1) + "-host" +
                                 std::to_string(index + 1) + ".example p q " +
                                 std::to_string(index + 1) + ".htm";
        std::ofstream(file) << "<html></html>";
        return file;
    }

  private slots:
    void init() {
        host_ = std::make_unique<Host<ucPages>>();
        host_->window.resize(700, 400);
        host_->window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&host_->window));
        fill();
        QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    }
    void cleanup() {
        menu()->hide();
        host_.reset();
        app::SetLastJob({}, {});
    }

    void ctrlAWithOnlyCtrlSelectsEveryRow() {
        select({});
        QTest::keyClick(lv(), Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(selectedCount(), 0);
        QTest::keyClick(lv(), Qt::Key_A, Qt::ControlModifier | Qt::AltModifier);
        QCOMPARE(selectedCount(), 0);
        QTest::keyClick(lv(), Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(selectedCount(), 4);
    }

    void ctrlCCopiesTheSelectedUrlsInListOrder() {
        select({2, 0});
        QTest::keyClick(lv(), Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(clipboard(), QStringLiteral("before"));
        QTest::keyClick(lv(), Qt::Key_C);
        QCOMPARE(clipboard(), QStringLiteral("before"));
        QTest::keyClick(lv(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(clipboard(), QString::fromStdString(Url(1) + "\r\n" + Url(3) + "\r\n"));
    }

    void copyOfThreeRowsEndsEachWithALineBreak() {
        select({0, 1, 3});
        action("mnuLVContextCopy")->trigger();
        QCOMPARE(clipboard(),
                 QString::fromStdString(Url(1) + "\r\n" + Url(2) + "\r\n" + Url(4) + "\r\n"));
    }

    void withNothingSelectedCopyTakesTheRightClickedRowsUrlAlone() {
        select({});
        action("mnuLVContextCopy")->trigger();
        QCOMPARE(clipboard(), QStringLiteral("before"));  // nothing remembered yet
        rightClick(1);
        QTRY_VERIFY(menu()->isVisible());
        menu()->hide();
        select({});
        QTest::keyClick(lv(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(clipboard(), QString::fromStdString(Url(2)));
    }

    void aNewJobForgetsTheRightClickedRow() {
        rightClick(1);
        QTRY_VERIFY(menu()->isVisible());
        menu()->hide();
        host_->view->moSaver_StartDownload();
        action("mnuLVContextCopy")->trigger();
        QCOMPARE(clipboard(), QStringLiteral("before"));
    }

    void pageMenuOnlyForASavedRow_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<bool>("offered");
        QTest::newRow("saved") << 0 << true;
        QTest::newRow("downloading") << 1 << false;
        QTest::newRow("skipped") << 2 << false;
        QTest::newRow("failed") << 3 << false;
    }
    void pageMenuOnlyForASavedRow() {
        QFETCH(int, index);
        QFETCH(bool, offered);
        rightClick(index);
        QTRY_VERIFY(menu()->isVisible());
        QCOMPARE(action("mnuLVContextDownloadedPage")->isVisible(), offered);
        QCOMPARE(action("mnuLVContext1")->isVisible(), offered);
        QVERIFY(action("mnuLVContextCopy")->isVisible());
        QVERIFY(action("mnuLVContextSelectAll")->isVisible());
        QCOMPARE(menu()->actions().size(), 5);
    }

    void leftClickShowsNoMenu() {
        QTest::mouseClick(lv()->viewport(), Qt::LeftButton, {}, centreOf(0));
        QVERIFY(!menu()->isVisible());
    }

    void openAndEditHandTheSavedFileToTheDesktop_data() {
        QTest::addColumn<QString>("keyword");
        QTest::addColumn<QString>("folderName");
        QTest::addColumn<bool>("trailingSlash");
        QTest::newRow("plain") << QStringLiteral("kw") << QStringLiteral("kw") << false;
        QTest::newRow("folder ends in /") << QStringLiteral("kw") << QStringLiteral("kw") << true;
        QTest::newRow("encoded") << QStringLiteral("a:b?\"c\"") << QStringLiteral("a_b_'c'")
                                 << false;
        QTest::newRow("dot dot") << QStringLiteral("..") << QStringLiteral("_") << true;
    }
    void openAndEditHandTheSavedFileToTheDesktop() {
        QFETCH(QString, keyword);
        QFETCH(QString, folderName);
        QFETCH(bool, trailingSlash);
        const std::string file = savePage(0, folderName.toStdString());
        app::SetLastJob(keyword.toStdString(),
                        out_.path().toStdString() + (trailingSlash ? "/" : ""));
        ShellCalls shell;
        select({0});
        lv()->setCurrentIndex(row(0));
        action("mnuLVContextOpen")->trigger();
        action("mnuLVContextEdit")->trigger();
        const QPoint at = centreOf(0);
        QTest::mouseClick(lv()->viewport(), Qt::LeftButton, {}, at);  // as a user's first click
        QTest::mouseDClick(lv()->viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(shell.calls.size(), size_t{3});
        QCOMPARE(shell.calls[0].first, ShellVerb::Open);
        QCOMPARE(shell.calls[1].first, ShellVerb::Edit);
        QCOMPARE(shell.calls[2].first, ShellVerb::Edit);
        for (const auto& call : shell.calls) QCOMPARE(call.second, file);
    }

    void aPageWithoutItsFileOrWithoutSelectionIsNotOpened() {
        app::SetLastJob("kw", out_.path().toStdString());
        savePage(0, "kw");
        ShellCalls shell;
        lv()->setCurrentIndex(row(1));  // still downloading: no file yet
        action("mnuLVContextEdit")->trigger();
        lv()->setCurrentIndex(row(0));
        select({});
        action("mnuLVContextOpen")->trigger();
        QVERIFY(shell.calls.empty());
    }
};

KES_TEST_CLASS(PagesCommandsTest);

}  // namespace kestrova::test

#include "PagesCommandsTest.moc"
