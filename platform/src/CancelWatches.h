#pragma once

#include <curl/curl.h>

#include <map>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "platform/KernelObjects.h"

namespace platform {

// The cancel events that a transfer loop's queued and running transfers wait on, by name.
// An event is watched only while transfers use it: once it fires they all end, so a set
// event never stays in the poll set (it would keep the loop from sleeping). Used on the
// loop's thread, but for Watches.
class CancelWatches {
  public:
    // Counts one more transfer on the event; false, counting nothing, when it is set already.
    bool Add(const std::string& name);
    void Release(const std::string& name);
    // Whether the watched event is set now.
    bool IsSet(const std::string& name) const;
    // Whether the event is watched; from any thread.
    bool Watches(const std::string& name) const;
    // What to poll beside the transfers' sockets.
    std::vector<curl_waitfd> Descriptors() const;
    // The names whose descriptors polled readable and whose events are still set.
    std::vector<std::string> Fired(const std::vector<curl_waitfd>& polled) const;

  private:
    struct Watch {
        Handle event;
        int descriptor = -1;
        int users = 0;
    };
    std::map<std::string, Watch> watches_;
    mutable std::mutex namesLock_;
    std::set<std::string> names_;  // the keys of watches_, for other threads
};

}  // namespace platform
