#include "KernelObject.h"

#include "ObjectNamespace.h"

namespace platform {

KernelObject::~KernelObject() {
    if (table_) {
        table_->Forget(name_);
    }
}

}  // namespace platform
