#pragma once

#include <memory>

#include "net/http_transport.h"

namespace quorvel {

// The transport of the running program, over libcurl. Redirects are never
// followed by it (the engine decides), TLS is used for https whatever the
// port, peers and host names are verified against the system's certificates
// or the bundle named by SSL_CERT_FILE (else CURL_CA_BUNDLE), and proxies
// come from the usual environment variables.
std::unique_ptr<HttpTransport> makeCurlTransport();

}  // namespace quorvel
