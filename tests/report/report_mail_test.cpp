#include "report/report_mail.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace quorvel {
namespace {

TEST(MailBody, WholeWhenItFitsElseWholeLinesAndTheNote) {
    const std::string line = "Error     |page.html |Title missing|\r\n";  // 39 bytes
    std::string report;
    for (int i = 0; i < 100; ++i)
        report += line;
    const std::size_t encoded = mailEncodedSize(report);
    struct Case {
        const char* name;
        std::size_t limit;
        bool cut;
    };
    const Case cases[] = {
        {"fits exactly", encoded, false},
        {"one byte short", encoded - 1, true},
        {"room for a few lines", 1000, true},
        {"room for less than the note", 10, true},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        const MailBody body = mailBody(report, test.limit);
        EXPECT_EQ(body.cut, test.cut);
        if (!test.cut) {
            EXPECT_EQ(body.text, report);
            continue;
        }
        ASSERT_GE(body.text.size(), kMailBodyCutNote.size());
        const std::string kept = body.text.substr(0, body.text.size() - kMailBodyCutNote.size());
        EXPECT_EQ(body.text.substr(kept.size()), kMailBodyCutNote);
        EXPECT_EQ(kept.size() % line.size(), 0u) << "cut inside a line";
        EXPECT_EQ(report.compare(0, kept.size(), kept), 0);
        if (test.limit > mailEncodedSize(kMailBodyCutNote)) {
            EXPECT_LE(mailEncodedSize(body.text), test.limit);
        }
    }
}

TEST(MailBody, EncodedSizeCountsThreeForEveryByteThatIsEscaped) {
    EXPECT_EQ(mailEncodedSize("Az09-._~"), 8u);
    EXPECT_EQ(mailEncodedSize(" |\r\n<"), 15u);
    EXPECT_EQ(mailEncodedSize("\xc3\xa9"), 6u);
}

TEST(MailBody, ALongFirstLineIsCutInside) {
    const std::string report(200000, 'x');
    const MailBody body = mailBody(report);
    EXPECT_TRUE(body.cut);
    EXPECT_LE(mailEncodedSize(body.text), kMailBodyLimit);
    EXPECT_LT(body.text.size(), kMailArgumentLimit);
    EXPECT_EQ(body.text.find_first_not_of('x'), body.text.size() - kMailBodyCutNote.size());
}

TEST(MailArguments, SubjectBodyThenEachAttachment) {
    const std::vector<std::string> expected{
        "--subject", "Quorvel HTML Report", "--body",   "text",
        "--attach",  "/run/a b.html",       "--attach", "/run/b.txt"};
    EXPECT_EQ(mailProgramArguments("text", {"/run/a b.html", "/run/b.txt"}), expected);
}

TEST(MailResult, ExitStatusesOfTheMailProgram) {
    struct Case {
        std::optional<int> exit;
        bool started;
        int expected;
    };
    const Case cases[] = {
        {std::nullopt, false, 27},
        {std::nullopt, true, 2},
        {0, true, 0},
        {1, true, 2},
        {2, true, 11},
        {3, true, 27},
        {4, true, 2},
        {5, true, 12},
        {127, true, 2},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.exit.value_or(-1));
        EXPECT_EQ(mailResultOfExit(test.exit, test.started), test.expected);
    }
}

}  // namespace
}  // namespace quorvel
