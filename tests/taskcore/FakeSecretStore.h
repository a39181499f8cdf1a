#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>

#include "taskcore/SecretStore.h"

namespace kestrova::test {

// A secret store in memory; with `answers` false it behaves as a session without a secret
// service.
class FakeSecretStore : public SecretStore {
  public:
    bool answers = true;
    std::map<std::string, std::string> kept;
    std::function<void()> whileReading;  // what happens while a real store would be asked

    std::optional<std::string> Read(const std::string& name) override {
        if (whileReading) whileReading();
        Answer();
        const auto found = kept.find(name);
        return found == kept.end() ? std::nullopt : std::optional<std::string>(found->second);
    }
    void Write(const std::string& name, const std::string& secret) override {
        Answer();
        kept[name] = secret;
    }
    void Erase(const std::string& name) override {
        Answer();
        kept.erase(name);
    }

  private:
    void Answer() const {
        if (!answers) throw SecretStoreUnavailable("No secret service runs.");
    }
};

}  // namespace kestrova::test
