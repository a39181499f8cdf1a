#include "taskcore/BraveKeyStore.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <optional>
#include <stdexcept>

#include "taskcore/SecretStore.h"
#include "tessel/Error.h"
#include "tessel/Text.h"
#include "tessel/Toolbox.h"

namespace kestrova {
namespace {

// The secret store's key, or none when it holds none or does not answer.
std::optional<std::string> FromSecretStore(SecretStore& secrets) {
    try {
        if (auto key = secrets.Read(BraveKeyStore::kSecretName); key && !key->empty()) return key;
    } catch (const SecretStoreUnavailable&) {
        // Without a secret service the key lives in the file, which the caller reads next.
    }
    return std::nullopt;
}

}  // namespace

BraveKeyStore::Place BraveKeyStore::Save(const std::string& key) {
    const std::string trimmed(tessel::TrimBlanks(key, " \t\r\n"));
    if (!IsSendableKey(trimmed))
        throw std::invalid_argument("The key holds blanks or control characters no key has.");
    try {
        if (trimmed.empty())
            secrets_.Erase(kSecretName);
        else
            secrets_.Write(kSecretName, trimmed);
        return Place::SecretStore;
    } catch (const SecretStoreUnavailable&) {
        // No secret service runs (a bare session, a server): the file is the fallback.
    }
    if (trimmed.empty())
        RemoveBraveKeyFile();
    else
        WriteBraveKeyFile(trimmed);
    return Place::File;
}

std::string BraveKeyStore::Stored() {
    if (auto key = FromSecretStore(secrets_)) return *key;
    try {
        return LoadBraveKeyFile().key;
    } catch (const ApiKeyUnavailable&) {
        return {};  // no usable file: nothing to show; a job says why when it needs the key
    }
}

ApiKey BraveKeyStore::ForJob() {
    if (auto key = FromSecretStore(secrets_)) return {*key, "the desktop's secret store"};
    try {
        return LoadBraveKey();
    } catch (const ApiKeyUnavailable& e) {
        throw ApiKeyUnavailable(std::string(e.what()) +
                                " In the window, set it in Edit > Preferences.");
    }
}

void WriteBraveKeyFile(const std::string& key) {
    const std::string path = BraveKeyFile();
    tessel::FileTools::CreateFolder(std::filesystem::path(path).parent_path().string());
    // Written beside and renamed into place, 0600 from its creation: never readable by
    // others nor half written.
    tessel::FileTools::WriteTextFile(path, key + "\n", 0600);
}

void RemoveBraveKeyFile() {
    const std::string path = BraveKeyFile();
    if (::unlink(path.c_str()) != 0 && errno != ENOENT)
        throw tessel::ComError(tessel::err::kFileError, std::strerror(errno));
}

}  // namespace kestrova
