// The fields at start-up: first-start defaults, values kept across a restart, and the
// stored URL deciding the keyword.
#include <QCheckBox>
#include <QLineEdit>
#include <QTest>

#include "EditorTestSupport.h"

namespace kestrova::test {
namespace {

QString Text(ucTask& editor, const char* box) {
    return Child<QLineEdit>(editor, box)->text();
}

QCheckBox* Box(ucTask& editor, const char* name) {
    return Child<QCheckBox>(editor, name);
}

}  // namespace

class EditorStartTest : public QObject {
    Q_OBJECT

  private slots:
    void init() { ForgetSettings(); }

    void firstStartShowsTheDefaults() {
        ucTask editor;
        QCOMPARE(editor.Keyword(), QStringLiteral("kestrova"));
        QCOMPARE(editor.SearchURL(),
                 QStringLiteral("http://www.google.com/search?hl=en&q=kestrova"));
        QCOMPARE(Text(editor, "txtResultsFrom"), QStringLiteral("1"));
        QCOMPARE(Text(editor, "txtResultsTo"), QStringLiteral("10"));
        QCOMPARE(Text(editor, "txtResultsPerPage"), QStringLiteral("10"));
        QVERIFY(Box(editor, "chkDownloadPages")->isChecked());
        QVERIFY(Box(editor, "chkSkipNonHtmlPages")->isChecked());
        QVERIFY(Box(editor, "chkSkipNonHtmlPages")->isEnabled());
        QVERIFY(Child<QLineEdit>(editor, "txtSaveTo")->isEnabled());
        QCOMPARE(editor.SaveToFolder(), DocumentsFolder() + QStringLiteral("/Kestrova/"));
    }

    void valuesSurviveARestartUnderTheirKeys() {
        const QString url = QStringLiteral("http://www.google.de/search?q=two+words&lr=de");
        {
            ucTask editor;
            Child<QLineEdit>(editor, "txtSearchURL")->setText(url);
            Child<QLineEdit>(editor, "txtResultsFrom")->setText(QStringLiteral(" 5"));
            Child<QLineEdit>(editor, "txtResultsTo")->setText(QStringLiteral("50x"));
            Child<QLineEdit>(editor, "txtResultsPerPage")->setText(QStringLiteral("20"));
            Child<QLineEdit>(editor, "txtSaveTo")->setText(QStringLiteral(" /srv/pages "));
            Box(editor, "chkSkipNonHtmlPages")->setChecked(false);
            Box(editor, "chkDownloadPages")->setChecked(false);
        }
        const QSettings stored = StoredSettings();
        QCOMPARE(stored.childGroups(), QStringList{QStringLiteral("Kestrova")});
        // The field keys, and the task options apart under their own prefix.
        const QStringList keys = stored.allKeys();
        QCOMPARE(keys.size(), 12);
        QCOMPARE(keys.filter(QStringLiteral("Kestrova/Options/")).size(), 4);
        QCOMPARE(stored.value("Kestrova/txtKeyword2").toString(), QStringLiteral("two words"));
        QCOMPARE(stored.value("Kestrova/txtSearchURL4").toString(), url);
        QCOMPARE(stored.value("Kestrova/txtResultsFrom6").toString(), QStringLiteral(" 5"));
        QCOMPARE(stored.value("Kestrova/txtResultsTo8").toString(), QStringLiteral("50x"));
        QCOMPARE(stored.value("Kestrova/txtResultsPerPage11").toString(), QStringLiteral("20"));
        QCOMPARE(stored.value("Kestrova/chkDownloadPages14").toString(), QStringLiteral("0"));
        QCOMPARE(stored.value("Kestrova/chkSkipNonHtmlPages15").toString(), QStringLiteral("0"));
        QCOMPARE(stored.value("Kestrova/txtSaveTo17").toString(), QStringLiteral(" /srv/pages "));

        ucTask again;
        QCOMPARE(again.Keyword(), QStringLiteral("two words"));
        QCOMPARE(again.SearchURL(), url);
        QCOMPARE(Text(again, "txtResultsFrom"), QStringLiteral(" 5"));
        QCOMPARE(Text(again, "txtResultsTo"), QStringLiteral("50x"));
        QCOMPARE(Text(again, "txtResultsPerPage"), QStringLiteral("20"));
        QCOMPARE(again.SaveToFolder(), QStringLiteral(" /srv/pages "));
        QVERIFY(!Box(again, "chkDownloadPages")->isChecked());
        QVERIFY(!Box(again, "chkSkipNonHtmlPages")->isChecked());
        // Downloading off at start leaves the page controls disabled, as a click would.
        QVERIFY(!Box(again, "chkSkipNonHtmlPages")->isEnabled());
        QVERIFY(!Child<QLineEdit>(again, "txtSaveTo")->isEnabled());
        QVERIFY(!Child<QWidget>(again, "cmdSaveTo")->isEnabled());
    }

    void theStoredUrlDecidesTheKeyword_data() {
        QTest::addColumn<QString>("url");
        QTest::addColumn<QString>("keyword");
        QTest::newRow("no keyword parameter")
            << QStringLiteral("http://www.google.com/search?hl=en") << QString();
        QTest::newRow("keyword parameter")
            << QStringLiteral("http://www.google.com/search?as_q=old&q=new+one") << "new one";
    }
    void theStoredUrlDecidesTheKeyword() {
        QFETCH(QString, url);
        QFETCH(QString, keyword);
        {
            QSettings stored = StoredSettings();
            stored.setValue("Kestrova/txtKeyword2", QStringLiteral("stored"));
            stored.setValue("Kestrova/txtSearchURL4", url);
        }
        ucTask editor;
        QCOMPARE(editor.Keyword(), keyword);
        QCOMPARE(editor.SearchURL(), url);
    }

    void aStoredStateThatIsNoStateKeepsTheBoxChecked() {
        {
            QSettings stored = StoredSettings();
            stored.setValue("Kestrova/chkDownloadPages14", QStringLiteral("maybe"));
            stored.setValue("Kestrova/chkSkipNonHtmlPages15", QStringLiteral(" 0"));
        }
        ucTask editor;
        QVERIFY(Box(editor, "chkDownloadPages")->isChecked());
        QVERIFY(!Box(editor, "chkSkipNonHtmlPages")->isChecked());
        QVERIFY(Box(editor, "chkSkipNonHtmlPages")->isEnabled());
    }
};

}  // namespace kestrova::test

using kestrova::test::EditorStartTest;
KES_TEST_CLASS(EditorStartTest);

#include "EditorStartTest.moc"
