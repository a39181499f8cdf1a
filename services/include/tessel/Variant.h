#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "tessel/Error.h"
#include "tessel/Object.h"

namespace tessel {

struct Empty {
    bool operator==(const Empty&) const = default;
};

// A value of one of the kinds the components exchange. Conversions follow the
// component runtime: numbers parse from strings, Booleans are -1/0 as numbers,
// Empty gives 0, "" or False. A conversion that cannot be made throws ComError.
class Variant {
  public:
    using ObjectRef = std::shared_ptr<Object>;
    using Storage = std::variant<Empty, bool, int32_t, double, std::string, ObjectRef>;

    Variant() = default;
    Variant(Empty) {}
    Variant(bool v) : value_(v) {}
    Variant(int32_t v) : value_(v) {}
    Variant(double v) : value_(v) {}
    Variant(std::string v) : value_(std::move(v)) {}
    Variant(const char* v) : value_(std::string(v)) {}
    template <class T>
    requires std::is_base_of_v<Object, T> Variant(std::shared_ptr<T> v)
        : value_(ObjectRef(std::move(v))) {}

    bool IsEmpty() const { return std::holds_alternative<Empty>(value_); }
    bool IsBool() const { return std::holds_alternative<bool>(value_); }
    bool IsLong() const { return std::holds_alternative<int32_t>(value_); }
    bool IsDouble() const { return std::holds_alternative<double>(value_); }
    bool IsString() const { return std::holds_alternative<std::string>(value_); }
    bool IsObject() const { return std::holds_alternative<ObjectRef>(value_); }

    // Conversions; each throws ComError(err::kTypeMismatch or err::kOverflow).
    bool ToBool() const;
    int32_t ToLong() const;
    double ToDouble() const;
    std::string ToString() const;
    ObjectRef ToObject() const;

    // The referenced object as T; throws kTypeMismatch when it is none or another type.
    template <class T>
    std::shared_ptr<T> As() const {
        auto typed = std::dynamic_pointer_cast<T>(ToObject());
        if (!typed) throw ComError(err::kTypeMismatch, "Type mismatch");
        return typed;
    }

    const Storage& Raw() const { return value_; }
    bool operator==(const Variant& other) const = default;

  private:
    Storage value_;
};

// An array of Variants indexed from 1, as message data travels.
class VariantArray {
  public:
    VariantArray() = default;
    VariantArray(std::initializer_list<Variant> items) : items_(items) {}
    explicit VariantArray(std::vector<Variant> items) : items_(std::move(items)) {}

    // Element `index`, counted from 1; throws kSubscriptOutOfRange outside 1..Count.
    const Variant& operator()(int index) const;
    Variant& operator()(int index);
    int Count() const { return static_cast<int>(items_.size()); }
    void Append(Variant v) { items_.push_back(std::move(v)); }
    const std::vector<Variant>& Items() const { return items_; }

  private:
    std::vector<Variant> items_;
};

}  // namespace tessel
