// The engine over libcurl against servers on 127.0.0.1.

#include <gtest/gtest.h>

#include <cstdlib>
#include <thread>

#include "net/download_test_support.h"
#include "net/http_download.h"
#include "net/loopback_server.h"
#include "platform/ascii_text.h"
#include "platform/scratch_folder.h"

namespace quorvel {
namespace {

using testing::LoopbackServer;
using testing::MemoryFile;
using testing::RecordingHooks;
using testing::requestPath;
using namespace std::chrono_literals;

// No proxy may stand between the tests and their servers.
void withoutProxies() {
    for (const char* name :
         {"http_proxy", "HTTP_PROXY", "https_proxy", "HTTPS_PROXY", "all_proxy", "ALL_PROXY"}) {
        ::unsetenv(name);
    }
}

// One site with a page for every case.
void site(LoopbackServer& server, const std::string& request, int fd) {
    const std::string path = requestPath(request);
    const std::string here = server.url("");
    if (path == "/ok") {
        LoopbackServer::respond(fd, "HTTP/1.0 200 OK", "Accept-Ranges: bytes\r\n", "hello world");
    } else if (path == "/no-length") {
        LoopbackServer::send(fd, "HTTP/1.0 200 OK\r\n\r\nhello world");
    } else if (path == "/large") {
        std::string body;
        for (int i = 0; body.size() < 200 * 1024; ++i)
            body += std::to_string(i) + ",";
        LoopbackServer::respond(fd, "HTTP/1.0 200 OK", "", body);
    } else if (path == "/empty") {
        LoopbackServer::respond(fd, "HTTP/1.0 200 OK", "", "");
    } else if (path == "/short") {
        LoopbackServer::send(
            fd, "HTTP/1.0 200 OK\r\nContent-Length: 1000\r\n\r\n" + std::string(600, 's'));
    } else if (path == "/range") {
        if (request.find("\r\nRange: bytes=5-\r\n") != std::string::npos) {
            LoopbackServer::respond(fd, "HTTP/1.1 206 Partial Content",
                                    "Content-Range: bytes 5-10/11\r\n", " world");
        } else {
            LoopbackServer::respond(fd, "HTTP/1.0 200 OK", "", "hello world");
        }
    } else if (path == "/r301") {
        LoopbackServer::respond(fd, "HTTP/1.0 301 Moved", "Location: " + here + "/dir/final\r\n",
                                "");
    } else if (path == "/r302") {
        LoopbackServer::respond(fd, "HTTP/1.0 302 Found", "Location: /dir/final\r\n", "");
    } else if (path == "/dir/r303") {
        LoopbackServer::respond(fd, "HTTP/1.0 303 See Other", "Location: final\r\n", "");
    } else if (path == "/dir/final") {
        LoopbackServer::respond(fd, "HTTP/1.0 200 OK", "", "final");
    } else if (path == "/loop") {
        LoopbackServer::respond(fd, "HTTP/1.0 302 Found", "Location: /loop\r\n", "");
    } else if (path == "/401" || path == "/402") {
        LoopbackServer::respond(fd, "HTTP/1.0 " + path.substr(1) + " No", "", "denied");
    } else if (path == "/huge") {
        std::string headers = "HTTP/1.0 200 OK\r\n";
        for (int i = 0; headers.size() < 400 * 1024; ++i) {
            headers += "X-Fill-" + std::to_string(i) + ": " + std::string(100, 'f') + "\r\n";
        }
        LoopbackServer::send(fd, headers + "Content-Length: 2\r\n\r\nok");
    } else if (path == "/endless") {
        LoopbackServer::send(fd, "HTTP/1.0 200 OK\r\n");
        while (!server.stopping() &&
               LoopbackServer::send(fd, "X-More: " + std::string(200, 'm') + "\r\n")) {
        }
    } else if (path == "/drip") {
        LoopbackServer::send(fd, "HTTP/1.0 200 OK\r\nContent-Length: 100\r\n\r\n");
        for (int i = 0; i < 100 && !server.stopping(); ++i) {
            if (!LoopbackServer::send(fd, "d")) break;
            for (int wait = 0; wait < 20 && !server.stopping(); ++wait)
                std::this_thread::sleep_for(50ms);
        }
    } else {
        LoopbackServer::respond(fd, "HTTP/1.0 404 Not Found", "", "");
    }
}

struct Fetch {
    DownloadResult result;
    std::string url;
    std::string bytes;
    std::string error;
};

Fetch fetch(std::string url, const TransferLimits& limits = {}, DownloadHooks* hooks = nullptr,
            std::uint64_t offset = 0, std::string held = {}) {
    HttpDownload download(nullptr, hooks);
    download.setLimits(limits);
    MemoryFile file(std::move(held));
    const DownloadResult result = download.getFile(0, url, file, offset);
    return {result, url, file.bytes(), download.lastError()};
}

TEST(LoopbackDownload, AnswersOfAServer) {
    withoutProxies();
    LoopbackServer server(site);
    struct Case {
        const char* path;
        DownloadResult result;
        std::string bytes;
        std::size_t requests;
        const char* finalPath;
    };
    const Case cases[] = {
        {"/ok", DownloadResult::Completed, "hello world", 1, "/ok"},
        {"/no-length", DownloadResult::Completed, "hello world", 1, "/no-length"},
        // Three attempts, and the file holds the bytes of the last one only.
        {"/short", DownloadResult::Timeout, std::string(600, 's'), 3, "/short"},
        {"/r301", DownloadResult::Completed, "final", 2, "/dir/final"},
        {"/r302", DownloadResult::Completed, "final", 2, "/dir/final"},
        {"/dir/r303", DownloadResult::Completed, "final", 2, "/dir/final"},
        {"/loop", DownloadResult::BadUrl, "", 21, "/loop"},
        {"/401", DownloadResult::AuthRequired, "", 1, "/401"},
        {"/402", DownloadResult::AuthRequired, "", 1, "/402"},
        {"/missing", DownloadResult::BadUrl, "", 1, "/missing"},
    };
    std::size_t before = 0;
    for (const Case& c : cases) {
        const Fetch got = fetch(server.url(c.path));
        EXPECT_EQ(got.result, c.result) << c.path << ": " << got.error;
        EXPECT_EQ(got.bytes, c.bytes) << c.path;
        EXPECT_EQ(got.url, server.url(c.finalPath)) << c.path;
        const std::size_t after = server.requests().size();
        EXPECT_EQ(after - before, c.requests) << c.path;
        before = after;
    }
    // The request as sent: GET, HTTP/1.0, the user agent, no caches.
    const std::string first = server.requests().front();
    EXPECT_EQ(first.rfind("GET /ok HTTP/1.0\r\n", 0), 0u) << first;
    EXPECT_NE(first.find("User-Agent: Mozilla/4.0 (compatible; MSIE 6.0; IE Agent;)\r\n"),
              std::string::npos);
    EXPECT_NE(first.find("Pragma: no-cache\r\n"), std::string::npos);
}

TEST(LoopbackDownload, RangesAndConnectionStates) {
    withoutProxies();
    LoopbackServer server(site);
    RecordingHooks hooks;
    const Fetch resumed = fetch(server.url("/range"), {}, &hooks, 5, "hello");
    EXPECT_EQ(resumed.result, DownloadResult::Completed) << resumed.error;
    EXPECT_EQ(resumed.bytes, "hello world");
    const std::vector<std::string> states = hooks.only("status");
    const std::vector<std::string> expected = {"status 10", "status 11", "status 20",
                                               "status 21", "status 50", "status 51"};
    EXPECT_EQ(states, expected);
    EXPECT_EQ(hooks.only("ranges"), std::vector<std::string>{"ranges yes"});
}

TEST(LoopbackDownload, UnreachableHostsAndOversizedHeaders) {
    withoutProxies();
    // A port nobody listens on.
    LoopbackServer closed([](LoopbackServer&, const std::string&, int) {});
    const std::string refusedUrl = closed.url("/x");
    closed.stop();
    const Fetch refused = fetch(refusedUrl);
    EXPECT_EQ(refused.result, DownloadResult::NotConnected) << refused.error;
    const Fetch unknown = fetch("http://quorvel-test.invalid/x");
    EXPECT_EQ(unknown.result, DownloadResult::NotConnected) << unknown.error;

    LoopbackServer server(site);
    for (const char* path : {"/huge", "/endless"}) {
        const auto start = std::chrono::steady_clock::now();
        const Fetch got = fetch(server.url(path));
        EXPECT_EQ(got.result, DownloadResult::UnknownError) << path;
        EXPECT_NE(got.error.find("headers"), std::string::npos) << path << ": " << got.error;
        EXPECT_LT(std::chrono::steady_clock::now() - start, 5s) << path;
    }
}

TEST(LoopbackDownload, ADrippingServerIsAbortedOrTimedOut) {
    withoutProxies();
    LoopbackServer server(site);

    HttpDownload download;
    MemoryFile file;
    std::string url = server.url("/drip");
    std::thread aborter([&download] {
        std::this_thread::sleep_for(300ms);
        download.requestAbort();
    });
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(download.getFile(0, url, file), DownloadResult::Aborted);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 2s);
    aborter.join();

