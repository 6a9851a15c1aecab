#include "analysis/page_scan.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <thread>

#include "analysis/page_scan_fields.h"

namespace quorvel {
namespace {

class PageScanLoadTest : public testing::Test {
protected:
    void SetUp() override {
        folder_ = std::filesystem::temp_directory_path() /
                  ("quorvel-page-scan-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    std::string write(const std::string& name, const std::string& bytes) {
        const auto path = folder_ / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path.string();
    }

    std::filesystem::path folder_;
};

TEST_F(PageScanLoadTest, ReadsTheWholeFileUnchanged) {
    const std::string bytes = std::string("<head><title>A\r\nB</title>\0\xFF", 28);
    const std::string path = write("page.htm", bytes);
    PageScan scan;
    ASSERT_TRUE(scan.load(path));
    EXPECT_EQ(scan.bytes(), bytes);
    EXPECT_EQ(scan.loadError(), 0);
    scan.scan();
    EXPECT_EQ(scan.titleText.view(), "AB");
    EXPECT_EQ(scan.titleLength, 4);
}

TEST_F(PageScanLoadTest, FailsWithAReasonAndKeepsNoContent) {
    struct Case {
        const char* name;
        std::string path;
        int error;
    };
    const Case cases[] = {
        {"empty path", "", ENOENT},
        {"missing file", (folder_ / "missing.htm").string(), ENOENT},
        {"folder", folder_.string(), EISDIR},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PageScan scan;
        scan.loadBytes("<head><title>old</title>");
        scan.scan();
        EXPECT_FALSE(scan.load(c.path));
        EXPECT_EQ(scan.loadError(), c.error);
        EXPECT_TRUE(scan.bytes().empty());
        EXPECT_EQ(scan.titleCount, 0) << "facts are reset";
    }
}

TEST_F(PageScanLoadTest, EmptyFileScansToTheResetRecord) {
    PageScan scan;
    ASSERT_TRUE(scan.load(write("empty.htm", "")));
    EXPECT_TRUE(scan.bytes().empty());
    EXPECT_EQ(scan.bytes().data()[0], '\0');
    scan.scan();
    EXPECT_EQ(scan.smallestFontSize, 3);
    EXPECT_EQ(scan.minColourDistance, 255u);
    EXPECT_EQ(scan.bodyBackground, 0xFFFFFFu);
}

TEST_F(PageScanLoadTest, ReadsADeviceOfUnknownSize) {
    PageScan scan;
    ASSERT_TRUE(scan.load("/dev/null"));
    EXPECT_TRUE(scan.bytes().empty());
}

// A pipe has no size: it is read in growing steps that keep what came before.
// Files of known size that grow and shrink from load to load come back whole.
TEST_F(PageScanLoadTest, PagesOfEverySizeComeBackWhole) {
    constexpr std::size_t kStep = 64 * 1024;
    const std::size_t sizes[] = {1, kStep - 1, kStep, kStep + 1, 3 * kStep + 5, 10, 5 * kStep, 0};
    PageScan scan;
    for (std::size_t size : sizes) {
        SCOPED_TRACE(size);
        std::string bytes(size, '\0');
        for (std::size_t i = 0; i < size; ++i)
            bytes[i] = static_cast<char>('a' + i * 7 % 26);

        ASSERT_TRUE(scan.load(write("page.htm", bytes)));
        EXPECT_EQ(scan.bytes(), bytes);

        const std::string fifo = (folder_ / "pipe").string();
        std::filesystem::remove(fifo);
        ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
        std::thread writer([&] { std::ofstream(fifo, std::ios::binary) << bytes; });
        const bool loaded = scan.load(fifo);
        writer.join();
        ASSERT_TRUE(loaded);
        EXPECT_TRUE(scan.bytes() == bytes) << scan.bytes().size() << " bytes read";
    }
}

// A page is read to its end, whatever size the file announces (files under
// /proc announce 0), and refused with EFBIG when it holds more than the limit
// (2 GiB - 1 bytes: positions are 32-bit signed numbers).
TEST_F(PageScanLoadTest, ReadsToTheEndUpToTheSizeLimit) {
    const std::string page = write("page.htm", std::string(100, 'p'));
    const std::string sparse = write("huge.htm", "");  // 2 GiB announced, nothing stored
    ASSERT_EQ(::truncate(sparse.c_str(), off_t{1} << 31), 0);
    struct Case {
        const char* name;
        std::string path;
        std::size_t limit;
        int error;
    };
    const Case cases[] = {
        {"at the limit", page, 100, 0},
        {"one byte over", page, 99, EFBIG},
        {"2 GiB", sparse, PageScan::kMaxPageBytes, EFBIG},
        {"a device without end", "/dev/zero", 3 * 64 * 1024 + 7, EFBIG},
        {"a file announcing size 0", "/proc/self/status", PageScan::kMaxPageBytes, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PageScan scan;
        scan.setSizeLimit(c.limit);
        EXPECT_EQ(scan.load(c.path), c.error == 0);
        EXPECT_EQ(scan.loadError(), c.error);
        if (c.error == 0) {
            EXPECT_FALSE(scan.bytes().empty());
        } else {
            EXPECT_TRUE(scan.bytes().empty());
        }
    }
    PageScan scan;
    ASSERT_TRUE(scan.load("/proc/self/status"));
    EXPECT_EQ(scan.bytes().substr(0, 5), "Name:");
}

TEST_F(PageScanLoadTest, ResetsFactsAndStateButKeepsTheInputsTheCallerOwns) {
    PageScan scan;
    scan.keywordMatcher().loadPhrase("web", true);
    scan.stopWordList = "web";
    ASSERT_TRUE(scan.load(write("a.htm",
                                "<head><title>web web</title></head><body><h1>web web "
                                "<font size=1 color=white><a href=x>")));
    scan.setMinWordLength(2);
    scan.scan();
    EXPECT_EQ(scan.titleKeywordCount, 2);
    EXPECT_EQ(scan.titleStopWordCount, 2u);
    EXPECT_EQ(scan.repeatedWords, "web");

    // A second page starts from a clean record and a clean scanner: no
    // heading, link, font or colour is carried over, and no previous word.
    ASSERT_TRUE(scan.load(write("b.htm", "<body>web web.")));
    EXPECT_EQ(scan.minWordLength(), 0);
    EXPECT_EQ(scan.stopWordList, "web");
    EXPECT_EQ(scan.titleCount, 0);
    EXPECT_EQ(scan.repeatedWords, "");
    scan.scan();
    EXPECT_EQ(scan.bodyWordCount, 2);
    EXPECT_EQ(scan.headingWordCount, 0);
    EXPECT_EQ(scan.linkWordCount, 0);
    EXPECT_EQ(scan.repeatedWordCount, 1);
    EXPECT_EQ(scan.repeatedWordPos, 10u);
    EXPECT_EQ(scan.smallestFontSize, 3);
    EXPECT_EQ(scan.minColourDistance, 255u);
    EXPECT_EQ(scan.bodyKeywordCount, 2);
    EXPECT_EQ(scan.bodyFirstKeywordOffset, 1);
}

TEST_F(PageScanLoadTest, ReleaseDropsTheContentAndTheBufferIsReused) {
    PageScan scan;
    ASSERT_TRUE(scan.load(write("big.htm", std::string(100000, 'x'))));
    const char* first = scan.bytes().data();
    scan.release();
    EXPECT_TRUE(scan.bytes().empty());
    ASSERT_TRUE(scan.load(write("small.htm", "<body>x")));
    EXPECT_EQ(scan.bytes().data(), first);
    EXPECT_EQ(scan.bytes(), "<body>x");
}

// The field table must name every fact of PageFacts, in declaration order,
// with the kind of its declaration.
TEST(PageScanFieldsTest, TableFollowsTheDeclarations) {
    std::ifstream header(std::string(QUORVEL_SOURCE_DIR) + "/src/analysis/page_facts.h");
    ASSERT_TRUE(header) << "page_facts.h not found";
    std::stringstream text;
    text << header.rdbuf();
    const std::string source = text.str();

    const std::regex declaration(R"(\n\s+(u16|u32|Flag|Colour|ScanText|std::string) (\w+)[ ;=])");
    std::vector<std::pair<std::string, std::string>> declared;
    for (auto it = std::sregex_iterator(source.begin(), source.end(), declaration);
         it != std::sregex_iterator(); ++it) {
        declared.emplace_back((*it)[2], (*it)[1]);
    }
    const auto fields = pageFields();
    ASSERT_EQ(fields.size(), declared.size());
    const std::pair<const char*, FieldKind> kinds[] = {
        {"u16", FieldKind::Count16},   {"u32", FieldKind::Number32},
        {"Flag", FieldKind::Flag},     {"Colour", FieldKind::Colour},
        {"ScanText", FieldKind::Text}, {"std::string", FieldKind::List}};
    for (std::size_t i = 0; i < fields.size(); ++i) {
        SCOPED_TRACE(declared[i].first);
        EXPECT_EQ(fields[i].name, declared[i].first);
        for (const auto& [type, kind] : kinds) {
            if (declared[i].second == type) {
                EXPECT_EQ(fields[i].kind, kind);
            }
        }
        EXPECT_EQ(findPageField(fields[i].name), &fields[i]);
    }
    EXPECT_EQ(findPageField("noSuchFact"), nullptr);
}

TEST(PageScanFieldsTest, ReadsValuesThroughTheTable) {
    PageFacts facts;
    facts.titleCount = 65535;
    facts.bodyBackground = 0x123456;
    facts.titleText.assign("T");
    facts.repeatedWords = "a,b";
    EXPECT_EQ(numericFieldValue(facts, *findPageField("titleCount")), 65535u);
    EXPECT_EQ(numericFieldValue(facts, *findPageField("bodyBackground")), 0x123456u);
    EXPECT_EQ(numericFieldValue(facts, *findPageField("titleText")), std::nullopt);
    EXPECT_EQ(textFieldValue(facts, *findPageField("titleText")), "T");
    EXPECT_EQ(textFieldValue(facts, *findPageField("repeatedWords")), "a,b");
    EXPECT_EQ(textFieldValue(facts, *findPageField("titleCount")), "");
}

}  // namespace
}  // namespace quorvel
