#include "ObjectNamespace.h"

namespace platform {

std::shared_ptr<ObjectNamespace> ObjectNamespace::Instance() {
    static const auto table = std::make_shared<ObjectNamespace>();
    return table;
}

std::shared_ptr<KernelObject> ObjectNamespace::OpenOrCreate(const std::string& name,
                                                            const Factory& make) {
    std::lock_guard lock(mutex_);
    auto& slot = objects_[name];
    if (auto existing = slot.lock()) {
        return existing;
    }
    auto created = make(name);
    created->table_ = shared_from_this();
    slot = created;
    return created;
}

void ObjectNamespace::Forget(const std::string& name) {
    std::lock_guard lock(mutex_);
    auto it = objects_.find(name);
    // A new object may already have taken the name while the old one was dying.
    if (it != objects_.end() && it->second.expired()) {
        objects_.erase(it);
    }
}

}  // namespace platform
