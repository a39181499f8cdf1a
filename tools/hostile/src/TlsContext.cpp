#include "TlsContext.h"

#include <openssl/evp.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

#include <stdexcept>

namespace hostile {
namespace {

struct KeyFree {
    void operator()(EVP_PKEY* key) const { EVP_PKEY_free(key); }
};
struct CertificateFree {
    void operator()(X509* certificate) const { X509_free(certificate); }
};
struct SslFree {
    void operator()(SSL* ssl) const { SSL_free(ssl); }
};

void Check(bool ok, const char* what) {
    if (!ok) throw std::runtime_error(std::string("TLS set-up failed: ") + what);
}

std::unique_ptr<X509, CertificateFree> Certificate(EVP_PKEY& key, std::chrono::seconds from,
                                                   std::chrono::seconds to) {
    std::unique_ptr<X509, CertificateFree> certificate(X509_new());
    X509* c = certificate.get();
    Check(c && X509_set_version(c, 2), "certificate");
    ASN1_INTEGER_set(X509_get_serialNumber(c), 1);
    X509_gmtime_adj(X509_getm_notBefore(c), static_cast<long>(from.count()));
    X509_gmtime_adj(X509_getm_notAfter(c), static_cast<long>(to.count()));
    X509_NAME* name = X509_get_subject_name(c);
    X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC,
                               reinterpret_cast<const unsigned char*>("127.0.0.1"), -1, -1, 0);
    Check(X509_set_issuer_name(c, name) && X509_set_pubkey(c, &key), "names");
    X509V3_CTX v3;
    X509V3_set_ctx(&v3, c, c, nullptr, nullptr, 0);
    X509_EXTENSION* san = X509V3_EXT_conf_nid(nullptr, &v3, NID_subject_alt_name, "IP:127.0.0.1");
    Check(san && X509_add_ext(c, san, -1), "subject alt name");
    X509_EXTENSION_free(san);
    Check(X509_sign(c, &key, EVP_sha256()) > 0, "signature");
    return certificate;
}

}  // namespace

SslContext SelfSignedContext(std::chrono::seconds from, std::chrono::seconds to) {
    std::unique_ptr<EVP_PKEY, KeyFree> key(EVP_EC_gen("P-256"));
    Check(key != nullptr, "key");
    const auto certificate = Certificate(*key, from, to);
    SslContext context(SSL_CTX_new(TLS_server_method()));
    Check(context && SSL_CTX_use_certificate(context.get(), certificate.get()) == 1 &&
              SSL_CTX_use_PrivateKey(context.get(), key.get()) == 1,
          "context");
    return context;
}

void ServeTls(int fd, SSL_CTX& context, const StopSignal& stop) {
    std::unique_ptr<SSL, SslFree> ssl(SSL_new(&context));
    if (!ssl || SSL_set_fd(ssl.get(), fd) != 1) return;
    // A client that checks certificates aborts here; Stop breaks a handshake left open.
    if (stop.Raised() || SSL_accept(ssl.get()) != 1) return;
    char buffer[4096];
    if (SSL_read(ssl.get(), buffer, sizeof buffer) <= 0) return;
    static constexpr char kPage[] =
        "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Length: 26\r\n"
        "Connection: close\r\n\r\n<html>accepted TLS</html>\n";
    SSL_write(ssl.get(), kPage, sizeof kPage - 1);
    SSL_shutdown(ssl.get());
}

}  // namespace hostile
