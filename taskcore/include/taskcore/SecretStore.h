#pragma once

#include <optional>
#include <stdexcept>
#include <string>

namespace kestrova {

// No secret store answered (none runs, or it failed); the message says why, never a secret.
class SecretStoreUnavailable : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Somewhere secrets are kept by name, such as the desktop's secret service. Each call either
// does what it says or throws SecretStoreUnavailable.
class SecretStore {
  public:
    virtual ~SecretStore() = default;

    // The secret kept under `name`, or none when nothing is.
    virtual std::optional<std::string> Read(const std::string& name) = 0;
    virtual void Write(const std::string& name, const std::string& secret) = 0;
    // Nothing kept under `name` is no failure.
    virtual void Erase(const std::string& name) = 0;
};

}  // namespace kestrova
