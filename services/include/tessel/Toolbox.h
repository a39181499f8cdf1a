#pragma once

#include <sys/types.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace tessel {

// Small helpers shared by every component.
namespace Toolbox {

// A new unique string on every call (process-wide, also across threads).
std::string NewID();

// Replaces "%1", "%2", ... by the first, second, ... argument. A placeholder without
// an argument is left as it stands.
std::string FormatMessage(const std::string& templ, const std::vector<std::string>& args);

// True when a network interface other than loopback is up.
bool IsOnline();

// Runs the calling thread's pending messages.
void PumpMessages();
// Pumps, waiting up to `timeout` for the first message when none is pending.
void PumpMessagesFor(std::chrono::milliseconds timeout);
// Sleeps until a message is pending, then pumps: the wait of a thread whose every further
// step arrives as a message.
void WaitAndPumpMessages();
// Pumps, sleeping between messages, until done() holds or `timeout` has passed; done()
// is asked after each turn. Returns done().
bool PumpMessagesUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout);

// Replaces every %NAME% by the environment variable NAME (empty when unset).
// %APPDATA% falls back to $XDG_DATA_HOME, then to ~/.local/share.
std::string ExpandEnvironment(const std::string& text);

// Percent-encodes every byte but A-Z a-z 0-9 - _ . ~ ; a blank gives "%20".
std::string URLEncode(const std::string& text);

// One line describing the running operating system.
std::string WindowsVersion();

}  // namespace Toolbox

namespace FileTools {

// Leaves the folder and its missing parents existing; throws ComError on failure.
void CreateFolder(const std::string& path);
bool FileExists(const std::string& path);
// Replaces the file's content with `text` (bytes unchanged); throws ComError on failure. The
// new file is made with `mode` less the umask: 0600 keeps it the owner's from the start.
void WriteTextFile(const std::string& path, const std::string& text, mode_t mode = 0666);
// Removes the hidden temporary files that a process no longer running (one killed while it
// wrote) left in `folder`; returns how many went.
int RemoveLeftoverTempFiles(const std::string& folder);

}  // namespace FileTools

}  // namespace tessel
