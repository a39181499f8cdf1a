#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace tessel {

// A numbered error with a description, as failures travel through the whole system.
class ComError : public std::runtime_error {
  public:
    ComError(int32_t number, std::string description, std::string source = {})
        : std::runtime_error(description),
          number_(number),
          description_(std::move(description)),
          source_(std::move(source)) {}

    int32_t Number() const noexcept { return number_; }
    const std::string& Description() const noexcept { return description_; }
    const std::string& Source() const noexcept { return source_; }

  private:
    int32_t number_;
    std::string description_;
    std::string source_;
};

// User-defined error numbers start at this base.
inline constexpr int32_t kErrBase = static_cast<int32_t>(0x80040000u);
constexpr int32_t UserError(int32_t offset) {
    return kErrBase + offset;
}

// Numbers raised by the runtime services themselves.
namespace err {
inline constexpr int32_t kTypeMismatch = static_cast<int32_t>(0x800A000Du);
inline constexpr int32_t kOverflow = static_cast<int32_t>(0x800A0006u);
inline constexpr int32_t kInvalidArgument = static_cast<int32_t>(0x800A0005u);
inline constexpr int32_t kSubscriptOutOfRange = static_cast<int32_t>(0x800A0009u);
inline constexpr int32_t kDuplicateKey = static_cast<int32_t>(0x800A01C9u);
inline constexpr int32_t kObjectRequired = static_cast<int32_t>(0x800A01A8u);
inline constexpr int32_t kCannotCreateObject = static_cast<int32_t>(0x800A01ADu);
inline constexpr int32_t kMethodNotSupported = static_cast<int32_t>(0x800A01B6u);
inline constexpr int32_t kFileError = static_cast<int32_t>(0x800A004Bu);
}  // namespace err

}  // namespace tessel
