#pragma once

#include <openssl/ssl.h>

#include <chrono>
#include <memory>

#include "StopSignal.h"

namespace hostile {

struct SslContextFree {
    void operator()(SSL_CTX* context) const { SSL_CTX_free(context); }
};
using SslContext = std::unique_ptr<SSL_CTX, SslContextFree>;

// A server context with a new key and a self-signed certificate for 127.0.0.1, valid from
// now + `from` to now + `to` (both negative gives an expired certificate).
SslContext SelfSignedContext(std::chrono::seconds from, std::chrono::seconds to);

// Runs the server side of a TLS handshake on `fd`; when the client accepts the certificate
// after all, answers its request with a small page.
void ServeTls(int fd, SSL_CTX& context, const StopSignal& stop);

}  // namespace hostile
