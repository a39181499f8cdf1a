// The editor's controls: the folder button, the download check box, select on focus, the
// tab order and the layout on resize.
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "EditorTestSupport.h"
#include "FolderBrowser.h"
#include "kesapp/Twips.h"

namespace kestrova::test {

class EditorControlsTest : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        ForgetSettings();
        host_ = std::make_unique<HostWindow>();
        host_->show();
        QVERIFY(QTest::qWaitForWindowActive(host_.get()));
        saveTo_ = Child<QLineEdit>(*host_, "txtSaveTo");
    }
    void cleanup() { host_.reset(); }

    void aChosenFolderFillsTheBoxAndTakesTheFocus() {
        QWidget* owner = nullptr;
        QString title;
        const ScopedFolderBrowser browser([&](QWidget* o, const QString& t) {
            owner = o;
            title = t;
            return QUrl::fromLocalFile(QStringLiteral("/srv/chosen dir"));
        });
        QTest::mouseClick(Child<QWidget>(*host_, "cmdSaveTo"), Qt::LeftButton);
        QCOMPARE(owner, host_.get());
        QCOMPARE(title, QStringLiteral("Select a Folder"));
        QCOMPARE(saveTo_->text(), QStringLiteral("/srv/chosen dir"));
        QCOMPARE(QApplication::focusWidget(), saveTo_);
        QCOMPARE(saveTo_->selectedText(), saveTo_->text());
    }

    void cancellingOrAVirtualPlaceChangesNothing_data() {
        QTest::addColumn<QUrl>("answer");
        QTest::newRow("cancelled") << QUrl();
        QTest::newRow("trash") << QUrl(QStringLiteral("trash:///"));
        QTest::newRow("network") << QUrl(QStringLiteral("smb://host/share"));
    }
    void cancellingOrAVirtualPlaceChangesNothing() {
        QFETCH(QUrl, answer);
        const QString before = saveTo_->text();
        const ScopedFolderBrowser browser([&](QWidget*, const QString&) { return answer; });
        QTest::mouseClick(Child<QWidget>(*host_, "cmdSaveTo"), Qt::LeftButton);
        QCOMPARE(saveTo_->text(), before);
    }

    void clearingDownloadDisablesThePageControls() {
        auto* download = Child<QCheckBox>(*host_, "chkDownloadPages");
        const auto pageControlsEnabled = [&] {
            return QList<bool>{Child<QWidget>(*host_, "chkSkipNonHtmlPages")->isEnabled(),
                               saveTo_->isEnabled(),
                               Child<QWidget>(*host_, "cmdSaveTo")->isEnabled()};
        };
        QTest::mouseClick(download, Qt::LeftButton);
        QCOMPARE(pageControlsEnabled(), (QList<bool>{false, false, false}));
        QTest::mouseClick(download, Qt::LeftButton);
        QCOMPARE(pageControlsEnabled(), (QList<bool>{true, true, true}));
    }

    void everyTextBoxSelectsItsWholeTextOnFocus() {
        for (const char* name : {"txtKeyword", "txtSearchURL", "txtResultsFrom", "txtResultsTo",
                                 "txtResultsPerPage", "txtSaveTo"}) {
            Child<QWidget>(*host_, "cmdDoIt")->setFocus();
            auto* box = Child<QLineEdit>(*host_, name);
            box->setFocus();  // neither tab nor mouse: a plain line edit selects nothing here
            QCOMPARE(QApplication::focusWidget(), box);
            QCOMPARE(box->selectionStart(), 0);
            QCOMPARE(box->selectedText(), box->text());
        }
    }

    void tabVisitsTheControlsInDesignOrder() {
        Child<QCheckBox>(*host_, "chkWarc")->setChecked(true);  // else its file box is skipped
        Child<QWidget>(*host_, "txtKeyword")->setFocus();
        QStringList visited;
        for (int i = 0; i < 15; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited << QApplication::focusWidget()->objectName();
        }
        // The source choice follows the URL box it belongs to.
        QCOMPARE(visited,
                 (QStringList{"txtSearchURL", "cboSource", "txtResultsFrom", "txtResultsTo",
                              "txtResultsPerPage", "chkDownloadPages", "chkSkipNonHtmlPages",
                              "txtSaveTo", "cmdSaveTo", "chkResume", "chkManifest", "chkWarc",
                              "txtWarcFile", "cmdWarcFile", "cmdDoIt"}));
    }

    void widthsFollowTheEditorAndRefusedStepsAreSkipped() {
        ucTask& editor = host_->Editor();
        const int w = Px(8100);
        editor.resize(w, editor.height());
        const int frame = w - Px(210);
        const int keyword = frame - Px(900) - Px(210);
        QCOMPARE(Child<QWidget>(editor, "LabelCaption")->width(), w - Px(180));
        QCOMPARE(Child<QWidget>(editor, "fraSearch")->width(), frame);
        QCOMPARE(Child<QWidget>(editor, "fraSERP")->width(), frame);
        QCOMPARE(Child<QWidget>(editor, "cmdDoIt")->geometry(),
                 QRect(frame - Px(1120), Px(4140 + 630), Px(1120), Px(345)));  // below the options
        QCOMPARE(Child<QWidget>(editor, "txtKeyword")->geometry(),
                 QRect(Px(900), Px(270), keyword, Px(285)));
        // The URL box and the source choice share the keyword box's width, on one row.
        const QRect url = Child<QWidget>(editor, "txtSearchURL")->geometry();
        const QRect source = Child<QWidget>(editor, "cboSource")->geometry();
        QCOMPARE(url.left(), Px(900));
        QVERIFY(url.right() < source.left());
        QCOMPARE(source.right(), Px(900) + keyword - 1);
        QCOMPARE(source.top(), url.top());
        const int saveTo = Px(900) + keyword - Px(285);
        QCOMPARE(Child<QWidget>(editor, "cmdSaveTo")->x(), saveTo);
        QCOMPARE(Child<QWidget>(editor, "cmdWarcFile")->x(), saveTo);
        QCOMPARE(Child<QWidget>(editor, "txtWarcFile")->geometry().right(),
                 Child<QWidget>(editor, "txtSaveTo")->geometry().right());
        QCOMPARE(Child<QWidget>(editor, "txtSaveTo")->width(), saveTo - Px(210) - Px(30));
        // Too narrow for the text boxes: their widths stay, the other steps still run.
        editor.resize(Px(600), editor.height());
        QCOMPARE(Child<QWidget>(editor, "LabelCaption")->width(), Px(600) - Px(180));
        QCOMPARE(Child<QWidget>(editor, "fraSERP")->width(), Px(600) - Px(210));
        QCOMPARE(Child<QWidget>(editor, "cmdDoIt")->x(), Px(600) - Px(210) - Px(1120));
        QCOMPARE(Child<QWidget>(editor, "txtKeyword")->width(), keyword);
        QCOMPARE(Child<QWidget>(editor, "txtSaveTo")->width(), saveTo - Px(210) - Px(30));
    }

  private:
    std::unique_ptr<HostWindow> host_;
    QLineEdit* saveTo_ = nullptr;
};

}  // namespace kestrova::test

using kestrova::test::EditorControlsTest;
KES_TEST_CLASS(EditorControlsTest);

#include "EditorControlsTest.moc"
