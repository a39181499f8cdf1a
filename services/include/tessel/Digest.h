#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace tessel {

// A message digest fed piece by piece, as bytes arrive. Move-only.
class Digest {
  public:
    enum class Algorithm { Sha1, Sha256 };

    // Throws ComError when the crypto library cannot make one.
    explicit Digest(Algorithm algorithm);
    ~Digest();
    Digest(Digest&&) noexcept;
    Digest& operator=(Digest&&) noexcept;
    Digest(const Digest&) = delete;
    Digest& operator=(const Digest&) = delete;

    void Update(std::string_view data);
    // The digest of everything fed so far, as raw bytes; feeding may go on afterwards.
    std::string Value() const;

  private:
    struct Context;
    std::unique_ptr<Context> context_;
};

// Lower-case hexadecimal, two digits a byte.
std::string Hex(std::string_view bytes);
// RFC 4648 base 32, upper case, without padding (a SHA-1 digest fills it exactly).
std::string Base32(std::string_view bytes);

}  // namespace tessel
