#pragma once

#include <optional>

#include "tessel/Error.h"
#include "tessel/KeyedCollection.h"

namespace fetchcore {

// Reads a bag entry by entry. An entry that cannot be read leaves its field as it was and
// the others are still read; the first failure is thrown at the end, so whoever reports
// it has everything that could be read (above all, where to send the report).
class BagReader {
  public:
    explicit BagReader(const tessel::KeyedCollection& bag) : bag_(bag) {}

    template <class Assign>
    void Read(const char* key, Assign&& assign) {
        auto failure = tessel::Trap([&] { assign(bag_.Item(key)); });
        if (failure && !first_) first_ = std::move(failure);
    }

    void ThrowFirstFailure() const {
        if (first_) throw *first_;
    }

  private:
    const tessel::KeyedCollection& bag_;
    std::optional<tessel::ComError> first_;
};

}  // namespace fetchcore
