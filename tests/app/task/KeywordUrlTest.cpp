// The keyword box and the URL box rewrite each other, never themselves, and the status
// bar's first panel follows the keyword box.
#include <QLineEdit>
#include <QTest>

#include "EditorTestSupport.h"

namespace kestrova::test {

class KeywordUrlTest : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        ForgetSettings();
        host_ = std::make_unique<HostWindow>();
        host_->show();
        QVERIFY(QTest::qWaitForWindowActive(host_.get()));
        keyword_ = Child<QLineEdit>(*host_, "txtKeyword");
        url_ = Child<QLineEdit>(*host_, "txtSearchURL");
    }
    void cleanup() { host_.reset(); }

    void typingAKeywordRewritesTheUrlButNotItself() {
        url_->setText(QStringLiteral("http://www.google.de/search?q=old&lr=de"));
        keyword_->clear();
        QTest::keyClicks(keyword_, QStringLiteral(" two words "));
        QCOMPARE(keyword_->text(), QStringLiteral(" two words "));
        QCOMPARE(url_->text(), QStringLiteral("http://www.google.com/search?hl=en&q=two+words"));
        QCOMPARE(host_->Status().Text(1), QStringLiteral(" two words "));
    }

    void editingTheUrlRewritesTheKeywordButNotItself() {
        const QString base =
            QStringLiteral("http://www.google.com/search?as_q=x&q=caf%C3%A9+a%2Bb");
        url_->setText(base);
        url_->setFocus();
        url_->end(false);
        QTest::keyClicks(url_, QStringLiteral("&lr=de"));
        QCOMPARE(url_->text(), base + QStringLiteral("&lr=de"));
        QCOMPARE(keyword_->text(), QStringLiteral("café a+b"));
        QCOMPARE(host_->Status().Text(1), QStringLiteral("café a+b"));
    }

    void aUrlWithoutKeywordEmptiesTheKeyword() {
        url_->setText(QStringLiteral("http://www.google.com/search?Q=caps"));
        QCOMPARE(keyword_->text(), QString());
        QCOMPARE(host_->Status().Text(1), QString());
        QCOMPARE(url_->text(), QStringLiteral("http://www.google.com/search?Q=caps"));
    }

  private:
    std::unique_ptr<HostWindow> host_;
    QLineEdit* keyword_ = nullptr;
    QLineEdit* url_ = nullptr;
};

}  // namespace kestrova::test

using kestrova::test::KeywordUrlTest;
KES_TEST_CLASS(KeywordUrlTest);

#include "KeywordUrlTest.moc"
