#pragma once

#include <QString>

#include "taskcore/SecretStore.h"

namespace kestrova {

// The desktop's secret service (GNOME Keyring, KWallet, ...) through QtKeychain, under the
// product's name. Each call waits for the service's answer, handling events meanwhile; a
// session without a service (no D-Bus session, a server) answers SecretStoreUnavailable.
class KeychainSecretStore : public SecretStore {
  public:
    KeychainSecretStore();

    std::optional<std::string> Read(const std::string& name) override;
    void Write(const std::string& name, const std::string& secret) override;
    void Erase(const std::string& name) override;

  private:
    QString service_;
};

}  // namespace kestrova
