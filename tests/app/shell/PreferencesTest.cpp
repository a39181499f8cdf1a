// Edit > Preferences: the Brave Search API key kept in the secret store or, without one, in
// the 0600 key file; never in the settings file or the log.
#include <sys/stat.h>

#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <QTimer>

#include <optional>
#include <utility>
#include <vector>

#include "FPreferences.h"
#include "FakeSecretStore.h"
#include "ShellTestSupport.h"
#include "kesapp/Product.h"
#include "taskcore/BraveKeyStore.h"
#include "tessel/WorkerThread.h"

namespace kestrova::test {

class PreferencesTest : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        qunsetenv("KESTROVA_BRAVE_KEY");
        QFile::remove(QString::fromStdString(BraveKeyFile()));
        secrets_ = std::make_shared<FakeSecretStore>();
        ShellOptions options = QuickStart(appData_.Path());
        options.secrets = secrets_;
        window_ = std::make_unique<FMain>(options);
        window_->show();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    }
    void cleanup() {
        window_.reset();
        tessel::WorkerThread::JoinAll();
    }

    void theKeyGoesToTheSecretStoreMaskedAndNeverToTheSettingsOrTheLog() {
        QCOMPARE(Edit(kKey, QStringLiteral("https://searx.example.org")), QString());
        QCOMPARE(secrets_->kept.at(BraveKeyStore::kSecretName), kKey.toStdString());
        QVERIFY(!QFile::exists(QString::fromStdString(BraveKeyFile())));
        // Opened again, the dialog shows the key kept, masked.
        QCOMPARE(Edit(std::nullopt, std::nullopt), kKey);
        CheckNowhereElse(QStringLiteral("https://searx.example.org"));
    }

    void withoutASecretServiceTheKeyGoesToAFileOnlyItsOwnerMayRead() {
        secrets_->answers = false;
        Edit(QStringLiteral("  ") + kKey + QStringLiteral(" "), QStringLiteral("http://127.0.0.1:8"));
        QVERIFY(secrets_->kept.empty());
        QFile file(QString::fromStdString(BraveKeyFile()));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), kKey.toUtf8() + '\n');
        struct stat status {};
        QCOMPARE(::stat(BraveKeyFile().c_str(), &status), 0);
        QCOMPARE(status.st_mode & 07777, 0600u);
        QCOMPARE(Edit(std::nullopt, std::nullopt), kKey);
        CheckNowhereElse(QStringLiteral("http://127.0.0.1:8"));
    }

    void aRefusedValueKeepsTheDialogOpenAndKeepsNothing() {
        MessageBoxes boxes(mb::kOK);
        QStringList stillOpen;
        // A key no header can carry; a good key with an instance that is no web address.
        const std::vector<std::pair<QString, QString>> refused{
            {QStringLiteral("BSA with blank"), QStringLiteral("https://ok.example")},
            {kKey, QStringLiteral("searx.example.org")}};
        for (const auto& values : refused) {
            QTimer::singleShot(0, [&] {
                auto* dialog = qobject_cast<FPreferences*>(QApplication::activeModalWidget());
                QVERIFY(dialog);
                Child<QLineEdit>(*dialog, "txtBraveKey")->setText(values.first);
                Child<QLineEdit>(*dialog, "txtSearxngInstance")->setText(values.second);
                dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
                if (dialog->isVisible()) stillOpen << values.first;
                dialog->reject();
            });
            Child<QAction>(*window_, "mnuPreferences")->trigger();
        }
        QCOMPARE(stillOpen, (QStringList{QStringLiteral("BSA with blank"), kKey}));
        QCOMPARE(boxes.shown.size(), size_t{2});
        QVERIFY(boxes.shown[0].prompt.find("blanks") != std::string::npos);
        QVERIFY(boxes.shown[1].prompt.find("http://") != std::string::npos);
        QVERIFY(secrets_->kept.empty());
    }

  private:
    // Opens the dialog, types the values given and presses OK (else Cancel); returns the key
    // box's text as it opened. The box must mask what it shows.
    QString Edit(std::optional<QString> key, std::optional<QString> instance) {
        QString shown;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<FPreferences*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            auto* keyBox = Child<QLineEdit>(*dialog, "txtBraveKey");
            QCOMPARE(keyBox->echoMode(), QLineEdit::Password);
            shown = keyBox->text();
            if (key) keyBox->setText(*key);
            if (instance) Child<QLineEdit>(*dialog, "txtSearxngInstance")->setText(*instance);
            auto* buttons = dialog->findChild<QDialogButtonBox*>();
            buttons->button(key ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel)->click();
        });
        Child<QAction>(*window_, "mnuPreferences")->trigger();
        return shown;
    }

    // After the window stored its settings: the instance is in the settings file, the key is
    // neither there nor in the log.
    void CheckNowhereElse(const QString& instance) {
        window_.reset();
        const QString ini = QSettings(QSettings::IniFormat, QSettings::UserScope,
                                      QString::fromLatin1(kProductName),
                                      QString::fromLatin1(kProductName))
                                .fileName();
        QFile settings(ini);
        QVERIFY(settings.open(QIODevice::ReadOnly));
        const QByteArray bytes = settings.readAll();
        QVERIFY(bytes.contains(instance.toUtf8()));
        QVERIFY(bytes.contains("txtKeyword2"));
        QVERIFY(!bytes.contains(kKey.toUtf8()));
        QFile log(QString::fromStdString(appData_.LogFile()));
        QVERIFY(log.open(QIODevice::ReadOnly));
        QVERIFY(!log.readAll().contains(kKey.toUtf8()));
    }

    const QString kKey = QStringLiteral("BSA-pref-7f3c9e");
    TempAppData appData_;
    std::shared_ptr<FakeSecretStore> secrets_;
    std::unique_ptr<FMain> window_;
};

KES_TEST_CLASS(PreferencesTest);

}  // namespace kestrova::test

#include "PreferencesTest.moc"
