#include "net/url.h"

#include <gtest/gtest.h>

namespace quorvel {
namespace {

TEST(Url, SplitsHttpAndHttpsAddresses) {
    struct Case {
        const char* text;
        bool ok;
        const char* scheme;
        const char* host;
        int port;
        const char* path;
        const char* user;
        const char* password;
    };
    const Case cases[] = {
        {"http://example.com", true, "http", "example.com", 80, "/", "", ""},
        {"HTTP://Example.COM/A?b=1#frag", true, "http", "example.com", 80, "/A?b=1", "", ""},
        // TLS and its port go by the scheme.
        {"https://example.com/x", true, "https", "example.com", 443, "/x", "", ""},
        {"https://example.com:8443/x", true, "https", "example.com", 8443, "/x", "", ""},
        {"http://example.com:443/x", true, "http", "example.com", 443, "/x", "", ""},
        {"http://ann:p%40ss@h/", true, "http", "h", 80, "/", "ann", "p@ss"},
        {"http://[::1]:8080/x", true, "http", "::1", 8080, "/x", "", ""},
        {"http://h?q", true, "http", "h", 80, "/?q", "", ""},
        {"ftp://example.com/file", false, "", "", 0, "", "", ""},
        {"http://", false, "", "", 0, "", "", ""},
        {"http://h:0/", false, "", "", 0, "", "", ""},
        {"http://h:65536/", false, "", "", 0, "", "", ""},
        {"http://h:8o/", false, "", "", 0, "", "", ""},
        {"http://[::1/", false, "", "", 0, "", "", ""},
    };
    for (const Case& c : cases) {
        const std::optional<Url> url = splitUrl(c.text);
        ASSERT_EQ(url.has_value(), c.ok) << c.text;
        if (!url) continue;
        EXPECT_EQ(url->scheme, c.scheme) << c.text;
        EXPECT_EQ(url->host, c.host) << c.text;
        EXPECT_EQ(url->port, c.port) << c.text;
        EXPECT_EQ(url->path, c.path) << c.text;
        EXPECT_EQ(url->userName, c.user) << c.text;
        EXPECT_EQ(url->password, c.password) << c.text;
    }
    EXPECT_EQ(splitUrl("http://ann:pw@[::1]:81/a b\xe9")->requestTarget(),
              "http://[::1]:81/a%20b%E9");
}

TEST(Url, DefaultSchemeIsHttpButOtherSchemesStay) {
    const std::pair<const char*, const char*> cases[] = {
        {"www.example.com/a", "http://www.example.com/a"},
        {"HTTPS://example.com", "HTTPS://example.com"},
        {"ftp://example.com", "ftp://example.com"},
        {"localhost:8080/x", "http://localhost:8080/x"},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(withDefaultScheme(text), expected) << text;
}

TEST(Url, LocationsResolveAgainstTheCurrentAddress) {
    const Url base = *splitUrl("https://example.com:8443/dir/sub/page.htm?x=1");
    const std::pair<const char*, const char*> cases[] = {
        {"http://other.com/a", "http://other.com/a"},
        {"//cdn.example.com/a", "https://cdn.example.com/a"},
        {"/top.htm", "https://example.com:8443/top.htm"},
        {"next.htm", "https://example.com:8443/dir/sub/next.htm"},
        {"../up.htm?y=2#f", "https://example.com:8443/dir/up.htm?y=2"},
        {"./", "https://example.com:8443/dir/sub/"},
        {"../../../../a", "https://example.com:8443/a"},
        {"?z=3", "https://example.com:8443/dir/sub/page.htm?z=3"},
        {"  /spaced \r\n", "https://example.com:8443/spaced"},
    };
    for (const auto& [location, expected] : cases) {
        EXPECT_EQ(resolveLocation(base, location), expected) << location;
    }
}

TEST(Url, LoopbackHostsAndOrigins) {
    const std::pair<const char*, bool> hosts[] = {
        {"localhost", true},
        {"LocalHost", true},
        {"a.localhost", true},
        {"127.0.0.1", true},
        {"127.9.8.7", true},
        {"::1", true},
        {"128.0.0.1", false},
        {"127.0.0", false},
        {"127.0.0.1.example.com", false},
        {"localhost.example.com", false},
        {"example.com", false},
        {"127.0.0.256", false},
    };
    for (const auto& [host, loopback] : hosts)
        EXPECT_EQ(isLoopbackHost(host), loopback) << host;

    EXPECT_TRUE(sameOrigin(*splitUrl("http://H/a"), *splitUrl("http://h:80/b")));
    EXPECT_FALSE(sameOrigin(*splitUrl("http://h/a"), *splitUrl("https://h/a")));
    EXPECT_FALSE(sameOrigin(*splitUrl("http://h/a"), *splitUrl("http://h:81/a")));
    EXPECT_EQ(urlWithoutCredentials("https://ann:pw@h/a@b"), "https://h/a@b");
    EXPECT_EQ(urlWithoutCredentials("h/a"), "h/a");
}

}  // namespace
}  // namespace quorvel
