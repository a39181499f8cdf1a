// What the user sees of the main window: where the focus goes when the window comes back,
// text that fits its place at any font size, status panels that keep their sizes.
#include <cstdlib>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

#include "FAbout.h"
#include "FolderBrowser.h"
#include "ShellTestSupport.h"
#include "kesapp/StatusPanels.h"
#include "tessel/WorkerThread.h"

namespace kestrova::test {
namespace {

// Another top-level window takes the activation, then gives it back to `window`.
void VisitAnotherWindow(QWidget& window) {
    QWidget other;
    other.resize(200, 100);
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    other.close();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
}

// Every caption of `view` shows whole, no control reaches out of its frame, and no two
// controls in one frame overlap.
void CheckCaptionsFit(QWidget& view) {
    for (const QLabel* label : view.findChildren<QLabel*>()) {
        QVERIFY2(label->sizeHint().width() <= label->width(), qPrintable(label->text()));
        QVERIFY2(label->sizeHint().height() <= label->height(), qPrintable(label->text()));
    }
    for (const QCheckBox* box : view.findChildren<QCheckBox*>())
        QVERIFY2(box->sizeHint().width() <= box->width(), qPrintable(box->text()));
    for (const QWidget* a : view.findChildren<QWidget*>()) {
        if (!a->isHidden() && a->parentWidget() != &view)
            QVERIFY2(a->parentWidget()->rect().contains(a->geometry()),
                     qPrintable(a->objectName()));
        for (const QWidget* b : view.findChildren<QWidget*>()) {
            if (a == b || a->parentWidget() != b->parentWidget() || a->isHidden() || b->isHidden())
                continue;
            QVERIFY2(!a->geometry().intersects(b->geometry()),
                     qPrintable(a->objectName() + QStringLiteral(" / ") + b->objectName()));
        }
    }
}

}  // namespace

class WindowLookTest : public QObject {
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
        QApplication::setFont(QFont());
    }

    void firstDisplayFocusesTheKeyword() {
        QCOMPARE(QApplication::focusWidget(), Child<QLineEdit>(*window_, "txtKeyword"));
    }

    void comingBackFromAnotherWindowLeavesTheFocusAndTheText() {
        auto* url = Child<QLineEdit>(*window_, "txtSearchURL");
        url->setFocus();
        url->setCursorPosition(5);
        const QString keyword = Child<QLineEdit>(*window_, "txtKeyword")->text();
        VisitAnotherWindow(*window_);
        QCOMPARE(QApplication::focusWidget(), url);
        QCOMPARE(url->cursorPosition(), 5);
        QVERIFY(!url->hasSelectedText());
        // A key typed now goes where the user left off.
        QTest::keyClick(window_->windowHandle(), Qt::Key_X);
        QCOMPARE(Child<QLineEdit>(*window_, "txtKeyword")->text().size(), keyword.size());
        QCOMPARE(url->text().at(5), QLatin1Char('x'));
    }

    void comingBackFromAboutFocusesTheKeywordAgain() {
        Child<QLineEdit>(*window_, "txtSearchURL")->setFocus();
        QTimer::singleShot(0, [] {
            QVERIFY(QTest::qWaitForWindowExposed(QApplication::activeModalWidget()));
            QApplication::activeModalWidget()->close();
        });
        window_->findChild<QAction*>(QStringLiteral("mnuAbout"))->trigger();
        window_->activateWindow();  // as the window manager does once the About window goes
        QTRY_COMPARE(QApplication::focusWidget(), Child<QLineEdit>(*window_, "txtKeyword"));
    }

    void aChosenFolderStaysSelectedAfterTheBrowserCloses() {
        const ScopedFolderBrowser browser([](QWidget*, const QString&) {
            QWidget dialog;  // the browser is a window of its own
            dialog.show();
            dialog.activateWindow();
            [&] { QVERIFY(QTest::qWaitForWindowActive(&dialog)); }();
            return QUrl::fromLocalFile(QStringLiteral("/srv/chosen"));
        });
        QTest::mouseClick(Child<QPushButton>(*window_, "cmdSaveTo"), Qt::LeftButton);
        window_->activateWindow();  // as the window manager does once the browser goes
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
        auto* saveTo = Child<QLineEdit>(*window_, "txtSaveTo");
        QCOMPARE(QApplication::focusWidget(), saveTo);
        QCOMPARE(saveTo->selectedText(), QStringLiteral("/srv/chosen"));
    }

