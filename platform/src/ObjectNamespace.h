#pragma once

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "KernelObject.h"

namespace platform {

// The process-wide table of named objects. It holds no reference to them: an object
// leaves the table when its last handle closes.
class ObjectNamespace : public std::enable_shared_from_this<ObjectNamespace> {
  public:
    static std::shared_ptr<ObjectNamespace> Instance();

    using Factory = std::function<std::shared_ptr<KernelObject>(const std::string& name)>;
    // The live object of that name, else a new one from make() entered under the name.
    std::shared_ptr<KernelObject> OpenOrCreate(const std::string& name, const Factory& make);
    void Forget(const std::string& name);

  private:
    std::mutex mutex_;
    std::map<std::string, std::weak_ptr<KernelObject>> objects_;
};

}  // namespace platform
