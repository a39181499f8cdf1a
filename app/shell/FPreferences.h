#pragma once

#include <string>

#include <QDialog>

class QLineEdit;

namespace kestrova {

class SecretStore;

// Edit > Preferences: the Brave Search API key (shown masked, kept by BraveKeyStore, never
// in the settings file) and the SearXNG instance the source choice searches.
class FPreferences : public QDialog {
    Q_OBJECT

  public:
    // `secrets` outlives the dialog.
    FPreferences(SecretStore& secrets, QWidget* parent);

    // Keeps what changed; a refused value keeps the dialog open with the reason shown.
    void accept() override;

  private:
    bool InstanceAccepted();
    bool KeepKey();

    SecretStore& secrets_;
    std::string storedKey_;  // as read when the dialog opened, to leave an unchanged key be
    QLineEdit* txtBraveKey_ = nullptr;
    QLineEdit* txtSearxngInstance_ = nullptr;
};

}  // namespace kestrova