    void theFixedWindowOffersNoMaximize() {
        QVERIFY(window_->windowFlags() & Qt::CustomizeWindowHint);
        QVERIFY(!(window_->windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(window_->windowFlags() & Qt::WindowCloseButtonHint);
    }

    void aLongKeywordLeavesTheThreePanelsAsTheyWere() {
        auto* sb = Child<StatusPanels>(*window_, "sb");
        const int widths[] = {sb->PanelWidth(1), sb->PanelWidth(2), sb->PanelWidth(3)};
        // Equal shares, but for the pixel left over when the bar does not divide by three.
        QVERIFY(std::abs(widths[0] - widths[1]) <= 1 && std::abs(widths[1] - widths[2]) <= 1);
        const QString keyword(200, QLatin1Char('w'));
        SetTaskFields(*window_, keyword);
        sb->SetText(3, QStringLiteral("a long error ") + keyword);
        QCoreApplication::processEvents();
        for (int panel : {1, 2, 3}) QCOMPARE(sb->PanelWidth(panel), widths[panel - 1]);
        QCOMPARE(sb->Text(1), keyword);
        QVERIFY(sb->ShownText(1).endsWith(QChar(0x2026)));
        QVERIFY(sb->ShownText(1).size() < keyword.size());
    }

    void theEditorUsesTheApplicationFontAndEveryCaptionFits_data() {
        QTest::addColumn<int>("points");
        for (int points : {7, 9, 11, 14}) QTest::addRow("%d pt", points) << points;
    }
    void theEditorUsesTheApplicationFontAndEveryCaptionFits() {
        QFETCH(int, points);
        window_.reset();
        QFont font = QApplication::font();
        font.setPointSize(points);
        QApplication::setFont(font);
        FMain window(QuickStart(appData_.Path()));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto* editor = Child<QWidget>(window, "ucTask1");
        for (const char* name : {"txtKeyword", "Label11", "chkDownloadPages", "cmdDoIt"})
            QCOMPARE(Child<QWidget>(*editor, name)->font(), font);
        QCOMPARE(Child<QWidget>(window, "tv")->font(), font);
        CheckCaptionsFit(*editor);
        // The editor still fits its place beside the tree.
        QVERIFY(Child<QWidget>(*editor, "cmdDoIt")->geometry().bottom() < editor->height());
    }

    void theAboutTextFitsAtAnyFontSize_data() {
        theEditorUsesTheApplicationFontAndEveryCaptionFits_data();
    }
    void theAboutTextFitsAtAnyFontSize() {
        QFETCH(int, points);
        QFont font = QApplication::font();
        font.setPointSize(points);
        QApplication::setFont(font);
        FAbout about;
        const auto* name = Child<QLabel>(about, "lblName");
        QVERIFY(name->wordWrap());
        QVERIFY(name->heightForWidth(name->width()) <= name->height());
        QVERIFY(name->geometry().right() < about.width());
        QVERIFY(name->geometry().bottom() < Child<QPushButton>(about, "cmdOK")->y());
        // No word is wider than the label, so wrapping never has to cut one.
        for (const QString& word :
             FAbout::NameText().split(QRegularExpression(QStringLiteral("\\s+"))))
            QVERIFY2(name->fontMetrics().horizontalAdvance(word) <= name->width(),
                     qPrintable(word));
    }

  private:
    TempAppData appData_;
    std::unique_ptr<FMain> window_;
};

}  // namespace kestrova::test

using kestrova::test::WindowLookTest;
KES_TEST_CLASS(WindowLookTest);

#include "WindowLookTest.moc"
