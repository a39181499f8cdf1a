#pragma once

#include <memory>
#include <string>

namespace platform {

// What the requests opened on one session share: the connections they leave open (kept
// per origin and taken up by the next request to it), DNS answers and TLS sessions.
// Thread-safe; lives while a request or another holder keeps it.
class HttpSession;

// The live session of that name, else a new one under it; an empty name gives a session of
// its own. Throws tessel::ComError (httperr::kUnavailable) when libcurl is unusable.
std::shared_ptr<HttpSession> OpenHttpSession(const std::string& name);

}  // namespace platform
