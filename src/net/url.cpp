#include "net/url.h"

#include <charconv>
#include <vector>

#include "platform/ascii_text.h"

namespace quorvel {

namespace {

// The length of a leading "scheme:" (without the colon), 0 when there is none.
std::size_t schemeLength(std::string_view text) {
    if (text.empty() || !isAsciiLetter(text[0])) return 0;
    for (std::size_t i = 1; i < text.size(); ++i) {
        const char c = text[i];
        if (c == ':') return i;
        if (!isAsciiLetter(c) && !isAsciiDigit(c) && c != '+' && c != '-' && c != '.') return 0;
    }
    return 0;
}

std::string percentDecode(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size()) {
            const int high = asciiHexDigitValue(text[i + 1]);
            const int low = asciiHexDigitValue(text[i + 2]);
            if (high >= 0 && low >= 0) {
                out += static_cast<char>(high * 16 + low);
                i += 2;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

std::string_view withoutFragment(std::string_view text) {
    return text.substr(0, text.find('#'));
}

// Removes "." and ".." segments from a path that begins with '/'.
std::string removeDotSegments(std::string_view path) {
    std::vector<std::string_view> segments;
    std::size_t start = 1;
    bool endsInFolder = false;
    while (start <= path.size()) {
        std::size_t slash = path.find('/', start);
        if (slash == std::string_view::npos) slash = path.size();
        const std::string_view segment = path.substr(start, slash - start);
        endsInFolder = slash == path.size() && (segment == "." || segment == "..");
        if (segment == "..") {
            if (!segments.empty()) segments.pop_back();
        } else if (segment != ".") {
            segments.push_back(segment);
        }
        start = slash + 1;
    }
    std::string out;
    for (std::string_view segment : segments) {
        out += '/';
        out += segment;
    }
    if (endsInFolder || out.empty()) out += '/';
    return out;
}

}  // namespace

std::string Url::origin() const {
    std::string out = scheme + "://";
    if (host.find(':') != std::string::npos) {
        out += '[' + host + ']';
    } else {
        out += host;
    }
    if (port != defaultPort()) out += ':' + std::to_string(port);
    return out;
}

std::string Url::requestTarget() const {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out = origin();
    for (const char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= 0x20 || byte >= 0x7f || c == '"' || c == '<' || c == '>' || c == '\\' ||
            c == '^' || c == '`' || c == '{' || c == '|' || c == '}') {
            out += '%';
            out += kHex[byte >> 4];
            out += kHex[byte & 0x0f];
        } else {
            out += c;
        }
    }
    return out;
}

std::string withDefaultScheme(std::string_view text) {
    if (startsWithIgnoringAsciiCase(text, "http://") ||
        startsWithIgnoringAsciiCase(text, "https://")) {
        return std::string(text);
    }
    // "ftp://host/file" keeps its scheme, so that it is refused as such.
    const std::size_t scheme = schemeLength(text);
    if (scheme > 0 && text.substr(scheme, 3) == "://") return std::string(text);
    return "http://" + std::string(text);
}

std::optional<Url> splitUrl(std::string_view text) {
    Url url;
    std::string_view rest;
    if (startsWithIgnoringAsciiCase(text, "http://")) {
        url.scheme = "http";
        rest = text.substr(7);
    } else if (startsWithIgnoringAsciiCase(text, "https://")) {
        url.scheme = "https";
        rest = text.substr(8);
    } else {
        return std::nullopt;
    }
    rest = withoutFragment(rest);
    const std::size_t authorityEnd = rest.find_first_of("/?");
    std::string_view authority = rest.substr(0, authorityEnd);
    const std::string_view path =
        authorityEnd == std::string_view::npos ? std::string_view{} : rest.substr(authorityEnd);

    const std::size_t at = authority.rfind('@');
    if (at != std::string_view::npos) {
        const std::string_view userInfo = authority.substr(0, at);
        const std::size_t colon = userInfo.find(':');
        url.userName = percentDecode(userInfo.substr(0, colon));
        if (colon != std::string_view::npos)
            url.password = percentDecode(userInfo.substr(colon + 1));
        authority.remove_prefix(at + 1);
    }

    std::string_view portText;
    if (!authority.empty() && authority.front() == '[') {
        const std::size_t close = authority.find(']');
        if (close == std::string_view::npos) return std::nullopt;
        url.host = std::string(authority.substr(1, close - 1));
        const std::string_view after = authority.substr(close + 1);
        if (!after.empty()) {
            if (after.front() != ':') return std::nullopt;
            portText = after.substr(1);
        }
    } else {
        const std::size_t colon = authority.find(':');
        url.host = std::string(authority.substr(0, colon));
        if (colon != std::string_view::npos) portText = authority.substr(colon + 1);
    }
    if (url.host.empty()) return std::nullopt;
    for (char& c : url.host) {
        c = toAsciiLower(c);
    }

    url.port = url.defaultPort();
    if (!portText.empty()) {
        unsigned value = 0;
        const auto [end, error] =
            std::from_chars(portText.data(), portText.data() + portText.size(), value);
        if (error != std::errc{} || end != portText.data() + portText.size() || value == 0 ||
            value > 65535) {
            return std::nullopt;
        }
        url.port = static_cast<std::uint16_t>(value);
    }

    if (path.empty()) {
        url.path.assign(1, '/');
    } else if (path.front() == '?') {
        url.path = std::string("/").append(path);
    } else {
        url.path = std::string(path);
    }
    return url;
}

std::string resolveLocation(const Url& base, std::string_view location) {
    while (!location.empty() && (location.front() == ' ' || location.front() == '\t')) {
        location.remove_prefix(1);
    }
    while (!location.empty() && (location.back() == ' ' || location.back() == '\t' ||
                                 location.back() == '\r' || location.back() == '\n')) {
        location.remove_suffix(1);
    }
    location = withoutFragment(location);
    if (schemeLength(location) > 0) return std::string(location);
    if (location.substr(0, 2) == "//") return base.scheme + ":" + std::string(location);

    const std::string_view basePath = std::string_view(base.path).substr(0, base.path.find('?'));
    if (location.empty()) return base.origin() + base.path;
    if (location.front() == '?')
        return base.origin() + std::string(basePath) + std::string(location);

    const std::size_t queryStart = location.find('?');
    const std::string_view locationPath = location.substr(0, queryStart);
    const std::string_view query =
        queryStart == std::string_view::npos ? std::string_view{} : location.substr(queryStart);
    std::string merged;
    if (locationPath.front() == '/') {
        merged = std::string(locationPath);
    } else {
        merged =
            std::string(basePath.substr(0, basePath.rfind('/') + 1)) + std::string(locationPath);
    }
    return base.origin() + removeDotSegments(merged) + std::string(query);
}

bool isLoopbackHost(std::string_view host) {
    if (equalsIgnoringAsciiCase(host, "localhost")) return true;
    if (host.size() > 10 && equalsIgnoringAsciiCase(host.substr(host.size() - 10), ".localhost")) {
        return true;
    }
    if (host == "::1" || host == "0:0:0:0:0:0:0:1") return true;
    // A dotted IPv4 address in 127.0.0.0/8: four numbers 0..255, the first 127.
    int parts = 0;
    std::size_t start = 0;
    while (start <= host.size()) {
        std::size_t dot = host.find('.', start);
        if (dot == std::string_view::npos) dot = host.size();
        const std::string_view part = host.substr(start, dot - start);
        unsigned value = 0;
        const auto [end, error] = std::from_chars(part.data(), part.data() + part.size(), value);
        if (part.empty() || error != std::errc{} || end != part.data() + part.size() ||
            value > 255) {
            return false;
        }
        if (parts == 0 && value != 127) return false;
        ++parts;
        start = dot + 1;
    }
    return parts == 4;
}

bool sameOrigin(const Url& a, const Url& b) {
    return a.scheme == b.scheme && equalsIgnoringAsciiCase(a.host, b.host) && a.port == b.port;
}

std::string urlWithoutCredentials(std::string_view text) {
    const std::size_t schemeEnd = text.find("://");
    if (schemeEnd == std::string_view::npos) return std::string(text);
    const std::size_t authorityStart = schemeEnd + 3;
    const std::size_t authorityEnd = text.find_first_of("/?#", authorityStart);
    const std::string_view authority = text.substr(authorityStart, authorityEnd - authorityStart);
    const std::size_t at = authority.rfind('@');
    if (at == std::string_view::npos) return std::string(text);
    return std::string(text.substr(0, authorityStart)) +
           std::string(text.substr(authorityStart + at + 1));
}

}  // namespace quorvel
