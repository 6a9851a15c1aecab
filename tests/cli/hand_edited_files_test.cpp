// quorvel-cli on settings and checker files edited by hand: counts that lie,
// byte-order marks and out-of-range options, called in-process.

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "platform/scratch_folder.h"

namespace quorvel {
namespace {

using testing::ScratchFolder;
using testing::writeBytes;

struct Outcome {
    int status = 0;
    std::string out, err;
};

Outcome runTool(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    Outcome outcome;
    outcome.status = runCli(args, out, err);
    outcome.out = out.str();
    outcome.err = err.str();
    return outcome;
}

std::size_t occurrences(const std::string& text, std::string_view part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

class HandEditedFiles : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(writeBytes(folder.file("a.html"),
                               "<html><head><title>Hiking boots</title></head><body>x</body>"));
        ASSERT_TRUE(
            writeBytes(folder.file("q.chk"), "\r\n[SearchEngines]\r\nCount=1\r\nItem1=Fell\r\n"));
    }
    std::string settings(std::string_view fileList, std::string_view options = {}) {
        return "\r\n[Projects]\r\nCount=1\r\nItem1=Site\r\nCurrent=Site\r\n\r\n[Site]\r\nFolder=" +
               folder.path() + "\r\nCurrentKey=hiking boots\r\n" + std::string(fileList) +
               "\r\n[Options]\r\n" + std::string(options);
    }
    Outcome run(const std::string& settingsBytes) {
        EXPECT_TRUE(writeBytes(folder.file("q.hc"), settingsBytes));
        return runTool(
            {"run", "--settings", folder.file("q.hc"), "--checker", folder.file("q.chk")});
    }

    ScratchFolder folder;
};

TEST_F(HandEditedFiles, ListCountsFollowTheItemsPresent) {
    struct Case {
        const char* name;
        std::string fileList;
        std::size_t unopened;
    };
    const Case cases[] = {
        {"huge count, one file", "FileCount=100000000\r\nFile1=a.html\r\n", 0},
        {"huge count, no file", "FileCount=10000000\r\n", 0},
        {"a gap inside the count is an empty name",
         "FileCount=3\r\nFile1=a.html\r\nFile3=a.html\r\n", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Outcome outcome = run(settings(c.fileList));
        EXPECT_EQ(occurrences(outcome.err, "Cannot open"), c.unopened) << outcome.err;
        EXPECT_LT(outcome.out.size() + outcome.err.size(), 100000u);
    }

    // An engine list that claims two thousand million engines.
    ASSERT_TRUE(writeBytes(folder.file("q.chk"),
                           "\r\n[SearchEngines]\r\nCount=2147483647\r\nItem1=Fell\r\n"));
    const Outcome rules = runTool({"rules", "--checker", folder.file("q.chk"), "--settings",
                                   folder.file("q.hc"), "--engine", "Fell"});
    EXPECT_EQ(rules.status, kExitOk) << rules.err;
    EXPECT_LT(rules.out.size(), 100000u);
}

TEST_F(HandEditedFiles, AUtf8MarkReadsAsIfAbsent) {
    const Outcome plain = run(settings("FileCount=1\r\nFile1=a.html\r\n"));
    ASSERT_EQ(plain.status, kExitOk) << plain.err;
    const Outcome marked = run("\xEF\xBB\xBF" + settings("FileCount=1\r\nFile1=a.html\r\n"));
    EXPECT_EQ(marked.status, kExitOk) << marked.err;
    EXPECT_EQ(marked.err, "");
    // Only the report's clock may differ.
    EXPECT_EQ(marked.out.size(), plain.out.size());
}

TEST_F(HandEditedFiles, MinWordLengthOutOfRangeIsClampedInTheReport) {
    struct Case {
        const char* stored;
        const char* shown;
    };
    const Case cases[] = {{"-1", "shorter than 0 characters"},
                          {"99", "shorter than 10 characters"},
                          {"4", "shorter than 4 characters"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        const Outcome outcome =
            run(settings("FileCount=1\r\nFile1=a.html\r\n",
                         std::string("SkipShortWords=1\r\nMinWordLength=") + c.stored + "\r\n"));
        EXPECT_EQ(outcome.status, kExitOk) << outcome.err;
        EXPECT_NE(outcome.out.find(c.shown), std::string::npos) << outcome.out;
    }
}

}  // namespace
}  // namespace quorvel
