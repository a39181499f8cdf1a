// Both views lay themselves out on resize by their design rules (75-twip gaps, 180-twip margins).
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "PageListView.h"
#include "ViewsTestSupport.h"
#include "kesapp/Twips.h"
#include "ucPageList.h"
#include "ucPages.h"

namespace kestrova::test {

class ViewsLayoutTest : public QObject {
    Q_OBJECT

  private:
    static void addSizes() {
        QTest::addColumn<QSize>("size");
        QTest::newRow("main window's") << QSize(540, 330);
        QTest::newRow("larger") << QSize(900, 700);
    }

  private slots:
    void progressViewFollowsItsSize_data() { addSizes(); }
    void progressViewFollowsItsSize() {
        QFETCH(QSize, size);
        ucPages view;
        view.resize(size);
        view.show();
        const auto* lv = view.findChild<PageListView*>(QStringLiteral("lv"));
        const auto* cancel = view.findChild<QPushButton*>(QStringLiteral("cmdCancel"));
        const auto* caption = view.findChild<QLabel*>(QStringLiteral("LabelCaption"));
        QCOMPARE(cancel->geometry().bottom() + 1, size.height() - Px(75));
        QCOMPARE(cancel->geometry().right(), lv->geometry().right());
        QCOMPARE(lv->width(), size.width() - Px(180));
        QCOMPARE(caption->width(), size.width() - Px(180));
        QCOMPARE(lv->geometry().bottom() + 1, cancel->y() - Px(75));
        QCOMPARE(lv->columnWidth(1),
                 lv->width() - lv->columnWidth(0) - lv->columnWidth(2) - Px(330));
        QVERIFY(lv->columnWidth(0) > 0 && lv->columnWidth(2) > 0);
    }

    void resultListViewFollowsItsSize_data() { addSizes(); }
    void resultListViewFollowsItsSize() {
        QFETCH(QSize, size);
        ucPageList view;
        view.resize(size);
        view.show();
        const auto* text = view.findChild<QPlainTextEdit*>(QStringLiteral("txtPageList"));
        const auto* save = view.findChild<QPushButton*>(QStringLiteral("cmdSave"));
        const auto* caption = view.findChild<QLabel*>(QStringLiteral("LabelCaption"));
        QCOMPARE(text->width(), size.width() - Px(180));
        QCOMPARE(caption->width(), size.width() - Px(180));
        QCOMPARE(save->geometry().right(), text->geometry().right());
        QCOMPARE(save->geometry().bottom() + 1, size.height() - Px(75));
        QCOMPARE(text->geometry().bottom() + 1, save->y() - Px(75));
    }

    void captionsAndButtons() {
        ucPages pages;
        ucPageList list;
        QCOMPARE(pages.findChild<QLabel*>(QStringLiteral("LabelCaption"))->text(),
                 QStringLiteral(" Pages"));
        QCOMPARE(list.findChild<QLabel*>(QStringLiteral("LabelCaption"))->text(),
                 QStringLiteral(" List"));
        QCOMPARE(pages.findChild<QPushButton*>(QStringLiteral("cmdCancel"))->text(),
                 QStringLiteral("Cancel"));
        QVERIFY(!pages.findChild<QPushButton*>(QStringLiteral("cmdCancel"))->isEnabled());
        QCOMPARE(list.findChild<QPushButton*>(QStringLiteral("cmdSave"))->text(),
                 QStringLiteral("&Save"));
        const auto* lv = pages.findChild<PageListView*>(QStringLiteral("lv"));
        const auto caption = [&](int column) {
            return lv->model()->headerData(column, Qt::Horizontal).toString();
        };
        QCOMPARE(caption(0), QStringLiteral("N"));
        QCOMPARE(caption(1), QStringLiteral("URL"));
        QCOMPARE(caption(2), QStringLiteral("Download"));
        QCOMPARE(lv->model()->columnCount(), 3);
        QCOMPARE(lv->selectionMode(), QAbstractItemView::ExtendedSelection);
    }
};

KES_TEST_CLASS(ViewsLayoutTest);

}  // namespace kestrova::test

#include "ViewsLayoutTest.moc"
