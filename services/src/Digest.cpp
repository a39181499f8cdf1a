#include "tessel/Digest.h"

#include <openssl/evp.h>

#include "tessel/Error.h"

namespace tessel {

struct Digest::Context {
    struct Free {
        void operator()(EVP_MD_CTX* context) const { EVP_MD_CTX_free(context); }
    };
    std::unique_ptr<EVP_MD_CTX, Free> handle;
};

namespace {

[[noreturn]] void Unavailable() {
    throw ComError(err::kCannotCreateObject, "The digest could not be computed. ");
}

}  // namespace

Digest::Digest(Algorithm algorithm) : context_(std::make_unique<Context>()) {
    context_->handle.reset(EVP_MD_CTX_new());
    const EVP_MD* md = algorithm == Algorithm::Sha1 ? EVP_sha1() : EVP_sha256();
    if (!context_->handle || EVP_DigestInit_ex(context_->handle.get(), md, nullptr) != 1) {
        Unavailable();
    }
}

Digest::~Digest() = default;
Digest::Digest(Digest&&) noexcept = default;
Digest& Digest::operator=(Digest&&) noexcept = default;

void Digest::Update(std::string_view data) {
    if (EVP_DigestUpdate(context_->handle.get(), data.data(), data.size()) != 1) Unavailable();
}

std::string Digest::Value() const {
    // Finished on a copy, so the running digest can take more.
    Context copy{std::unique_ptr<EVP_MD_CTX, Context::Free>(EVP_MD_CTX_new())};
    unsigned char value[EVP_MAX_MD_SIZE];
    unsigned int size = 0;
    if (!copy.handle || EVP_MD_CTX_copy_ex(copy.handle.get(), context_->handle.get()) != 1 ||
        EVP_DigestFinal_ex(copy.handle.get(), value, &size) != 1) {
        Unavailable();
    }
    return {reinterpret_cast<const char*>(value), size};
}

std::string Hex(std::string_view bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    text.reserve(bytes.size() * 2);
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        text += kDigits[byte >> 4];
        text += kDigits[byte & 0x0F];
    }
    return text;
}

std::string Base32(std::string_view bytes) {
    static constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ234567";
    std::string text;
    unsigned buffer = 0;
    int bits = 0;
    for (const char c : bytes) {
        buffer = (buffer << 8) | static_cast<unsigned char>(c);
        bits += 8;
        while (bits >= 5) {
            bits -= 5;
            text += kAlphabet[(buffer >> bits) & 0x1F];
        }
    }
    if (bits > 0) text += kAlphabet[(buffer << (5 - bits)) & 0x1F];
    return text;
}

}  // namespace tessel
