#pragma once

#include <cstddef>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "tessel/Object.h"
#include "tessel/Variant.h"

namespace tessel {

// An ordered collection whose items may carry a unique key. Keys compare exactly
// (case matters). Positions count from 1. Not synchronised: one owner thread at a time.
class KeyedCollection : public Object {
  public:
    struct Entry {
        std::string key;  // empty when added without a key
        Variant item;
    };

    int Count() const { return static_cast<int>(entries_.size()); }

    // Appends; throws err::kDuplicateKey when the key is already present.
    void Add(Variant item, const std::string& key = {});

    // By key: throws err::kInvalidArgument for a missing key.
    const Variant& Item(const std::string& key) const;
    // By position 1..Count: throws err::kSubscriptOutOfRange outside it.
    const Variant& Item(int position) const;
    // By a Variant index: a string is a key, a number a position.
    const Variant& Item(const Variant& index) const;
    const Variant& Item(const char* key) const { return Item(std::string(key)); }

    void Remove(const std::string& key);
    void Remove(int position);
    void Remove(const Variant& index);
    void Remove(const char* key) { Remove(std::string(key)); }

    bool Exists(const std::string& key) const { return index_.contains(key); }

    auto begin() const { return entries_.begin(); }
    auto end() const { return entries_.end(); }

  private:
    void RemoveAt(std::size_t slot);

    std::vector<Entry> entries_;
    std::unordered_map<std::string, std::size_t> index_;  // key -> slot in entries_
};

}  // namespace tessel
