#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quorvel {

// An http or https address split into its parts.
struct Url {
    std::string scheme;  // "http" or "https", in lower case
    std::string host;    // without the brackets of an IPv6 address
    std::uint16_t port = 0;
    std::string path;      // path and query, always beginning with '/'; no fragment
    std::string userName;  // from "user:password@", percent-decoded
    std::string password;

    bool secure() const { return scheme == "https"; }
    std::uint16_t defaultPort() const { return secure() ? 443 : 80; }
    // "scheme://host[:port]", the port only when it is not the scheme's own.
    std::string origin() const;
    // The origin and the path with bytes that may not travel in a request
    // line (controls, blanks, 8-bit bytes) percent-escaped. Never holds the
    // user name or password.
    std::string requestTarget() const;
};

// The text with "http://" in front when it does not begin with "http://" or
// "https://" (in any letter case) and names no other scheme.
std::string withDefaultScheme(std::string_view text);

// Splits an address that begins with "http://" or "https://" (any letter
// case). Empty when the scheme is another, the host is missing, or the port
// is not a number from 1 to 65535. The port defaults to the scheme's own.
std::optional<Url> splitUrl(std::string_view text);

// The address a Location header sends the client to from `base`: an
// absolute address as it is; "//host/..." with the base's scheme; a path
// beginning with '/' on the base's origin; any other reference resolved
// against the base's folder, with "." and ".." segments removed. Leading and
// trailing blanks of the header are ignored; a fragment is dropped.
std::string resolveLocation(const Url& base, std::string_view location);

// True for names and addresses that never leave the machine: "localhost"
// (and names below it), 127.0.0.0/8 and ::1.
bool isLoopbackHost(std::string_view host);

// True when both name the same scheme, host (letter case ignored) and port.
bool sameOrigin(const Url& a, const Url& b);

// The address with any "user:password@" part removed, for logs and messages.
std::string urlWithoutCredentials(std::string_view text);

}  // namespace quorvel
