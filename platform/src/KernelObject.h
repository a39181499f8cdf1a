#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/KernelObjects.h"

namespace platform {

class ObjectNamespace;

// What every object behind a Handle can do. Each object guards its own state, so
// waits on different objects never contend.
class KernelObject {
  public:
    explicit KernelObject(std::string name) : name_(std::move(name)) {}
    virtual ~KernelObject();
    KernelObject(const KernelObject&) = delete;
    KernelObject& operator=(const KernelObject&) = delete;

    const std::string& Name() const { return name_; }
    virtual WaitResult Wait(uint32_t timeoutMs) = 0;

  private:
    friend class ObjectNamespace;
    std::string name_;
    // Keeps the table alive for as long as a named object may still have to leave it,
    // even when the last handle closes during static destruction.
    std::shared_ptr<ObjectNamespace> table_;
};

}  // namespace platform
