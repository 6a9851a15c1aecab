// The checker file installed with the program: its engines, its bytes and
// the rules it resolves to.

#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "checks/checker_file.h"
#include "settings/profile_file.h"
#include "settings/user_settings.h"

namespace quorvel {
namespace {

constexpr std::string_view kModern = "Modern Web Search (2026)";
const std::string kShippedFile = QUORVEL_DEFAULT_CHECKER_FILE;

std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    for (std::size_t at = 0, next; at < text.size(); at = next + 2) {
        next = text.find("\r\n", at);
        if (next == std::string::npos) next = text.size();
        result.push_back(text.substr(at, next - at));
    }
    return result;
}

class ShippedCheckerFile : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(checker_.open(kShippedFile)) << kShippedFile; }
    CheckerFile checker_;
};

TEST_F(ShippedCheckerFile, ListsTheGenericAndTheModernEngine) {
    ASSERT_EQ(checker_.engineCount(), 2);
    EXPECT_EQ(checker_.engineName(1), kDefaultEngineName);
    EXPECT_EQ(checker_.engineName(2), kModern);
    EXPECT_FALSE(checker_.caseSensitive(kModern));
    EXPECT_TRUE(checker_.caseSensitive(kDefaultEngineName));

    // The generic engine has no section: its rules are the built-in ones, so
    // projects that name no engine behave as they always did.
    EXPECT_EQ(checker_.profile().sectionNames(),
              (std::vector<std::string>{"SearchEngines", std::string(kModern)}));
    const EngineRules generic = checker_.resolve(kDefaultEngineName);
    for (int c = 0; c < kCategoryCount; ++c) {
        for (int i = 0; i < checkCount(c); ++i) {
            for (int f = 0; f < kFieldCount; ++f) {
                const auto field = static_cast<CheckField>(f);
                EXPECT_FALSE(generic.overridden(c, i, field));
                EXPECT_EQ(generic.field(c, i, field), defaultText(c, i, field));
            }
        }
    }
}

// Everything a reader of the file could stumble on: line ends, bytes, keys
// that name no field, repeated keys, and overrides that change nothing
// (the program would drop those on its first save).
TEST_F(ShippedCheckerFile, ReadsCleanlyAndSavesUnchanged) {
    const std::string bytes = readBytes(kShippedFile);
    ASSERT_FALSE(bytes.empty());
    EXPECT_EQ(checker_.profile().serialize(), bytes);
    for (std::size_t at = bytes.find('\n'); at != std::string::npos;
         at = bytes.find('\n', at + 1)) {
        ASSERT_TRUE(at > 0 && bytes[at - 1] == '\r') << "bare LF at byte " << at;
    }

    std::set<std::string> keys;
    bool inEngine = false;
    for (const std::string& line : lines(bytes)) {
        SCOPED_TRACE(line);
        for (const char ch : line) {
            const auto byte = static_cast<unsigned char>(ch);
            EXPECT_TRUE(byte >= 0x20 && byte < 0x7f);
            EXPECT_NE(ch, '<');
            EXPECT_NE(ch, '>');
        }
        EXPECT_LE(line.size(), ProfileFile::kMaxLine);
        if (line.empty()) continue;
        if (line.front() == '[') {
            inEngine = line == "[" + std::string(kModern) + "]";
            continue;
        }
        if (!inEngine) continue;
        const std::size_t equals = line.find('=');
        ASSERT_NE(equals, std::string::npos);
        const std::string key = line.substr(0, equals);
        const std::string value = line.substr(equals + 1);
        EXPECT_TRUE(keys.insert(key).second) << "repeated key";
        EXPECT_FALSE(value.empty());
        EXPECT_LE(value.size(), ProfileFile::kMaxValue);
        if (key == "CaseSensitive") continue;
        const std::optional<CheckKey> field = CheckerFile::parseCheckKey(key);
        ASSERT_TRUE(field.has_value()) << "names no check field";
        EXPECT_EQ(CheckerFile::checkKey(field->category, field->index, field->field), key);
        EXPECT_NE(value, defaultText(field->category, field->index, field->field));
    }
    EXPECT_FALSE(keys.empty());
}

struct ExpectedRule {
    CheckCategory category;
    int index;
    const char* enable;
    const char* cat;
    const char* value;
};

using enum CheckCategory;

