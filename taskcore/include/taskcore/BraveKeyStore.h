#pragma once

#include <string>

#include "taskcore/BraveKey.h"

namespace kestrova {

class SecretStore;

// Where the window keeps the Brave Search API's key: the secret store when one answers, else
// BraveKeyFile(), the file the command line reads, made with mode 0600.
class BraveKeyStore {
  public:
    enum class Place { SecretStore, File };

    // The name the key goes by in the secret store.
    static constexpr const char* kSecretName = "brave-search-api-key";

    explicit BraveKeyStore(SecretStore& secrets) : secrets_(secrets) {}

    // Keeps `key` (blanks around it trimmed) and says where; an empty key forgets the one
    // kept. Throws std::invalid_argument for a key no request header can carry, and
    // tessel::ComError when the file cannot be written.
    Place Save(const std::string& key);

    // The key kept by Save, for showing (masked) in the preferences: "" when none is.
    std::string Stored();

    // The key a job sends: the secret store's, else LoadBraveKey's (environment, file).
    // Throws ApiKeyUnavailable naming every place a key may be set.
    ApiKey ForJob();

  private:
    SecretStore& secrets_;
};

// Writes `key` as the whole of BraveKeyFile(), making its folder when missing: created with
// mode 0600 under a temporary name beside it and renamed into place, so it is never readable
// by others nor half written. Throws tessel::ComError.
void WriteBraveKeyFile(const std::string& key);

// Removes BraveKeyFile(); a missing file is no failure. Throws tessel::ComError.
void RemoveBraveKeyFile();

}  // namespace kestrova
