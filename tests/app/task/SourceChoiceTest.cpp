// The source choice beside the URL box: choosing writes the source's address, an address
// typed shows its source, and a Brave Search API task takes its key before any request.
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QInputDialog>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include "EditorTestSupport.h"
#include "FakeSecretStore.h"
#include "SourceSettings.h"
#include "fetchcore/CSaver.h"
#include "taskcore/BraveKeyStore.h"
#include "tessel/Toolbox.h"

namespace kestrova::test {

class SourceChoiceTest : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        ForgetSettings();
        qunsetenv("KESTROVA_BRAVE_KEY");
        host_ = std::make_unique<HostWindow>();
        host_->show();
        QVERIFY(QTest::qWaitForWindowActive(host_.get()));
        keyword_ = Child<QLineEdit>(*host_, "txtKeyword");
        url_ = Child<QLineEdit>(*host_, "txtSearchURL");
        source_ = Child<QComboBox>(*host_, "cboSource");
        QVERIFY(source_);
    }
    void cleanup() {
        tessel::WorkerThread::JoinAll();
        tessel::Toolbox::PumpMessages();
        host_.reset();
        qunsetenv("KESTROVA_SEARXNG");
    }

    void choosingEachSourceWritesItsAddressForTheKeyword() {
        url_->setText(QStringLiteral("http://www.google.com/search?hl=en&q=x"));
        keyword_->setText(QStringLiteral("red kites"));
        // The first SearXNG choice asks for the instance, offering KESTROVA_SEARXNG's.
        qputenv("KESTROVA_SEARXNG", "http://searx.from-env.example");
        QString offered;
        Answer([&](QInputDialog& ask) {
            offered = ask.textValue();
            ask.setTextValue(QStringLiteral("http://127.0.0.1:8888/searx/"));
            ask.accept();
        });
        Choose(QStringLiteral("SearXNG"));
        QCOMPARE(offered, QStringLiteral("http://searx.from-env.example"));
        QCOMPARE(url_->text(),
                 QStringLiteral("http://127.0.0.1:8888/searx/search?q=red+kites&format=json"));
        QCOMPARE(keyword_->text(), QStringLiteral("red kites"));
        QCOMPARE(StoredSearxngInstance(), QStringLiteral("http://127.0.0.1:8888/searx/"));

        Choose(QStringLiteral("Brave Search API"));
        QCOMPARE(url_->text(),
                 QStringLiteral("https://api.search.brave.com/res/v1/web/search?q=red+kites"));
        Choose(QStringLiteral("Google"));
        QCOMPARE(url_->text(), QStringLiteral("http://www.google.com/search?hl=en&q=red+kites"));
        // Remembered: not asked again (a question would be cancelled, leaving the address).
        const QObject scope;
        QTimer::singleShot(0, &scope, [] {
            if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
        });
        Choose(QStringLiteral("SearXNG"));
        QCOMPARE(url_->text(),
                 QStringLiteral("http://127.0.0.1:8888/searx/search?q=red+kites&format=json"));
        QCOMPARE(keyword_->text(), QStringLiteral("red kites"));
    }

    void noInstanceGivenLeavesTheAddressAndTheChoice() {
        const QString google = QStringLiteral("http://www.google.com/search?hl=en&q=k");
        url_->setText(google);
        for (const QString& answer : {QString(), QStringLiteral("searx.example")}) {
            Answer([&](QInputDialog& ask) {
                ask.setTextValue(answer);
                answer.isEmpty() ? ask.reject() : ask.accept();
            });
            Choose(QStringLiteral("SearXNG"));
            QCOMPARE(url_->text(), google);
            QCOMPARE(source_->currentText(), QStringLiteral("Google"));
            QVERIFY(StoredSearxngInstance().isEmpty());
        }
    }

    void typingAnAddressShowsItsSourceAndKeepsTheAddress() {
        const std::pair<QString, QString> typed[] = {
            {QStringLiteral("https://searx.example/search?q=k&format=json"), "SearXNG"},
            {QStringLiteral("http://127.0.0.1:9/res/v1/web/search?q=k"), "Brave Search API"},
            {QStringLiteral("https://searx.example/search?q=k&format=html"), "Google"}};
        for (const auto& [address, source] : typed) {
            url_->selectAll();
            QTest::keyClicks(url_, address);
            QCOMPARE(url_->text(), address);
            QCOMPARE(source_->currentText(), source);
        }
        // Typing a keyword keeps the source and the address but its "q"; choosing the source
        // shown keeps the address too.
        url_->setText(QStringLiteral("https://s.example/search?q=k&format=json&engines=bing"));
        keyword_->setText(QStringLiteral("ospreys"));
        Choose(QStringLiteral("SearXNG"));
        QCOMPARE(url_->text(),
                 QStringLiteral("https://s.example/search?q=ospreys&format=json&engines=bing"));
        QCOMPARE(source_->currentText(), QStringLiteral("SearXNG"));
    }

    void aBraveTaskTakesTheKeyFromTheSecretStoreOrFailsNamingWhereToSetOne() {
        FakeSecretStore secrets;
        fetchcore::CSaver saver;
        saver.Init(nullptr);
        TaskCapture capture;
        MessageBoxes boxes;
        host_->Editor().SetSecretStore(secrets);
        host_->Editor().Init(saver);
        Child<QLineEdit>(*host_, "txtSaveTo")->setText(QDir::tempPath());
        url_->setText(QStringLiteral("https://api.search.brave.com/res/v1/web/search?q=k"));
        host_->Editor().DoIt();
        QCOMPARE(boxes.shown.size(), size_t{1});  // the message's places: see BraveKeyTest
        QVERIFY(boxes.shown[0].first.find("Edit > Preferences") != std::string::npos);
        QCOMPARE(QApplication::focusWidget(), url_);
        QVERIFY(!saver.IsDownloadingNow());

        secrets.kept[BraveKeyStore::kSecretName] = "BSA-editor-51";
        host_->Editor().DoIt();
        tessel::WorkerThread::JoinAll();
        QCOMPARE(boxes.shown.size(), size_t{1});
        const auto tasks = capture.Tasks();
        QCOMPARE(tasks.size(), size_t{1});
        QCOMPARE(tasks[0]->SearchApiKey(), "BSA-editor-51");
        QCOMPARE(tasks[0]->SearchApiKeyOrigin(), "the desktop's secret store");

        // The window closes (a signal, a logout) while the store is asked: no job, no box.
        secrets.whileReading = [this] { host_->close(); };
        host_->Editor().DoIt();
        tessel::WorkerThread::JoinAll();
        QCOMPARE(capture.Tasks().size(), size_t{1});
        QCOMPARE(boxes.shown.size(), size_t{1});
    }

  private:
    // The user picks `text` in the choice, as with the keyboard.
    void Choose(const QString& text) {
        const int index = source_->findText(text);
        QVERIFY(index >= 0);
        source_->setCurrentIndex(index);
        emit source_->activated(index);
    }

    // Answers the instance question that the next choice opens.
    template <class Reply>
    void Answer(Reply reply) {
        QTimer::singleShot(0, [reply] {
            auto* ask = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
            QVERIFY(ask);
            reply(*ask);
        });
    }

    std::unique_ptr<HostWindow> host_;
    QLineEdit* keyword_ = nullptr;
    QLineEdit* url_ = nullptr;
    QComboBox* source_ = nullptr;
};

KES_TEST_CLASS(SourceChoiceTest);

}  // namespace kestrova::test

#include "SourceChoiceTest.moc"
