// Edit > Preferences: the Brave Search API key kept in the secret store or, without one, in
// the 0600 key file; never in the settings file or the log.
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

#include "FPreferences.h"
#include "FakeSecretStore.h"
#include "KeychainSecretStore.h"
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
        MessageBoxes boxes(mb::kOK);
        // Refused, with the dialog left open: a key no header can carry, an instance that is
        // no web address. Nothing is kept.
        QVERIFY(!Edit(QStringLiteral("BSA with blank"), kInstance).accepted);
        QVERIFY(!Edit(kKey, QStringLiteral("searx.example.org")).accepted);
        QCOMPARE(boxes.shown.size(), size_t{2});
        QVERIFY(secrets_->kept.empty());

        QVERIFY(Edit(kKey, kInstance).accepted);
        QCOMPARE(secrets_->kept.at(BraveKeyStore::kSecretName), kKey.toStdString());
        QVERIFY(!QFile::exists(QString::fromStdString(BraveKeyFile())));
        QCOMPARE(Edit().shown, kKey);  // opened again: the key kept, masked
        CheckNowhereElse();
    }

    void withoutASecretServiceTheKeyGoesToAFileOnlyItsOwnerMayRead() {
        secrets_->answers = false;
        QVERIFY(Edit(QStringLiteral("  ") + kKey, kInstance).accepted);
        QVERIFY(secrets_->kept.empty());
        QFile file(QString::fromStdString(BraveKeyFile()));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), kKey.toUtf8() + '\n');
        QCOMPARE(file.permissions(),
                 QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
        QCOMPARE(Edit().shown, kKey);
        CheckNowhereElse();
    }

    void theDesktopsStoreWithoutASessionBusLeavesTheKeyToTheFile() {
        qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/kestrova-test-bus");
        KeychainSecretStore desktop;
        QVERIFY_THROWS_EXCEPTION(SecretStoreUnavailable, desktop.Read("probe"));
        QCOMPARE(BraveKeyStore(desktop).Save(kKey.toStdString()), BraveKeyStore::Place::File);
        QCOMPARE(BraveKeyStore(desktop).ForJob().key, kKey.toStdString());
    }

  private:
    struct Outcome {
        QString shown;  // the key box's text as the dialog opened
        bool accepted = false;
    };

    // Opens the dialog and, given values, types them and presses OK (a refused value leaves
    // the dialog open: it is cancelled then); else presses Cancel. The key box must mask.
    Outcome Edit(std::optional<QString> key = {}, const QString& instance = {}) {
        Outcome outcome;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<FPreferences*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            auto* keyBox = Child<QLineEdit>(*dialog, "txtBraveKey");
            QCOMPARE(keyBox->echoMode(), QLineEdit::Password);
            outcome.shown = keyBox->text();
            auto* buttons = dialog->findChild<QDialogButtonBox*>();
            if (key) {
                keyBox->setText(*key);
                Child<QLineEdit>(*dialog, "txtSearxngInstance")->setText(instance);
                buttons->button(QDialogButtonBox::Ok)->click();
                outcome.accepted = !dialog->isVisible();
            }
            if (dialog->isVisible()) buttons->button(QDialogButtonBox::Cancel)->click();
        });
        Child<QAction>(*window_, "mnuPreferences")->trigger();
        return outcome;
    }

    // After the window stored its settings: the instance is in the settings file, the key is
    // neither there nor in the log.
    void CheckNowhereElse() {
        window_.reset();
        const QString ini =
            QSettings(QSettings::IniFormat, QSettings::UserScope, QString::fromLatin1(kProductName),
                      QString::fromLatin1(kProductName))
                .fileName();
        QFile settings(ini);
        QVERIFY(settings.open(QIODevice::ReadOnly));
        const QByteArray bytes = settings.readAll();
        QVERIFY(bytes.contains(kInstance.toUtf8()));
        QVERIFY(bytes.contains("txtKeyword2"));
        QVERIFY(!bytes.contains(kKey.toUtf8()));
        QFile log(QString::fromStdString(appData_.LogFile()));
        QVERIFY(log.open(QIODevice::ReadOnly));
        QVERIFY(!log.readAll().contains(kKey.toUtf8()));
    }

    const QString kKey = QStringLiteral("BSA-pref-7f3c9e");
    const QString kInstance = QStringLiteral("https://searx.example.org");
    TempAppData appData_;
    std::shared_ptr<FakeSecretStore> secrets_;
    std::unique_ptr<FMain> window_;
};

KES_TEST_CLASS(PreferencesTest);

}  // namespace kestrova::test

#include "PreferencesTest.moc"
