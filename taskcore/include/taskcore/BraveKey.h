#pragma once

#include <stdexcept>
#include <string>

namespace kestrova {

// A key for the Brave Search API and where it came from, in words for a message.
struct ApiKey {
    std::string key;
    std::string origin;  // "the environment variable KESTROVA_BRAVE_KEY" or "the file PATH"
};

// No key could be taken; the message names both places a key may come from.
class ApiKeyUnavailable : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

inline constexpr const char* kBraveKeyVariable = "KESTROVA_BRAVE_KEY";

// $XDG_CONFIG_HOME/Kestrova/brave.key, or ~/.config/Kestrova/brave.key without it.
std::string BraveKeyFile();

// The key from KESTROVA_BRAVE_KEY, else from BraveKeyFile(): its first line, blanks around it
// trimmed. As ssh does with a private key, a file whose mode gives its group or others any
// access is refused, and so is a key that a request header cannot carry. Throws
// ApiKeyUnavailable; its message never shows the key.
ApiKey LoadBraveKey();

// The key of BraveKeyFile() alone, refused as LoadBraveKey refuses it. Throws ApiKeyUnavailable.
ApiKey LoadBraveKeyFile();

// Printable ASCII without blanks, as the API's keys are: what a request header can carry.
bool IsSendableKey(const std::string& key);

}  // namespace kestrova