// The engine's rule for each of the 86 checks.
constexpr ExpectedRule kModernRules[] = {
    {Title, 0, "1", "E", ""},    {Title, 1, "1", "S", "60"},
    {Title, 2, "1", "S", "30"},  {Title, 3, "1", "E", "1"},
    {Title, 4, "0", "W", ""},    {Title, 5, "1", "W", "1"},
    {Title, 6, "0", "E", ""},    {Title, 7, "1", "W", ""},
    {Title, 8, "0", "S", "2"},   {Title, 9, "0", "S", "a,an,and,the,for,if"},
    {Meta, 0, "0", "W", "30"},   {Meta, 1, "1", "S", ""},
    {Meta, 2, "1", "T", "160"},  {Meta, 3, "0", "S", ""},
    {Meta, 4, "0", "S", "1000"}, {Meta, 5, "0", "W", "25"},
    {Meta, 6, "0", "S", "25"},   {Meta, 7, "1", "E", ""},
    {Meta, 8, "0", "S", ""},     {Meta, 9, "0", "E", ""},
    {Meta, 10, "0", "E", ""},    {Meta, 11, "0", "S", "3"},
    {Meta, 12, "1", "S", "2"},   {Meta, 13, "0", "S", ""},
    {Meta, 14, "1", "S", ""},    {Meta, 15, "1", "S", ""},
    {Meta, 16, "0", "W", ""},    {Meta, 17, "0", "W", ""},
    {Meta, 18, "0", "S", ""},    {Meta, 19, "1", "T", ""},
    {Meta, 20, "1", "T", ""},    {Meta, 21, "0", "W", ""},
    {Meta, 22, "1", "S", "70"},  {Body, 0, "1", "S", "25"},
    {Body, 1, "1", "S", "2"},    {Body, 2, "1", "W", "10"},
    {Body, 3, "0", "S", ""},     {Body, 4, "1", "W", ""},
    {Body, 5, "1", "S", ""},     {Body, 6, "1", "W", ""},
    {Body, 7, "1", "W", "3"},    {Body, 8, "1", "T", "0.5"},
    {Body, 9, "1", "S", ""},     {Body, 10, "0", "W", "600"},
    {Body, 11, "1", "T", "300"}, {Images, 0, "1", "W", ""},
    {Images, 1, "0", "S", ""},   {Images, 2, "1", "T", "1"},
    {Images, 3, "1", "S", ""},   {Links, 0, "0", "W", ""},
    {Links, 1, "1", "W", ""},    {Links, 2, "0", "S", ""},
    {Links, 3, "0", "S", "10"},  {Links, 4, "0", "S", ""},
    {Links, 5, "0", "S", "10"},  {Links, 6, "1", "T", ""},
    {Links, 7, "0", "S", ""},    {Misc, 0, "1", "W", ""},
    {Misc, 1, "0", "W", ""},     {Misc, 2, "1", "W", ""},
    {Misc, 3, "0", "S", "1"},    {Misc, 4, "0", "S", ""},
    {Misc, 5, "0", "S", ""},     {Misc, 6, "1", "T", ""},
    {Misc, 7, "0", "S", ""},     {Misc, 8, "0", "S", "1"},
    {Misc, 9, "0", "W", "55"},   {Misc, 10, "0", "W", "1"},
    {Misc, 11, "1", "S", ""},    {Misc, 12, "0", "W", ""},
    {Misc, 13, "1", "S", ""},    {Tips, 0, "1", "T", ""},
    {Tips, 1, "0", "T", ""},     {Tips, 2, "0", "T", ""},
    {Tips, 3, "0", "T", ""},     {Tips, 4, "0", "T", ""},
    {Tips, 5, "0", "T", ""},     {Tips, 6, "0", "T", ""},
    {Tips, 7, "0", "T", ""},     {Tips, 8, "0", "T", ""},
    {Tips, 9, "0", "T", ""},     {Tips, 10, "0", "T", ""},
    {Tips, 11, "0", "T", ""},    {Tips, 12, "0", "T", ""},
    {Tips, 13, "0", "T", ""},    {Tips, 14, "0", "T", ""},
};
static_assert(std::size(kModernRules) == kCheckCount);

TEST_F(ShippedCheckerFile, ModernEngineResolvesToItsRuleTable) {
    const EngineRules rules = checker_.resolve(kModern);
    EXPECT_EQ(rules.engineName, kModern);
    EXPECT_FALSE(rules.caseSensitive);
    int row = 0;
    for (int c = 0; c < kCategoryCount; ++c) {
        for (int i = 0; i < checkCount(c); ++i, ++row) {
            const ExpectedRule& expected = kModernRules[row];
            ASSERT_EQ(static_cast<int>(expected.category), c);
            ASSERT_EQ(expected.index, i);
            SCOPED_TRACE(std::string(categoryName(c)) + " " + std::to_string(i));
            EXPECT_EQ(rules.field(c, i, CheckField::Enable), expected.enable);
            EXPECT_EQ(rules.field(c, i, CheckField::Cat), expected.cat);
            EXPECT_EQ(rules.field(c, i, CheckField::Value), expected.value);
            EXPECT_EQ(rules.enabled(c, i), std::string_view(expected.enable) == "1");
        }
    }
}

// Every message the engine rewrites reads cleanly once formatted: no
// placeholder or doubled percent sign is left, and a percent sign only
// follows a number.
TEST_F(ShippedCheckerFile, RewrittenMessagesFormatWithoutStrayPercentSigns) {
    const EngineRules rules = checker_.resolve(kModern);
    int rewritten = 0;
    for (int c = 0; c < kCategoryCount; ++c) {
        for (int i = 0; i < checkCount(c); ++i) {
            for (const CheckField field : {CheckField::Name, CheckField::Msg, CheckField::Descr}) {
                if (!rules.overridden(c, i, field)) continue;
                ++rewritten;
                const std::string stored = rules.field(c, i, field);
                for (const std::string& text : {rules.message(c, i, field, std::uint32_t{65599}),
                                                rules.message(c, i, field, 12.5)}) {
                    SCOPED_TRACE(text);
                    for (std::size_t at = text.find('%'); at != std::string::npos;
                         at = text.find('%', at + 1)) {
                        ASSERT_GT(at, 0u);
                        EXPECT_TRUE(std::isdigit(static_cast<unsigned char>(text[at - 1])));
                        EXPECT_TRUE(at + 1 == text.size() || text[at + 1] != '%');
                    }
                    // An insert that shows no value would read as a gap.
                    if (stored.find("%1") != std::string::npos) {
                        EXPECT_FALSE(rules.field(c, i, CheckField::Value).empty());
                    }
                }
            }
        }
    }
    EXPECT_GT(rewritten, 0);
}

}  // namespace
}  // namespace quorvel
