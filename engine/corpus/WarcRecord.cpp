#include "corpus/WarcRecord.h"

#include <sys/random.h>

#include <ctime>
#include <random>

#include "tessel/Digest.h"

namespace fetchcore {

void WarcFields::Add(std::string_view name, std::string_view value) {
    text_.append(name).append(": ");
    const std::size_t start = text_.size();
    text_.append(value);
    for (auto at = text_.find_first_of("\r\n", start); at != std::string::npos;
         at = text_.find_first_of("\r\n", at + 1)) {
        text_[at] = ' ';
    }
    text_ += "\r\n";
}

std::string WarcFields::Header(int64_t blockLength) const {
    return "WARC/1.1\r\n" + text_ + "Content-Length: " + std::to_string(blockLength) + "\r\n\r\n";
}

std::string NewRecordId() {
    unsigned char bytes[16];
    if (::getrandom(bytes, sizeof bytes, 0) != static_cast<ssize_t>(sizeof bytes)) {
        // Without the kernel's source (very old kernels): still unique in practice.
        std::random_device device;
        for (auto& byte : bytes) byte = static_cast<unsigned char>(device());
    }
    bytes[6] = static_cast<unsigned char>((bytes[6] & 0x0F) | 0x40);  // version 4
    bytes[8] = static_cast<unsigned char>((bytes[8] & 0x3F) | 0x80);  // RFC 4122 variant
    const std::string hex = tessel::Hex({reinterpret_cast<const char*>(bytes), sizeof bytes});
    return "<urn:uuid:" + hex.substr(0, 8) + "-" + hex.substr(8, 4) + "-" + hex.substr(12, 4) +
           "-" + hex.substr(16, 4) + "-" + hex.substr(20) + ">";
}

std::string UtcTimestamp(std::chrono::system_clock::time_point at) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(at);
    std::tm utc{};
    gmtime_r(&seconds, &utc);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
    return text;
}

std::string Sha1Label(std::string_view digest) {
    return "sha1:" + tessel::Base32(digest);
}

std::string Sha1Of(std::string_view bytes) {
    tessel::Digest digest(tessel::Digest::Algorithm::Sha1);
    digest.Update(bytes);
    return digest.Value();
}

std::string WithoutUserInfo(std::string_view url) {
    const auto scheme = url.find("://");
    if (scheme == std::string_view::npos) return std::string(url);
    const auto authority = scheme + 3;
    const auto at = url.substr(0, url.find_first_of("/?#", authority)).rfind('@');
    if (at == std::string_view::npos || at < authority) return std::string(url);
    return std::string(url.substr(0, authority)).append(url.substr(at + 1));
}

}  // namespace fetchcore
