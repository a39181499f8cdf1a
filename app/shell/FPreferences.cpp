#include "FPreferences.h"

#include <stdexcept>

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "SourceSettings.h"
#include "kesapp/AppState.h"
#include "kesapp/ShowMsg.h"
#include "taskcore/BraveKeyStore.h"
#include "tessel/Error.h"
#include "tessel/Log.h"

namespace kestrova {

FPreferences::FPreferences(SecretStore& secrets, QWidget* parent)
    : QDialog(parent), secrets_(secrets), storedKey_(BraveKeyStore(secrets).Stored()) {
    setObjectName(QStringLiteral("FPreferences"));
    setWindowTitle(tr("Preferences"));
    txtBraveKey_ = new QLineEdit(QString::fromStdString(storedKey_), this);
    txtBraveKey_->setObjectName(QStringLiteral("txtBraveKey"));
    txtBraveKey_->setEchoMode(QLineEdit::Password);
    txtSearxngInstance_ = new QLineEdit(StoredSearxngInstance(), this);
    txtSearxngInstance_->setObjectName(QStringLiteral("txtSearxngInstance"));
    txtSearxngInstance_->setPlaceholderText(QStringLiteral("https://searx.example.org"));
    auto* where = new QLabel(
        tr("The key is kept in the desktop's secret store; where none runs, in %1, readable "
           "by you alone, where kestrova-cli reads it too.")
            .arg(QString::fromStdString(BraveKeyFile())),
        this);
    where->setWordWrap(true);

    auto* form = new QFormLayout;
    form->addRow(tr("Brave Search API &key:"), txtBraveKey_);
    form->addRow(where);
    form->addRow(tr("&SearXNG instance:"), txtSearxngInstance_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &FPreferences::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &FPreferences::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    setMinimumWidth(fontMetrics().averageCharWidth() * 60);
}

void FPreferences::accept() {
    // Nothing is kept while a value is refused.
    if (!InstanceAccepted() || !KeepKey()) return;
    StoreSearxngInstance(txtSearxngInstance_->text());
    QDialog::accept();
}

bool FPreferences::KeepKey() {
    const std::string key = txtBraveKey_->text().toStdString();
    if (key == storedKey_) return true;
    try {
        const auto place = BraveKeyStore(secrets_).Save(key);
        storedKey_ = key;
        if (place == BraveKeyStore::Place::File) {
            // Said in the log, so a missing secret service is no mystery; never the key.
            const std::string where = "No secret store answered: the key is kept in ";
            if (auto log = app::ProcessLog())
                log->Write(0, where + BraveKeyFile(), tessel::level::kInfo, "FPreferences.accept");
        }
        return true;
    } catch (const std::invalid_argument& e) {
        ShowMsg(e.what(), mb::kExclamation);
    } catch (const tessel::ComError& e) {
        ShowMsg("Cannot write the key file " + BraveKeyFile() + ": " + e.what(), mb::kExclamation);
    }
    txtBraveKey_->setFocus();
    return false;
}

bool FPreferences::InstanceAccepted() {
    const QString instance = txtSearxngInstance_->text().trimmed();
    if (instance.isEmpty() || IsInstanceAddress(instance)) return true;
    ShowMsg("The SearXNG instance must be a web address beginning with http:// or https://.",
            mb::kExclamation);
    txtSearxngInstance_->setFocus();
    return false;
}

}  // namespace kestrova
