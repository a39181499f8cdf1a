// The About window: its text, frame, link and the keys that close it.
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "FAbout.h"
#include "ShellTestSupport.h"
#include "kesapp/Product.h"
#include "kesapp/Twips.h"

namespace kestrova::test {

class AboutTest : public QObject {
    Q_OBJECT

  private slots:
    void textGivesNameVersionNoticeAndWarning() {
        const QString text = FAbout::NameText();
        QVERIFY(text.endsWith(QLatin1Char('\n')));
        const QStringList lines = text.chopped(1).split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 7);
        QCOMPARE(lines[0], QStringLiteral("Kestrova Version 4.20"));
        QVERIFY(lines[1].isEmpty() && lines[4].isEmpty());
        for (int i : {2, 3, 5, 6}) QVERIFY(!lines[i].isEmpty());
        FAbout about;
        QCOMPARE(Child<QLabel>(about, "lblName")->text(), text);
        QCOMPARE(about.windowTitle(), QStringLiteral("About Kestrova"));
    }

    void whiteFrameTwoPixelsWideOnDarkBlue() {
        FAbout about;
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        QCOMPARE(about.width(), Px(5205));
        QVERIFY(about.height() >= Px(3465));
        for (int pass = 0; pass < 2; ++pass) {  // and again after a repaint
            const QImage shot = about.grab().toImage();
            const int r = shot.width() - 1, b = shot.height() - 1;
            for (QPoint p : {QPoint(0, 0), QPoint(1, 1), QPoint(r, b), QPoint(r - 1, b - 1),
                             QPoint(0, 120), QPoint(1, 120), QPoint(r, 120), QPoint(r - 1, 120),
                             QPoint(170, 0), QPoint(170, 1), QPoint(170, b), QPoint(170, b - 1)})
                QCOMPARE(shot.pixelColor(p), QColor(Qt::white));
            QCOMPARE(shot.pixelColor(2, 120), QColor(0, 0, 0x66));
            QCOMPARE(shot.pixelColor(r - 2, 120), QColor(0, 0, 0x66));
            about.repaint();
        }
    }

    void linkLinesUpWithTheOkButtonWhateverItsHeight() {
        for (int points : {8, 20}) {
            QFont font = QApplication::font();
            font.setPointSize(points);
            QApplication::setFont(font);
            FAbout about;
            const QRect link = Child<QLabel>(about, "lblLink")->geometry();
            QCOMPARE(link.bottom(), Child<QPushButton>(about, "cmdOK")->geometry().bottom());
            QCOMPARE(Child<QLabel>(about, "lblLink")->text(), QString::fromLatin1(kHomePage));
        }
    }

    void enterEscAndOkEachClose_data() {
        QTest::addColumn<int>("key");
        QTest::newRow("Enter") << int(Qt::Key_Return);
        QTest::newRow("Esc") << int(Qt::Key_Escape);
        QTest::newRow("OK") << 0;
    }
    void enterEscAndOkEachClose() {
        QFETCH(int, key);
        FAbout about;
        about.open();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        if (key)
            QTest::keyClick(&about, static_cast<Qt::Key>(key));
        else
            QTest::mouseClick(Child<QPushButton>(about, "cmdOK"), Qt::LeftButton);
        QVERIFY(!about.isVisible());
        QCOMPARE(about.result(), int(QDialog::Accepted));
    }

    void leftClickOnLinkOrDoubleClickOnLogoOpensTheHomePage() {
        ShellCalls shell;
        FAbout about;
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        auto* link = Child<QLabel>(about, "lblLink");
        QTest::mouseClick(link, Qt::RightButton);
        QTest::mouseClick(link, Qt::MiddleButton);
        QVERIFY(shell.calls.empty());
        QTest::mouseClick(link, Qt::LeftButton);
        QTest::mouseDClick(Child<QLabel>(about, "Image1"), Qt::LeftButton);
        QCOMPARE(shell.calls.size(), size_t{2});
        for (const auto& [verb, target] : shell.calls) {
            QCOMPARE(verb, ShellVerb::Open);
            QCOMPARE(target, kHomePage);
        }
        QVERIFY(about.isVisible());
    }
};

}  // namespace kestrova::test

using kestrova::test::AboutTest;
KES_TEST_CLASS(AboutTest);

#include "AboutTest.moc"