    TransferLimits slow;
    slow.lowSpeedBytes = 100;
    slow.lowSpeedSeconds = 1;
    start = std::chrono::steady_clock::now();
    const Fetch got = fetch(server.url("/drip"), slow);
    EXPECT_EQ(got.result, DownloadResult::Timeout) << got.error;
    EXPECT_LT(std::chrono::steady_clock::now() - start, 10s);
}

TEST(LoopbackDownload, AConnectionThatNeverOpensTimesOut) {
    withoutProxies();
    // A listener that accepts nobody, its single queue place taken: further
    // connections wait for ever.
    const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ::listen(listener, 0);
    socklen_t length = sizeof address;
    ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
    std::vector<int> fillers;
    for (int i = 0; i < 4; ++i) {
        const int filler = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
        ::connect(filler, reinterpret_cast<sockaddr*>(&address), sizeof address);
        fillers.push_back(filler);
    }
    TransferLimits quick;
    quick.connectTimeoutSeconds = 1;
    const auto start = std::chrono::steady_clock::now();
    const Fetch got =
        fetch("http://127.0.0.1:" + std::to_string(ntohs(address.sin_port)) + "/", quick);
    EXPECT_EQ(got.result, DownloadResult::UnknownError);
    // curl words it "Timeout was reached" or "Connection timeout after ...",
    // depending on where the wait ended.
    std::string error = got.error;
    for (char& c : error)
        c = toAsciiLower(c);
    EXPECT_NE(error.find("timeout"), std::string::npos) << got.error;
    EXPECT_LT(std::chrono::steady_clock::now() - start, 8s) << got.error;
    for (const int fd : fillers)
        ::close(fd);
    ::close(listener);
}

TEST(LoopbackDownload, CredentialsStayWithTheirPort) {
    withoutProxies();
    LoopbackServer other([](LoopbackServer&, const std::string&, int fd) {
        LoopbackServer::respond(fd, "HTTP/1.0 200 OK", "", "other");
    });
    const std::string otherUrl = other.url("/final");
    LoopbackServer origin([otherUrl](LoopbackServer&, const std::string& request, int fd) {
        // "ann:secret" in Basic form.
        if (request.find("\r\nAuthorization: Basic YW5uOnNlY3JldA==\r\n") == std::string::npos) {
            LoopbackServer::respond(fd, "HTTP/1.0 401 No", "", "");
        } else {
            LoopbackServer::respond(fd, "HTTP/1.0 302 Found", "Location: " + otherUrl + "\r\n", "");
        }
    });
    HttpDownload download;
    download.setUserName("ann");
    download.setPassword("secret");
    MemoryFile file;
    std::string url = origin.url("/start");
    std::string log;
    EXPECT_EQ(download.getFile(0, url, file, 0, &log), DownloadResult::Completed)
        << download.lastError();
    EXPECT_EQ(file.bytes(), "other");
    ASSERT_EQ(other.requests().size(), 1u);
    EXPECT_EQ(other.requests()[0].find("Authorization"), std::string::npos);
    EXPECT_EQ(log.find("YW5uOnNlY3JldA"), std::string::npos);
    EXPECT_NE(log.find("Authorization: (hidden)"), std::string::npos);
}

TEST(LoopbackDownload, TheTargetFileChangesOnlyWhenADownloadCompletes) {
    withoutProxies();
    LoopbackServer server(site);
    testing::ScratchFolder folder;
    const std::string target = folder.file("page.htm");
    ASSERT_TRUE(testing::writeBytes(target, "old page"));
    ::chmod(target.c_str(), 0640);
    HttpDownload download;
    struct Case {
        const char* path;
        DownloadResult result;
        bool written;
        const char* content;
    };
    const Case cases[] = {
        {"/short", DownloadResult::Timeout, false, "old page"},
        {"/missing", DownloadResult::BadUrl, false, "old page"},
        {"/empty", DownloadResult::Completed, false, "old page"},
        {"/ok", DownloadResult::Completed, true, "hello world"},
    };
    for (const Case& c : cases) {
        std::string url = server.url(c.path);
        const FileDownloadOutcome outcome = downloadToFile(download, 0, url, target);
        EXPECT_EQ(outcome.result, c.result) << c.path;
        EXPECT_EQ(outcome.written, c.written) << c.path;
        EXPECT_EQ(testing::readBytes(target), c.content) << c.path;
        EXPECT_EQ(folder.names(), std::vector<std::string>{"page.htm"}) << c.path;
    }
    struct stat info {};
    ::stat(target.c_str(), &info);
    EXPECT_EQ(info.st_mode & 0777, 0640u);

    // A page larger than what is held back before writing arrives whole.
    std::string large;
    for (int i = 0; large.size() < 200 * 1024; ++i)
        large += std::to_string(i) + ",";
    std::string largeUrl = server.url("/large");
    EXPECT_TRUE(downloadToFile(download, 0, largeUrl, target).written);
    EXPECT_EQ(testing::readBytes(target), large);

    // Through a link the linked file is replaced and the link kept.
    ASSERT_TRUE(testing::writeBytes(target, "old page"));
    ASSERT_EQ(::symlink("page.htm", folder.file("link.htm").c_str()), 0);
    std::string url = server.url("/ok");
    EXPECT_TRUE(downloadToFile(download, 0, url, folder.file("link.htm")).written);
    EXPECT_EQ(testing::readBytes(target), "hello world");
    struct stat link {};
    ASSERT_EQ(::lstat(folder.file("link.htm").c_str(), &link), 0);
    EXPECT_TRUE(S_ISLNK(link.st_mode));

    const FileDownloadOutcome nowhere = downloadToFile(download, 0, url, folder.file("no/x.htm"));
    EXPECT_FALSE(nowhere.localFileOk);
    EXPECT_EQ(nowhere.message, "Invalid local file specification: " + folder.file("no/x.htm"));
}

}  // namespace
}  // namespace quorvel
