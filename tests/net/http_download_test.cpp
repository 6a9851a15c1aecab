#include "net/http_download.h"

#include <gtest/gtest.h>

#include "net/download_test_support.h"

namespace quorvel {
namespace {

using testing::FakeTransport;
using testing::MemoryFile;
using testing::RecordingHooks;
using testing::ScriptedResponse;
using testing::TransportScript;

struct Harness {
    std::shared_ptr<TransportScript> script = std::make_shared<TransportScript>();
    RecordingHooks hooks;
    HttpDownload download{std::make_unique<FakeTransport>(script), &hooks};

    DownloadResult get(std::string& url, MemoryFile& file, std::uint64_t offset = 0,
                       std::string* log = nullptr) {
        return download.getFile(0, url, file, offset, log);
    }
};

TEST(HttpDownload, ResultsOfSingleResponses) {
    struct Case {
        const char* name;
        ScriptedResponse response;
        DownloadResult result;
        std::size_t requests;
        std::string fileBytes;
    };
    const Case cases[] = {
        {"200 with length",
         {SendResult::Sent, 200, "Content-Length: 5\r\n", "hello"},
         DownloadResult::Completed,
         1,
         "hello"},
        {"200 without length",
         {SendResult::Sent, 200, "", "hello"},
         DownloadResult::Completed,
         1,
         "hello"},
        // Every attempt starts the file afresh: the bytes of a failed one are
        // never followed by those of the next.
        {"short body",
         {SendResult::Sent, 200, "Content-Length: 10\r\n", "hello", true},
         DownloadResult::Timeout,
         3,
         "hello"},
        {"longer body",
         {SendResult::Sent, 200, "Content-Length: 3\r\n", "hello"},
         DownloadResult::Timeout,
         3,
         "hello"},
        {"broken without length",
         {SendResult::Sent, 200, "", "hel", true},
         DownloadResult::Aborted,
         1,
         "hel"},
        {"401", {SendResult::Sent, 401, "", ""}, DownloadResult::AuthRequired, 1, ""},
        {"402", {SendResult::Sent, 402, "", ""}, DownloadResult::AuthRequired, 1, ""},
        {"404", {SendResult::Sent, 404, "", ""}, DownloadResult::BadUrl, 1, ""},
        {"redirect without location",
         {SendResult::Sent, 302, "", ""},
         DownloadResult::BadUrl,
         1,
         ""},
        {"not connected", {SendResult::NotConnected}, DownloadResult::NotConnected, 1, ""},
        {"send failed", {SendResult::Failed}, DownloadResult::UnknownError, 1, ""},
    };
    for (const Case& c : cases) {
        Harness harness;
        harness.script->responses = {c.response};
        MemoryFile file;
        std::string url = "http://example.com/page.htm";
        EXPECT_EQ(harness.get(url, file), c.result) << c.name;
        EXPECT_EQ(harness.script->requests.size(), c.requests) << c.name;
        EXPECT_EQ(file.bytes(), c.fileBytes) << c.name;
    }
}

TEST(HttpDownload, ARetryAfterAShortBodyRewritesTheFileFromItsStart) {
    Harness harness;
    harness.script->responses = {{SendResult::Sent, 200, "Content-Length: 10\r\n", "01234", true},
                                 {SendResult::Sent, 200, "Content-Length: 10\r\n", "0123456789"}};
    MemoryFile file;
    std::string url = "example.com/a";
    EXPECT_EQ(harness.get(url, file), DownloadResult::Completed);
    EXPECT_EQ(file.bytes(), "0123456789");
}

TEST(HttpDownload, RedirectsAreFollowedWithFreshAttemptsAndBounded) {
    Harness harness;
    harness.script->responses = {{SendResult::Sent, 302, "Location: next.htm\r\n"},
                                 {SendResult::Sent, 200, "Content-Length: 2\r\n", "ok"}};
    MemoryFile file;
    std::string url = "HTTP://Example.com/dir/page.htm";
    EXPECT_EQ(harness.get(url, file), DownloadResult::Completed);
    EXPECT_EQ(url, "http://example.com/dir/next.htm");
    EXPECT_EQ(harness.hooks.only("redirect"),
              std::vector<std::string>{"redirect http://example.com/dir/next.htm"});
    EXPECT_EQ(harness.script->requests.back().url, "http://example.com/dir/next.htm");

    // A server that redirects in a circle: 20 redirects are followed, then
    // the download ends by itself.
    Harness loop;
    loop.script->responses = {{SendResult::Sent, 301, "Location: /loop\r\n"}};
    url = "http://example.com/loop";
    EXPECT_EQ(loop.get(url, file), DownloadResult::BadUrl);
    EXPECT_EQ(loop.script->requests.size(), 21u);
    EXPECT_NE(loop.download.lastError().find("redirects"), std::string::npos);

    Harness refused;
    refused.hooks.redirectAnswer = false;
    refused.script->responses = {{SendResult::Sent, 303, "Location: /x\r\n"}};
    url = "http://example.com/";
    EXPECT_EQ(refused.get(url, file), DownloadResult::BadUrl);
    EXPECT_EQ(refused.script->requests.size(), 1u);
}

TEST(HttpDownload, HooksComeInTheirOrderAndCanStopTheDownload) {
    Harness harness;
    harness.script->responses = {{SendResult::Sent, 200,
                                  "Last-Modified: Tue, 01 Dec 2026 10:00:00 GMT\r\nAccept-Ranges: "
                                  "bytes\r\nContent-Length: 3\r\n",
                                  "abc"}};
    MemoryFile file;
    std::string url = "http://example.com/";
    ASSERT_EQ(harness.get(url, file), DownloadResult::Completed);
    const std::vector<std::string> expected = {
        "start",      "status 21",       "timestamp Tue, 01 Dec 2026 10:00:00 GMT",
        "ranges yes", "progress 3/3 @0", "progress 3/3 @0"};
    EXPECT_EQ(harness.hooks.calls, expected);

    Harness refused;
    refused.hooks.startAnswer = false;
    EXPECT_EQ(refused.get(url, file), DownloadResult::Aborted);
    EXPECT_TRUE(refused.script->requests.empty());

    // An abort asked for from elsewhere (here: during the second progress
    // report) ends the transfer and is not retried.
    Harness aborted;
    aborted.download.setBlockSize(2);
    aborted.hooks.abortAfterProgress = &aborted.download;
    aborted.hooks.progressBeforeAbort = 1;
    aborted.script->responses = {{SendResult::Sent, 200, "Content-Length: 6\r\n", "abcdef"}};
    EXPECT_EQ(aborted.get(url, file), DownloadResult::Aborted);
    EXPECT_EQ(aborted.script->requests.size(), 1u);
}

TEST(HttpDownload, CredentialsGoOnlyToTheirOriginAndNeverInClearTextToOtherHosts) {
    struct Case {
        const char* name;
        std::string url;
        std::string redirect;      // Location of a first response, or empty
        std::vector<bool> sentTo;  // per request: were the credentials sent
        DownloadResult result;
    };
    const Case cases[] = {
        {"https", "https://example.com/a", "", {true}, DownloadResult::Completed},
        {"other port",
         "https://example.com/a",
         "https://example.com:8443/b",
         {true, false},
         DownloadResult::Completed},
        {"other host",
         "https://example.com/a",
         "https://other.example.com/b",
         {true, false},
         DownloadResult::Completed},
        {"to http",
         "https://example.com/a",
         "http://example.com/b",
         {true, false},
         DownloadResult::Completed},
        {"loopback http", "http://127.0.0.1:8080/a", "", {true}, DownloadResult::Completed},
        {"clear text", "http://example.com/a", "", {}, DownloadResult::BadUrl},
    };
    for (const Case& c : cases) {
        Harness harness;
        harness.download.setUserName("ann");
        harness.download.setPassword("secret");
        if (!c.redirect.empty()) {
            harness.script->responses.push_back(
                {SendResult::Sent, 302, "Location: " + c.redirect + "\r\n"});
        }
        harness.script->responses.push_back({SendResult::Sent, 200, "", "x"});
        MemoryFile file;
        std::string url = c.url;
        EXPECT_EQ(harness.get(url, file), c.result) << c.name;
        ASSERT_EQ(harness.script->requests.size(), c.sentTo.size()) << c.name;
        for (std::size_t i = 0; i < c.sentTo.size(); ++i) {
            const testing::SeenRequest& seen = harness.script->requests[i];
            EXPECT_EQ(seen.userName == "ann" && seen.password == "secret", c.sentTo[i])
                << c.name << " request " << i;
            if (!c.sentTo[i]) {
                EXPECT_TRUE(seen.password.empty()) << c.name << " request " << i;
            }
        }
    }
}

TEST(HttpDownload, LogNamesTheFileAndHeadersButNoSecrets) {
    Harness harness;
    harness.script->responses = {{SendResult::Sent, 200, "Server: test\r\n", "x"}};
    MemoryFile file;
    std::string url = "http://ann:pw@127.0.0.1/x";
    std::string log;
    ASSERT_EQ(harness.get(url, file, 0, &log), DownloadResult::Completed);
    EXPECT_EQ(log,
              "\r\n### GetFile: http://127.0.0.1/x, Local File = /site/page.htm\r\n"
              "Request Header:\nGET / HTTP/1.0\r\nAuthorization: (hidden)\r\n\r\n\n"
              "Response Header:\nHTTP/1.0 200 X\r\nServer: test\r\n\n");
}

TEST(HttpDownload, RateIsSampledEveryTwoSecondsAndTheFileFlushedThen) {
    Harness harness;
    auto now = std::chrono::steady_clock::time_point{};
    harness.download.setClock([&now] { return now; });
    harness.script->onRead = [&now] { now += std::chrono::milliseconds(500); };
    harness.script->responses = {
        {SendResult::Sent, 200, "Content-Length: 1280\r\n", std::string(1280, 'x')}};
    MemoryFile file;
    std::string url = "http://example.com/";
    ASSERT_EQ(harness.get(url, file), DownloadResult::Completed);
    const std::vector<std::string> progress = harness.hooks.only("progress");
    ASSERT_EQ(progress.size(), 11u);
    EXPECT_EQ(progress[3], "progress 512/1280 @0");
    // 640 bytes in the 2500 ms up to the first sample after two seconds.
    EXPECT_EQ(progress[4], "progress 640/1280 @256");
    EXPECT_EQ(progress[9], "progress 1280/1280 @256");
    EXPECT_EQ(file.flushes, 2);
}

TEST(HttpDownload, RangesResumeAtTheServersFirstByte) {
    Harness harness;
    harness.script->responses = {
        {SendResult::Sent, 206, "Content-Range: bytes 4-9/10\r\n", "efghij"}};
    MemoryFile file("abcd");
    std::string url = "http://example.com/";
    ASSERT_EQ(harness.get(url, file, 4), DownloadResult::Completed);
    EXPECT_EQ(file.bytes(), "abcdefghij");
    EXPECT_TRUE(harness.download.rangeSupport());
    EXPECT_EQ(harness.script->requests[0].headerLines.back(), "Range: bytes=4-");
    EXPECT_EQ(harness.hooks.only("progress").front(), "progress 4/10 @1");

    // A server that ignores the range sends the whole file, which replaces
    // the bytes held.
    Harness whole;
    whole.script->responses = {{SendResult::Sent, 200, "Content-Length: 3\r\n", "xyz"}};
    MemoryFile held("abcd");
    ASSERT_EQ(whole.get(url, held, 4), DownloadResult::Completed);
    EXPECT_EQ(held.bytes(), "xyz");
    EXPECT_FALSE(whole.download.rangeSupport());
}

TEST(HttpDownload, BlockSizeStaysBetweenOneAnd256) {
    HttpDownload download(std::make_unique<FakeTransport>(std::make_shared<TransportScript>()));
    EXPECT_EQ(download.blockSize(), 128);
    download.setBlockSize(1000);
    EXPECT_EQ(download.blockSize(), 256);
    download.setBlockSize(0);
    EXPECT_EQ(download.blockSize(), 1);
}

TEST(DownloadResult, StatusTexts) {
    const std::pair<int, const char*> cases[] = {
        {0, "Completed!"},
        {1, "Error: Bad session"},
        {2, "Error: Bad url"},
        {3, "Error: You are not connected"},
        {4, "Error: Aborted"},
        {5, "Error: Unknown"},
        {7, "Error: Timeout"},
        {8, "Error: Location has moved"},
        {9, "Error: Authorization required"},
        {10, "Error: Unknown"},
        {-1, "Error: Unknown"},
    };
    for (const auto& [code, text] : cases)
        EXPECT_EQ(downloadStatusText(code), text) << code;
}

}  // namespace
}  // namespace quorvel
