#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "analysis/page_scan_fields.h"
#include "cli/cli.h"

namespace quorvel {
namespace {

using Json = nlohmann::ordered_json;

class ScanCommandTest : public testing::Test {
protected:
    void SetUp() override {
        folder_ = std::filesystem::temp_directory_path() /
                  ("quorvel-scan-command-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    std::string writePage(std::string_view bytes) {
        const std::string path = (folder_ / "page.htm").string();
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    int run(std::vector<std::string> args) {
        out_.str("");
        err_.str("");
        return runCli(args, out_, err_);
    }

    std::filesystem::path folder_;
    std::ostringstream out_;
    std::ostringstream err_;
};

constexpr std::string_view kPage =
    "<html><head><title>Web design \x01 caf\xe9</title>"
    "<meta name=\"description\" content=\"Web design, the the way\"></head>\r\n"
    "<body bgcolor=\"#000FFF\"><h1>Web designs</h1><p>the the web design shop</p>"
    "<a href=\"web-design.html\">web design</a></body></html>";

TEST_F(ScanCommandTest, PrintsEveryFactOnceInTableOrder) {
    ASSERT_EQ(run({"scan", writePage(kPage)}), 0) << err_.str();
    EXPECT_EQ(err_.str(), "");
    const Json json = Json::parse(out_.str());
    ASSERT_TRUE(json.is_object());
    const auto fields = pageFields();
    ASSERT_EQ(json.size(), fields.size());
    std::size_t i = 0;
    for (const auto& [key, value] : json.items()) {
        SCOPED_TRACE(key);
        ASSERT_LT(i, fields.size());
        EXPECT_EQ(key, fields[i].name);
        const bool text = fields[i].kind == FieldKind::Text || fields[i].kind == FieldKind::List;
        EXPECT_EQ(value.is_string(), text);
        EXPECT_EQ(value.is_number_unsigned(), !text);
        if (fields[i].kind == FieldKind::Flag) {
            EXPECT_LE(value.get<unsigned>(), 1u);
        }
        ++i;
    }
}

TEST_F(ScanCommandTest, ScansAsTheAnalysisRunDoes) {
    struct Case {
        const char* name;
        std::vector<std::string> options;
        std::vector<std::pair<const char*, Json>> facts;
    };
    const Case cases[] = {
        {"no keyword",
         {},
         {{"titleCount", 1},
          {"titleText", "Web design \x01 caf\xc3\xa9"},
          {"titleLength", 17},
          {"titleKeywordCount", 0},
          {"bodyBackground", 0x000FFF},
          {"minColourDistance", 90},
          {"bodyKeywordCount", 0},
          {"repeatedWordCount", 1},
          {"repeatedWords", "the"},
          {"metaDescriptionText", "Web design, the the way"},
          {"titleStopWordCount", 0}}},
        {"keyword in any case",
         {"--keyword", "web design", "--case-sensitive", "0"},
         {{"titleKeywordCount", 1},
          {"metaDescriptionKeywordCount", 1},
          {"bodyKeywordCount", 2},
          {"headingKeywordCount", 0},
          {"linkTextKeywordCount", 1},
          {"linkUrlKeywordCount", 1}}},
        {"case sensitive",
         {"--keyword", "web design"},
         {{"titleKeywordCount", 0}, {"bodyKeywordCount", 2}, {"metaDescriptionKeywordCount", 0}}},
        {"final s",
         {"--keyword", "Web designs", "--final-s"},
         {{"titleKeywordCount", 1}, {"headingKeywordCount", 1}}},
        {"short words skipped",
         {"--min-word-length", "4"},
         {{"repeatedWordCount", 0}, {"headingWordCount", 1}}},
        {"stop words",
         {"--stop-words", "web,caf"},
         {{"titleStopWordCount", 2}, {"titleStopWord", "caf"}}},
    };
    const std::string path = writePage(kPage);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> args = {"scan", path};
        args.insert(args.end(), c.options.begin(), c.options.end());
        ASSERT_EQ(run(args), 0) << err_.str();
        const Json json = Json::parse(out_.str());
        for (const auto& [field, expected] : c.facts) {
            EXPECT_EQ(json.at(field), expected) << field;
        }
    }
}

TEST_F(ScanCommandTest, EscapesControlBytes) {
    ASSERT_EQ(run({"scan", writePage("<head><title>a\x01\"b</title>")}), 0);
    EXPECT_NE(out_.str().find(R"("titleText": "a\u0001\"b")"), std::string::npos) << out_.str();
}

TEST_F(ScanCommandTest, RefusesBadArgumentsAndUnreadableFiles) {
    const std::string missing = (folder_ / "missing.htm").string();
    EXPECT_EQ(run({"scan", missing}), 2);
    EXPECT_EQ(out_.str(), "");
    EXPECT_EQ(err_.str(), "quorvel-cli: cannot open " + missing + ": No such file or directory\n");

    EXPECT_EQ(run({"scan", folder_.string()}), 2);
    EXPECT_NE(err_.str().find("cannot open"), std::string::npos);

    const std::string page = writePage("<body>x");
    EXPECT_EQ(run({"scan", page, "--case-sensitive", "2"}), 2);
    EXPECT_EQ(run({"scan", page, "--min-word-length", "-1"}), 2);
    EXPECT_EQ(run({"scan"}), 2);
    EXPECT_EQ(out_.str(), "");
}

}  // namespace
}  // namespace quorvel
