#pragma once

namespace tessel {

// Base of every object a Variant can refer to.
class Object {
  public:
    virtual ~Object() = default;
};

}  // namespace tessel
