#pragma once

#include <deque>
#include <list>
#include <memory>
#include <string>

#include "tessel/KeyedCollection.h"
#include "tessel/Object.h"

namespace tessel {

class RecordNode;

// One named entry of a FieldSet; its value stands at position 1 of Values().
class Field {
  public:
    Field(std::string name, Variant value) : name_(std::move(name)) {
        values_.Add(std::move(value));
    }
    const std::string& Name() const { return name_; }
    const KeyedCollection& Values() const { return values_; }

  private:
    std::string name_;
    KeyedCollection values_;
};

// Named values of a record, in insertion order. A repeated name adds another entry;
// Item finds the first.
class FieldSet {
  public:
    void Add(const std::string& name, Variant value);
    // Throws err::kInvalidArgument when no field has that name.
    const Field& Item(const std::string& name) const;
    bool Exists(const std::string& name) const;
    int Count() const { return static_cast<int>(fields_.size()); }
    auto begin() const { return fields_.begin(); }
    auto end() const { return fields_.end(); }

  private:
    std::deque<Field> fields_;
};

// Ordered child records. Add returns a reference that stays valid while the list lives.
class RecordNodeList {
  public:
    int Count() const { return static_cast<int>(children_.size()); }
    RecordNode& Add();
    auto begin() const { return children_.begin(); }
    auto end() const { return children_.end(); }

  private:
    std::list<RecordNode> children_;  // list: stable references, incomplete type allowed
};

class RecordNode : public Object {
  public:
    RecordNodeList& Children() { return children_; }
    const RecordNodeList& Children() const { return children_; }
    FieldSet& Fields() { return fields_; }
    const FieldSet& Fields() const { return fields_; }

  private:
    FieldSet fields_;
    RecordNodeList children_;
};

}  // namespace tessel
