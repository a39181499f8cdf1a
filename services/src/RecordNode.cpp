#include "tessel/RecordNode.h"

#include <algorithm>

namespace tessel {

void FieldSet::Add(const std::string& name, Variant value) {
    fields_.emplace_back(name, std::move(value));
}

const Field& FieldSet::Item(const std::string& name) const {
    const auto found = std::find_if(fields_.begin(), fields_.end(),
                                    [&](const Field& f) { return f.Name() == name; });
    if (found == fields_.end())
        throw ComError(err::kInvalidArgument, "Invalid procedure call or argument");
    return *found;
}

bool FieldSet::Exists(const std::string& name) const {
    return std::any_of(fields_.begin(), fields_.end(),
                       [&](const Field& f) { return f.Name() == name; });
}

RecordNode& RecordNodeList::Add() {
    return children_.emplace_back();
}

}  // namespace tessel
