// The texts shown while downloading and the import and update steps that
// need no network.

#include <gtest/gtest.h>

#include "net/checker_update.h"
#include "net/progress_text.h"
#include "net/url_import.h"
#include "settings/user_settings.h"

namespace quorvel {
namespace {

constexpr std::uint64_t kGiB = 1024ull * 1024 * 1024;

TEST(ProgressText, StatusLinesRatesAndTimeLeft) {
    struct Case {
        std::uint64_t received, total, rate;
        const char* line;
        const char* rateText;
        const char* timeLeft;  // nullptr: left unchanged
    };
    const Case cases[] = {
        {0, 0, 0, "page.htm: downloaded 0 bytes", "?.??", nullptr},
        {300, 1000, 0, "page.htm: 1000 bytes, 30% completed", "?.??", nullptr},
        {999, 1000, 1, "page.htm: 1000 bytes, 99% completed", "0.00 Kb/sec", "00:00:01"},
        {5000, 0, 2048, "page.htm: downloaded 5000 bytes", "2.00 Kb/sec", "??:??:??"},
        {0, 3 * 3600 + 125, 1, "page.htm: 10925 bytes, 0% completed", "0.00 Kb/sec", "03:02:05"},
        // Sizes beyond 32 bits neither wrap nor go negative.
        {3 * kGiB, 5 * kGiB, 1024 * 1024, "page.htm: 5368709120 bytes, 60% completed",
         "1024.00 Kb/sec", "00:34:08"},
        {1200, 1000, 10, "page.htm: 1000 bytes, 120% completed", "0.01 Kb/sec", "00:00:00"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(progressStatusLine(fileNameOfPath("/site/page.htm"), c.received, c.total),
                  c.line);
        EXPECT_EQ(transferRateText(c.rate), c.rateText);
        const std::optional<std::string> left = timeLeftText(c.received, c.total, c.rate);
        EXPECT_EQ(left.has_value(), c.timeLeft != nullptr);
        if (left && c.timeLeft) {
            EXPECT_EQ(*left, c.timeLeft);
        }
    }
    const std::pair<TransferStatus, const char*> states[] = {
        {TransferStatus::ResolvingName, "Resolving name..."},
        {TransferStatus::NameResolved, "Name resolved!"},
        {TransferStatus::ConnectingToServer, "Connecting to server..."},
        {TransferStatus::ConnectedToServer, "Connected!"},
        {TransferStatus::ClosingConnection, "Closing connection..."},
        {TransferStatus::ConnectionClosed, "Connection closed!"},
        {TransferStatus::Redirecting, "Redirecting..."},
    };
    for (const auto& [status, text] : states)
        EXPECT_EQ(transferStatusText(status), text);
    EXPECT_FALSE(transferStatusText(static_cast<TransferStatus>(40)).has_value());
}

TEST(UrlImport, FileNameFromTheAddress) {
    const std::pair<const char*, const char*> cases[] = {
        {"http://host/dir/page.htm", "page.htm"},
        {"http://host/", nullptr},
        {"http://host", nullptr},
        {"HTTP://", nullptr},
        {"a/b.ht", nullptr},  // 6 characters or fewer
        {"c:\\site\\index.html", "index.html"},
        {"c:\\\\", nullptr},
        {"http://host/a.php?id=3", "a.php?id=3"},
        {"nohost", nullptr},
    };
    for (const auto& [url, name] : cases) {
        const std::optional<std::string> found = fileNameFromUrl(url);
        EXPECT_EQ(found.has_value(), name != nullptr) << url;
        if (found && name) {
            EXPECT_EQ(*found, name) << url;
        }
    }
    EXPECT_FALSE(isUsableImportUrl("http://"));
    EXPECT_FALSE(isUsableImportUrl("a.b/c"));
    EXPECT_TRUE(isUsableImportUrl("http://h"));
    EXPECT_EQ(importStartUrl(""), "http://");
    EXPECT_EQ(importStartUrl("http://www.example.com"), "http://www.example.com/");
    EXPECT_EQ(importStartUrl("http://www.example.com/"), "http://www.example.com/");
    EXPECT_FALSE(isPlainFileName("../x.htm"));
    EXPECT_FALSE(isPlainFileName(".."));
    EXPECT_TRUE(isPlainFileName("x.htm"));
}

TEST(UrlImport, AnImportedNameIsListedUnlessAListedNameBeginsWithIt) {
    UserSettings settings;
    settings.open("/nonexistent/settings.hc");
    settings.addFile("Index.html");
    settings.addFile("about.htm");
    settings.setFileEnabled(2, false);
    EXPECT_FALSE(addImportedFile(settings, "index.html"));
    EXPECT_FALSE(addImportedFile(settings, "about"));  // prefix of a disabled entry
    EXPECT_TRUE(addImportedFile(settings, "contact.htm"));
    EXPECT_EQ(settings.fileCount(), 3);
    EXPECT_EQ(settings.fileName(3), "contact.htm");
    EXPECT_TRUE(settings.fileEnabled(3));
}

TEST(CheckerUpdate, BackupPathAddressAndClearTextRule) {
    EXPECT_EQ(checkerBackupPath("/opt/my.app.d/Quorvel.chk"), "/opt/my.app.d/Quorvel.old");
    EXPECT_EQ(checkerBackupPath("/opt/rules"), "/opt/rules.old");
    EXPECT_EQ(checkerBackupPath("/opt/x.d/.chk"), "/opt/x.d/.chk.old");

    UserSettings settings;
    settings.open("/nonexistent/settings.hc");
    EXPECT_EQ(checkerUpdateUrl(settings), "https://www.maltrane.com/CheckerFile/Quorvel.chk");
    ASSERT_TRUE(
        settings.setOption(TextOption::CheckerUpdateUrl, "https://rules.example.org/q.chk"));
    EXPECT_EQ(checkerUpdateUrl(settings), "https://rules.example.org/q.chk");

    EXPECT_FALSE(credentialTransportProblem("https://example.com/a").has_value());
    EXPECT_FALSE(credentialTransportProblem("http://127.0.0.1:8080/a").has_value());
    const std::optional<std::string> problem = credentialTransportProblem("http://example.com/a");
    ASSERT_TRUE(problem.has_value());
    EXPECT_NE(problem->find("https://"), std::string::npos);
}

}  // namespace
}  // namespace quorvel
