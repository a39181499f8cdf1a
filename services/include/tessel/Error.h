#pragma once

#include <cstdint>
#include <exception>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>

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

// The numbered error a failure travels as: a ComError keeps its number and description;
// any other exception gets `number` and its own text.
ComError ToComError(const std::exception& error, int32_t number = err::kInvalidArgument);

// Runs `step`; hands back its failure, if any, as a numbered error, so that the caller
// logs or reports it instead of letting it escape its thread.
template <class Step>
std::optional<ComError> Trap(Step&& step) {
    try {
        std::forward<Step>(step)();
        return std::nullopt;
    } catch (const std::exception& error) {
        return ToComError(error);
    }
}

}  // namespace tessel
