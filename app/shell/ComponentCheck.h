#pragma once

#include <functional>
#include <string>
#include <vector>

namespace kestrova {

// One piece the program cannot run without, proved by creating one object of it.
struct Component {
    std::string name;  // as the message names it, e.g. "Fetchcore.dll"
    bool adviseReinstall = true;
    std::function<bool()> create;  // true when the object could be made (and released)
};

// The pieces start-up checks, in order: the runtime services, the worker threads, HTTP,
// the engine, the program's own pictures.
std::vector<Component>& StartupComponents();

// Creates one object of each component in turn. On the first failure stops, sets `message`
// (see ComponentMessage) and returns false.
bool CheckComponents(std::string& message);
bool CheckComponents(const std::vector<Component>& components, std::string& message);

// "Component 'NAME' or one of its dependencies not correctly registered: ..."
std::string ComponentMessage(const Component& component);

// Makes the start-up check of one component fail while it lives (tests).
class ScopedComponentFailure {
  public:
    explicit ScopedComponentFailure(const std::string& name);
    ~ScopedComponentFailure();
    ScopedComponentFailure(const ScopedComponentFailure&) = delete;
    ScopedComponentFailure& operator=(const ScopedComponentFailure&) = delete;

  private:
    Component* component_ = nullptr;
    std::function<bool()> original_;
};

}  // namespace kestrova
