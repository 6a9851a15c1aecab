#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "cli/latin1_text.h"

namespace quorvel {
namespace {

std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeBytes(const std::string& path, std::string_view bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

constexpr std::string_view kChecker =
    "\r\n[SearchEngines]\r\nCount=2\r\nItem1=Generic Engine (Template Page)\r\n"
    "Item2=Moteur fran\xe7"
    "ais\r\n"
    "\r\n[Generic Engine (Template Page)]\r\n1TitleValue=60\r\n0MetaEnable=0\r\n"
    "\r\n[Moteur fran\xe7"
    "ais]\r\nCaseSensitive=0\r\n0TitleName=Pr\xe9sence du titre\r\n";

constexpr std::string_view kSettings =
    "\r\n[Projects]\r\nCount=1\r\nItem1=Site\r\nCurrent=Site\r\n"
    "\r\n[Site]\r\nCurrentSearchEngine=Generic Engine (Template Page)\r\n";

TEST(Latin1ToUtf8, EveryByteBecomesItsCodePoint) {
    struct Case {
        std::string_view bytes, utf8;
    };
    const Case cases[] = {
        {"", ""},
        {"plain ASCII", "plain ASCII"},
        {std::string_view("\x00\x7f", 2), std::string_view("\x00\x7f", 2)},
        {"\x80", "\xc2\x80"},
        {"caf\xe9", "caf\xc3\xa9"},
        {"\xff\xbf", "\xc3\xbf\xc2\xbf"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.utf8));
        EXPECT_EQ(latin1ToUtf8(c.bytes), c.utf8);
    }
    // All 256 bytes give valid UTF-8 that nlohmann-json accepts.
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    const std::string utf8 = latin1ToUtf8(all);
    EXPECT_EQ(utf8.size(), 128u + 2 * 128u);
    EXPECT_NO_THROW((void)nlohmann::json(utf8).dump());
}

class RulesCommand : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("quorvel_rules_" + std::to_string(::getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir_);
        checker_ = (dir_ / "Quorvel.chk").string();
        settings_ = (dir_ / "Quorvel.hc").string();
        writeBytes(checker_, kChecker);
        writeBytes(settings_, kSettings);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    int run(std::vector<std::string> extra) {
        std::vector<std::string> args = {"rules", "--checker", checker_, "--settings", settings_};
        args.insert(args.end(), extra.begin(), extra.end());
        out_.str("");
        err_.str("");
        return runCli(args, out_, err_);
    }
    nlohmann::json runJson(std::vector<std::string> extra) {
        extra.insert(extra.begin(), {"--format", "json"});
        EXPECT_EQ(run(extra), kExitOk) << err_.str();
        return nlohmann::json::parse(out_.str());
    }

    std::filesystem::path dir_;
    std::string checker_;
    std::string settings_;
    std::ostringstream out_;
    std::ostringstream err_;
};

TEST_F(RulesCommand, TextListsEveryCheckWithOverridesMarked) {
    ASSERT_EQ(run({}), kExitOk) << err_.str();
    const std::string text = out_.str();
    const std::string expectedHead =
        "Engine: Generic Engine (Template Page)\n"
        "Case sensitive: yes\n"
        "Search engines: 2\n"
        "  1. Generic Engine (Template Page) (case sensitive: yes)\n"
        "  2. Moteur fran\xe7"
        "ais (case sensitive: no)\n"
        "Fields marked * differ from the built-in defaults.\n"
        "\n"
        "Title 0 (check code 0)\n"
        "    Name   Tag presence\n"
        "    Msg    A title tag is not present on your page.\n";
    EXPECT_EQ(text.substr(0, expectedHead.size()), expectedHead);

    const std::string lines[] = {
        "Title 1 (check code 1)\n",
        "  * Value  60\n",
        "    Value\n",  // an empty field
        "Meta 0 (check code 32)\n",
        "  * Enable 0\n",
        "Tips 14 (check code 206)\n",
        "    Descr  Not yet defined!\n",
    };
    for (const std::string& line : lines) {
        SCOPED_TRACE(line);
        EXPECT_NE(text.find(line), std::string::npos);
    }
    std::size_t checks = 0;
    for (std::size_t p = text.find("(check code "); p != std::string::npos;
         p = text.find("(check code ", p + 1)) {
        ++checks;
    }
    EXPECT_EQ(checks, 86u);
}

TEST_F(RulesCommand, JsonHoldsEffectiveFieldsAndOverrides) {
    const nlohmann::json doc = runJson({});
    EXPECT_EQ(doc["engine"], "Generic Engine (Template Page)");
    EXPECT_EQ(doc["caseSensitive"], true);
    EXPECT_EQ(doc["engines"], nlohmann::json::array({"Generic Engine (Template Page)",
                                                     "Moteur fran\xc3\xa7"
                                                     "ais"}));
    ASSERT_EQ(doc["checks"].size(), 86u);
    const nlohmann::json& check = doc["checks"][1];
    EXPECT_EQ(check["category"], "Title");
    EXPECT_EQ(check["index"], 1);
    EXPECT_EQ(check["checkCode"], 1);
    EXPECT_EQ(check["name"], "Length of tag");
    EXPECT_EQ(check["msg"],
              "Limit your title tag to %1 characters, including spaces, instead of %2.");
    EXPECT_EQ(check["cat"], "S");
    EXPECT_EQ(check["enable"], "1");
    EXPECT_EQ(check["value"], "60");
    EXPECT_EQ(check["overridden"], nlohmann::json::array({"Value"}));
    EXPECT_EQ(doc["checks"][0]["overridden"], nlohmann::json::array());
    const nlohmann::json& meta = doc["checks"][10];
    EXPECT_EQ(meta["category"], "Meta");
    EXPECT_EQ(meta["index"], 0);
    EXPECT_EQ(meta["checkCode"], 32);
    EXPECT_EQ(meta["enable"], "0");
    const nlohmann::json& lastTip = doc["checks"][85];
    EXPECT_EQ(lastTip["category"], "Tips");
    EXPECT_EQ(lastTip["checkCode"], 206);
}

TEST_F(RulesCommand, EngineOptionAndSettingsChooseTheEngine) {
    const std::string other =
        "Moteur fran\xe7"
        "ais";
    nlohmann::json doc = runJson({"--engine", other});
    EXPECT_EQ(doc["engine"],
              "Moteur fran\xc3\xa7"
              "ais");
    EXPECT_EQ(doc["caseSensitive"], false);
    EXPECT_EQ(doc["checks"][0]["name"], "Pr\xc3\xa9sence du titre");
    EXPECT_EQ(doc["checks"][1]["value"], "70");

    writeBytes(settings_,
               "[Projects]\r\nCount=1\r\nItem1=Site\r\nCurrent=Site\r\n[Site]\r\n"
               "CurrentSearchEngine=" +
                   other + "\r\n");
    doc = runJson({});
    EXPECT_EQ(doc["checks"][0]["overridden"], nlohmann::json::array({"Name"}));

    // A project without a current engine uses the generic one.
    writeBytes(settings_, "[Projects]\r\nCount=1\r\nItem1=Site\r\nCurrent=Site\r\n");
    doc = runJson({});
    EXPECT_EQ(doc["engine"], "Generic Engine (Template Page)");
}

TEST_F(RulesCommand, SetWritesOverridesAndSaves) {
    nlohmann::json doc = runJson({"--set", "2TitleValue=20", "--set", "0metaENABLE=1", "--set",
                                  "14TipsDescr=Keep it short"});
    EXPECT_EQ(doc["checks"][2]["value"], "20");
    EXPECT_EQ(doc["checks"][10]["enable"], "1");
    EXPECT_EQ(doc["checks"][85]["descr"], "Keep it short");
    EXPECT_EQ(readBytes(checker_),
              "\r\n[SearchEngines]\r\nCount=2\r\nItem1=Generic Engine (Template Page)\r\n"
              "Item2=Moteur fran\xe7"
              "ais\r\n"
              "\r\n[Generic Engine (Template Page)]\r\n1TitleValue=60\r\n"
              "2TitleValue=20\r\n14TipsDescr=Keep it short\r\n"
              "\r\n[Moteur fran\xe7"
              "ais]\r\nCaseSensitive=0\r\n0TitleName=Pr\xe9sence du titre\r\n");

    // An empty text removes an override; so does the default text.
    doc = runJson({"--set", "2TitleValue=", "--set", "1TitleValue=70"});
    EXPECT_EQ(doc["checks"][1]["overridden"], nlohmann::json::array());
    EXPECT_EQ(readBytes(checker_).find("TitleValue"), std::string::npos);
}

TEST_F(RulesCommand, SetOnANamedEngine) {
    ASSERT_EQ(run({"--engine",
                   "Moteur fran\xe7"
                   "ais",
                   "--set", "1TitleValue=55"}),
              kExitOk)
        << err_.str();
    EXPECT_NE(readBytes(checker_).find("0TitleName=Pr\xe9sence du titre\r\n1TitleValue=55\r\n"),
              std::string::npos);
}

// An engine the checker file neither lists nor holds a section for is a
// typing error: listing it fails, and a change is not saved under it.
TEST_F(RulesCommand, UnknownEngineIsRefused) {
    const std::vector<std::string> cases[] = {
        {"--engine", "nope"},
        {"--engine", "Typo", "--set", "1TitleValue=55"},
        {"--engine", "generic engine (template page)X", "--format", "json"},
    };
    for (const auto& args : cases) {
        SCOPED_TRACE(args[1]);
        EXPECT_EQ(run(args), kExitUsage);
        EXPECT_NE(err_.str().find("unknown search engine '" + args[1] + "'"), std::string::npos)
            << err_.str();
        EXPECT_NE(err_.str().find("'Generic Engine (Template Page)'"), std::string::npos);
        EXPECT_EQ(out_.str(), "");
        EXPECT_EQ(readBytes(checker_), kChecker);
    }
}

TEST_F(RulesCommand, RefusedArgumentsWriteNothing) {
    struct Case {
        std::vector<std::string> args;
        std::string_view message;
    };
    const Case cases[] = {
        {{"--set", "1TitleValue=60", "--set", "1TitelValue=60"}, "unknown check key '1TitelValue'"},
        {{"--set", "10TitleValue=5"}, "unknown check key '10TitleValue'"},
        {{"--set", "1TitleValue"}, "KEY=TEXT"},
        {{"--set", "1TitleValue=" + std::string(4096, 'x')}, "longer than 4095"},
        {{"--format", "xml"}, "xml"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.message));
        EXPECT_EQ(run(c.args), kExitUsage);
        EXPECT_NE(err_.str().find(c.message), std::string::npos) << err_.str();
        EXPECT_EQ(out_.str(), "");
        EXPECT_EQ(readBytes(checker_), kChecker);
    }
}

TEST_F(RulesCommand, ASaveThatFailsSaysWhy) {
    // A file the system lets us read but never replace.
    const std::string unwritable = "/proc/self/status";
    std::ostringstream out, err;
    EXPECT_EQ(runCli({"rules", "--checker", unwritable, "--settings", settings_, "--set",
                      "1TitleValue=61"},
                     out, err),
              kExitUsage);
    // The file, the failed step and the system's reason.
    EXPECT_NE(err.str().find("cannot write the checker file '" + unwritable + "': create: "),
              std::string::npos)
        << err.str();
}

TEST_F(RulesCommand, NamedFilesMustExist) {
    std::ostringstream out, err;
    EXPECT_EQ(
        runCli({"rules", "--checker", (dir_ / "absent.chk").string(), "--settings", settings_}, out,
               err),
        kExitUsage);
    EXPECT_NE(err.str().find("absent.chk"), std::string::npos);
    EXPECT_EQ(runCli({"rules", "--checker", checker_, "--settings", (dir_ / "absent.hc").string()},
                     out, err),
              kExitUsage);
    EXPECT_NE(err.str().find("absent.hc"), std::string::npos);
}

}  // namespace
}  // namespace quorvel
