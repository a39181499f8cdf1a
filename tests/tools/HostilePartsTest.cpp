// The hostile server's own tricky parts: a gzip bomb that is valid gzip of exactly its
// size, and certificates whose validity is what their answer claims.
#include <gtest/gtest.h>
#include <openssl/x509.h>
#include <zlib.h>

#include <chrono>
#include <string>

#include "GzipBomb.h"
#include "TlsContext.h"

namespace {

// Inflates a whole gzip stream, checking its CRC and length; the number of bytes and
// whether every one was zero.
std::pair<std::size_t, bool> Inflate(const std::string& gzip) {
    z_stream stream{};
    EXPECT_EQ(inflateInit2(&stream, 16 + MAX_WBITS), Z_OK);
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(gzip.data()));
    stream.avail_in = static_cast<uInt>(gzip.size());
    std::size_t total = 0;
    bool zeros = true;
    int result = Z_OK;
    while (result == Z_OK) {
        unsigned char buffer[1 << 16];
        stream.next_out = buffer;
        stream.avail_out = sizeof buffer;
        result = inflate(&stream, Z_NO_FLUSH);
        const std::size_t got = sizeof buffer - stream.avail_out;
        for (std::size_t i = 0; i < got; ++i) zeros &= buffer[i] == 0;
        total += got;
    }
    EXPECT_EQ(result, Z_STREAM_END) << "not a whole gzip stream";
    EXPECT_EQ(stream.avail_in, 0u) << "bytes after its end";
    inflateEnd(&stream);
    return {total, zeros};
}

TEST(GzipBomb, IsOneValidStreamOfExactlyItsSizeInZeros) {
    for (std::size_t mebibytes : {1u, 5u}) {
        const auto bomb = hostile::GzipBomb(mebibytes);
        EXPECT_LT(bomb.size(), mebibytes * 2048) << "hardly compressed";
        const auto [size, zeros] = Inflate(bomb);
        EXPECT_EQ(size, mebibytes << 20);
        EXPECT_TRUE(zeros);
    }
}

TEST(TlsContext, CertificatesAreValidOrExpiredAsAsked) {
    using std::chrono::hours;
    const auto valid = hostile::SelfSignedContext(-hours(1), hours(24));
    const auto expired = hostile::SelfSignedContext(-hours(48), -hours(24));
    X509* current = SSL_CTX_get0_certificate(valid.get());
    X509* old = SSL_CTX_get0_certificate(expired.get());
    ASSERT_TRUE(current && old);
    EXPECT_LT(X509_cmp_current_time(X509_get0_notBefore(current)), 0);
    EXPECT_GT(X509_cmp_current_time(X509_get0_notAfter(current)), 0);
    EXPECT_LT(X509_cmp_current_time(X509_get0_notAfter(old)), 0);
    // Self-signed: its own issuer.
    EXPECT_EQ(X509_NAME_cmp(X509_get_subject_name(old), X509_get_issuer_name(old)), 0);
}

}  // namespace
