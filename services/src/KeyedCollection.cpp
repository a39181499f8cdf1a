#include "tessel/KeyedCollection.h"

namespace tessel {
namespace {
[[noreturn]] void MissingKey() {
    throw ComError(err::kInvalidArgument, "Invalid procedure call or argument");
}
[[noreturn]] void BadPosition() {
    throw ComError(err::kSubscriptOutOfRange, "Subscript out of range");
}
}  // namespace

void KeyedCollection::Add(Variant item, const std::string& key) {
    if (!key.empty()) {
        if (index_.contains(key))
            throw ComError(err::kDuplicateKey,
                           "This key is already associated with an element of this collection");
        index_.emplace(key, entries_.size());
    }
    entries_.push_back({key, std::move(item)});
}

const Variant& KeyedCollection::Item(const std::string& key) const {
    const auto found = index_.find(key);
    if (found == index_.end()) MissingKey();
    return entries_[found->second].item;
}

const Variant& KeyedCollection::Item(int position) const {
    if (position < 1 || position > Count()) BadPosition();
    return entries_[static_cast<std::size_t>(position - 1)].item;
}

const Variant& KeyedCollection::Item(const Variant& index) const {
    if (index.IsString()) return Item(index.ToString());
    return Item(index.ToLong());
}

void KeyedCollection::Remove(const std::string& key) {
    const auto found = index_.find(key);
    if (found == index_.end()) MissingKey();
    RemoveAt(found->second);
}

void KeyedCollection::Remove(int position) {
    if (position < 1 || position > Count()) BadPosition();
    RemoveAt(static_cast<std::size_t>(position - 1));
}

void KeyedCollection::Remove(const Variant& index) {
    if (index.IsString()) return Remove(index.ToString());
    Remove(index.ToLong());
}

void KeyedCollection::RemoveAt(std::size_t slot) {
    if (!entries_[slot].key.empty()) index_.erase(entries_[slot].key);
    entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(slot));
    for (auto& [key, where] : index_) {
        if (where > slot) --where;
    }
}

}  // namespace tessel
