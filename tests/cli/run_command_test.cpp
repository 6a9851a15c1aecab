// quorvel-cli run and check, called in-process.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <nlohmann/json.hpp>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "checks/check_catalogue.h"
#include "cli/cli.h"
#include "platform/scratch_folder.h"

namespace quorvel {
namespace {

using testing::ScratchFolder;
using testing::writeBytes;

struct CliResult {
    int status = 0;
    std::string out;
    std::string err;
};

CliResult runTool(const std::vector<std::string>& args) {
    std::ostringstream out;
    std::ostringstream err;
    CliResult result;
    result.status = runCli(args, out, err);
    result.out = out.str();
    result.err = err.str();
    return result;
}

std::string fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The values that change from build to build and day to day: the version,
// the dates, and the year of the closing notice.
std::string maskVolatile(std::string report) {
    const std::pair<const char*, const char*> masks[] = {
        {"(Quorvel Version = )[^\r<]*", "$1<VERSION>"},
        {"(Search Engines Check File Date = )[^\r<]*", "$1<CHECK FILE DATE>"},
        {"(Date = +)[0-9][^\r<]*", "$1<DATE>"},
        {"\\(c\\) [0-9]{4} ", "(c) <YEAR> "},
    };
    for (const auto& [pattern, replacement] : masks) {
        report = std::regex_replace(report, std::regex(pattern), replacement);
    }
    return report;
}

// Runs from the repository root, where the example project's folder
// "examples/site" lies. The project uses the modern engine of the checker
// file shipped with the program.
class ExampleProjectTest : public ::testing::Test {
protected:
    void SetUp() override {
        previous_ = std::filesystem::current_path();
        std::filesystem::current_path(QUORVEL_SOURCE_DIR);
    }
    void TearDown() override { std::filesystem::current_path(previous_); }

    static std::vector<std::string> exampleRun(std::vector<std::string> extra) {
        std::vector<std::string> args = {"run", "--settings", "examples/example.hc", "--checker",
                                         "data/Quorvel.chk"};
        args.insert(args.end(), extra.begin(), extra.end());
        return args;
    }

private:
    std::filesystem::path previous_;
};

TEST_F(ExampleProjectTest, TextReportMatchesTheReviewedReport) {
    const CliResult result = runTool(exampleRun({}));
    EXPECT_EQ(result.status, kExitOk);
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(maskVolatile(result.out), fileBytes("tests/cli/data/example-report.txt"));
}

TEST_F(ExampleProjectTest, HtmlReportMatchesTheReviewedReport) {
    const CliResult result = runTool(exampleRun({"--format", "html"}));
    EXPECT_EQ(result.status, kExitOk);
    EXPECT_EQ(maskVolatile(result.out), fileBytes("tests/cli/data/example-report.html"));
}

// A project that names no engine runs with the generic one, whose rules are
// the built-in ones: its report stays what it was before the checker file
// shipped other engines.
TEST_F(ExampleProjectTest, ProjectWithoutEngineKeepsTheGenericReport) {
    std::string settings = fileBytes("examples/example.hc");
    const std::string engineLine = "CurrentSearchEngine=Modern Web Search (2026)\r\n";
    const std::size_t at = settings.find(engineLine);
    ASSERT_NE(at, std::string::npos);
    settings.erase(at, engineLine.size());
    ScratchFolder folder;
    ASSERT_TRUE(writeBytes(folder.file("example.hc"), settings));

    struct Case {
        const char* format;
        const char* pinned;
    };
    const Case cases[] = {{"text", "tests/cli/data/example-report-generic.txt"},
                          {"html", "tests/cli/data/example-report-generic.html"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.format);
        const CliResult result = runTool({"run", "--settings", folder.file("example.hc"),
                                          "--checker", "data/Quorvel.chk", "--format", c.format});
        EXPECT_EQ(result.status, kExitOk);
        EXPECT_EQ(result.err, "");
        EXPECT_EQ(maskVolatile(result.out), fileBytes(c.pinned));
    }
}

TEST_F(ExampleProjectTest, JsonReportHoldsEveryEntryWithSeparators) {
    const CliResult text = runTool(exampleRun({}));
    const CliResult result = runTool(exampleRun({"--format", "json", "--jobs", "3"}));
    ASSERT_EQ(result.status, kExitOk);
    const auto json = nlohmann::json::parse(result.out);
    EXPECT_EQ(json["project"], "Example site");
    EXPECT_EQ(json["keyword"], "hiking boots");
    EXPECT_EQ(json["engine"], "Modern Web Search (2026)");
    const auto& entries = json["entries"];
    ASSERT_TRUE(entries.is_array());

    // One entry per row of the text report's table, separators included.
    std::vector<std::string> lines;
    for (std::size_t at = 0, next; (next = text.out.find("\r\n", at)) != std::string::npos;
         at = next + 2) {
        lines.push_back(text.out.substr(at, next - at));
    }
    const auto header = std::find_if(lines.begin(), lines.end(), [](const std::string& line) {
        return line.rfind("Importance|File Name", 0) == 0;
    });
    ASSERT_NE(header, lines.end());
    const auto end = std::find_if(header + 2, lines.end(), [](const std::string& line) {
        return line.rfind("Importance|File-Name", 0) == 0;
    });
    EXPECT_EQ(entries.size(), static_cast<std::size_t>(end - (header + 2)));

    int separators = 0;
    for (const auto& entry : entries) {
        ASSERT_EQ(entry.size(), 6u);
        const std::string importance = entry["importance"];
        const std::string kind = entry["class"];
        if (importance == "*") {
            ++separators;
            EXPECT_EQ(kind, "Separator");
            EXPECT_EQ(entry["file"], "");
            EXPECT_EQ(entry["message"], "");
            EXPECT_EQ(entry["position"], 0);
            EXPECT_EQ(entry["checkCode"], 255);
            continue;
        }
        const std::map<std::string, std::string> classes = {
            {"W", "Warning"}, {"S", "Suggestion"}, {"T", "Tip"}, {"E", "Error"}};
        ASSERT_EQ(classes.count(importance), 1u) << importance;
        EXPECT_EQ(kind, classes.at(importance));
        EXPECT_FALSE(entry["file"].get<std::string>().empty());
        EXPECT_FALSE(entry["message"].get<std::string>().empty());
        EXPECT_LT(entry["checkCode"].get<int>(), 7 * 32);
    }
    EXPECT_EQ(separators, 8);  // nine files, one of them disabled
    EXPECT_EQ(entries[0]["file"], "index.html");
    EXPECT_EQ(entries[0]["message"],
              "The title is 62 characters long; titles over about 60 characters are often cut off "
              "or rewritten in the results.");
    EXPECT_EQ(entries[0]["checkCode"], 1);
    EXPECT_EQ(entries[0]["position"], 21);
}

// The JSON report is written by hand while the run goes on; its bytes are
// those of the document dumped with an indent of two.
TEST_F(ExampleProjectTest, JsonReportIsTheIndentedDumpOfItsDocument) {
    for (const char* jobs : {"1", "2"}) {
        SCOPED_TRACE(jobs);
        const CliResult result = runTool(exampleRun({"--format", "json", "--jobs", jobs}));
        ASSERT_EQ(result.status, kExitOk);
        EXPECT_EQ(result.out, nlohmann::ordered_json::parse(result.out).dump(2) + "\n");
    }
}

TEST_F(ExampleProjectTest, JobsDoNotChangeTheReport) {
    const std::string one = maskVolatile(runTool(exampleRun({"--jobs", "1"})).out);
    for (const char* jobs : {"2", "5", "64"}) {
        SCOPED_TRACE(jobs);
        EXPECT_EQ(maskVolatile(runTool(exampleRun({"--jobs", jobs})).out), one);
    }
}

TEST_F(ExampleProjectTest, RunNeverWritesTheSettingsOrCheckerFile) {
    const std::string settings = fileBytes("examples/example.hc");
    const std::string checker = fileBytes("data/Quorvel.chk");
    struct stat before {};
    ASSERT_EQ(::stat("examples/example.hc", &before), 0);
    for (const std::vector<std::string>& extra :
         {std::vector<std::string>{},
          {"--keyword", "rain jacket", "--engine", "Generic Engine (Template Page)"},
          {"--project", "Example site", "--format", "json"}}) {
        runTool(exampleRun(extra));
    }
    EXPECT_EQ(fileBytes("examples/example.hc"), settings);
    EXPECT_EQ(fileBytes("data/Quorvel.chk"), checker);
    struct stat after {};
    ASSERT_EQ(::stat("examples/example.hc", &after), 0);
    EXPECT_EQ(after.st_mtim.tv_sec, before.st_mtim.tv_sec);
    EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
}

TEST_F(ExampleProjectTest, KeywordAndEngineChosenForOneRun) {
    const CliResult result = runTool(exampleRun(
        {"--keyword", "waterproof socks", "--engine", "Generic Engine (Template Page)"}));
    EXPECT_EQ(result.status, kExitOk);
    EXPECT_NE(result.out.find("\r\nKeyword(s) = waterproof socks\r\n"), std::string::npos);
    EXPECT_NE(result.out.find("\r\nEngine / Directory = Generic Engine (Template Page)\r\n"),
              std::string::npos);
    // The generic engine has no tip and the default title limit.
    EXPECT_EQ(result.out.find("Tip Note"), std::string::npos);
    EXPECT_NE(result.out.find("Limit your title tag to 70 characters"), std::string::npos);
}

TEST_F(ExampleProjectTest, FailOnLevels) {
    // With the modern engine the example holds warnings (keyword stuffing,
    // hidden text) but no error.
    struct Case {
        const char* level;
        int status;
    };
    const Case cases[] = {{"error", 0}, {"warning", 1}, {"suggestion", 1}, {"tip", 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.level);
        EXPECT_EQ(runTool(exampleRun({"--fail-on", c.level})).status, c.status);
    }
}

// A stream buffer that accepts nothing, as a full disk behind standard
// output would.
class RefusingBuffer : public std::streambuf {
protected:
    int_type overflow(int_type) override { return traits_type::eof(); }
    std::streamsize xsputn(const char*, std::streamsize) override { return 0; }
};

TEST_F(ExampleProjectTest, ReportThatCannotBeWrittenIsNoSuccess) {
    const std::vector<std::string> commands[] = {
        exampleRun({}),
        exampleRun({"--format", "json"}),
        exampleRun({"--format", "html"}),
        {"check", "examples/site/index.html", "--keyword", "boots"},
        {"scan", "examples/site/index.html"},
        {"rules", "--checker", "data/Quorvel.chk", "--settings", "examples/example.hc"},
    };
    for (const std::vector<std::string>& args : commands) {
        SCOPED_TRACE(args[0] + " " + args.back());
        RefusingBuffer refusing;
        std::ostream out(&refusing);
        std::ostringstream err;
        EXPECT_EQ(runCli(args, out, err), kExitUsage);
        EXPECT_NE(err.str().find("quorvel-cli: cannot write to standard output"),
                  std::string::npos);
    }
}

TEST_F(ExampleProjectTest, UnknownProjectOrEngineIsAnError) {
    CliResult result = runTool(exampleRun({"--project", "Nope"}));
    EXPECT_EQ(result.status, kExitUsage);
    EXPECT_EQ(result.out, "");
    EXPECT_NE(result.err.find("no project named 'Nope'"), std::string::npos) << result.err;

    result = runTool(exampleRun({"--engine", "Modern web search (2026)"}));
    EXPECT_EQ(result.status, kExitUsage);
    EXPECT_EQ(result.out, "");
    EXPECT_NE(result.err.find("unknown search engine 'Modern web search (2026)'"),
              std::string::npos)
        << result.err;
    EXPECT_NE(result.err.find("'Generic Engine (Template Page)', 'Modern Web Search (2026)'"),
              std::string::npos)
        << result.err;
}

// A settings file with one project in a scratch folder.
std::string settingsText(const std::string& folder, std::string_view project) {
    return "\r\n[Projects]\r\nCount=1\r\nItem1=Site\r\nCurrent=Site\r\n\r\n[Site]\r\nFolder=" +
           folder + "\r\n" + std::string(project);
}

std::string utf16Of(std::string_view text, bool bigEndian) {
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (char c : text) {
        bytes += bigEndian ? '\0' : c;
        bytes += bigEndian ? c : '\0';
    }
    return bytes;
}

TEST(ReadingCommands, LeaveEveryFileTheyReadByteIdentical) {
    ScratchFolder folder;
    const std::string page = "<html><head><title>Hiking boots</title></head><body>boots</body>";
    ASSERT_TRUE(writeBytes(folder.file("a.html"), page));
    const std::string settings = folder.file("u.hc");
    const std::string checker = folder.file("u.chk");
    const std::string settingsBytes =
        utf16Of("\r\n[Projects]\r\nCount=1\r\nItem1=Site\r\nCurrent=Site\r\n\r\n[Site]\r\nFolder=" +
                    folder.path() +
                    "\r\nCurrentKey=hiking boots\r\nFileCount=1\r\nFile1=a.html\r\n"
                    "CurrentSearchEngine=Fell\r\n",
                false);
    const std::string checkerBytes = utf16Of(
        "\r\n[SearchEngines]\r\nCount=1\r\nItem1=Fell\r\n\r\n[Fell]\r\n1TitleValue=61\r\n", true);
    ASSERT_TRUE(writeBytes(settings, settingsBytes));
    ASSERT_TRUE(writeBytes(checker, checkerBytes));
    const std::vector<std::string> names = folder.names();

    struct Case {
        const char* name;
        std::vector<std::string> args;
        std::string_view expectedInOutput;  // proof that the files were understood
    };
    const Case cases[] = {
        {"run",
         {"run", "--settings", settings, "--checker", checker, "--format", "json"},
         "\"engine\": \"Fell\""},
        {"check",
         {"check", folder.file("a.html"), "--checker", checker, "--engine", "Fell", "--keyword",
          "boots"},
         "Fell"},
        {"rules", {"rules", "--settings", settings, "--checker", checker}, "61"},
        {"rules json",
         {"rules", "--settings", settings, "--checker", checker, "--format", "json"},
         "\"61\""},
        {"scan", {"scan", folder.file("a.html"), "--keyword", "boots"}, "title"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CliResult result = runTool(c.args);
        EXPECT_EQ(result.status, kExitOk) << result.err;
        EXPECT_NE(result.out.find(c.expectedInOutput), std::string::npos) << result.out;
        EXPECT_EQ(fileBytes(settings), settingsBytes);
        EXPECT_EQ(fileBytes(checker), checkerBytes);
        EXPECT_EQ(fileBytes(folder.file("a.html")), page);
        EXPECT_EQ(folder.names(), names);  // no backup, no temporary file
    }
}

TEST(RunCommand, StartCommandMessages) {
    ScratchFolder folder;
    ASSERT_TRUE(writeBytes(folder.file("empty.chk"), ""));
    struct Case {
        const char* name;
        std::string project;
        std::vector<std::string> extra;
        std::string message;
    };
    const Case cases[] = {
        {"no keyword",
         "FileCount=1\r\nFile1=a.html\r\n",
         {},
         "Please define a keyword before to run the check\n"},
        {"empty keyword given",
         "CurrentKey=k\r\nFileCount=1\r\nFile1=a.html\r\n",
         {"--keyword", ""},
         "Please define a keyword before to run the check\n"},
        {"no file",
         "CurrentKey=k\r\n",
         {},
         "Please add one or more files before to run the check\n"},
        {"no enabled file",
         "CurrentKey=k\r\nFileCount=2\r\nFile1=*a.html\r\nFile2=*b.html\r\n",
         {},
         "Please enable one or more files before to run the check\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(writeBytes(folder.file("q.hc"), settingsText(folder.path(), c.project)));
        std::vector<std::string> args = {"run", "--settings", folder.file("q.hc"), "--checker",
                                         folder.file("empty.chk")};
        args.insert(args.end(), c.extra.begin(), c.extra.end());
        const CliResult result = runTool(args);
        EXPECT_EQ(result.status, kExitUsage);
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.err, c.message);
    }
}

TEST(RunCommand, UnopenedFilesGoToStandardErrorAndTheReportIsStillWritten) {
    ScratchFolder folder;
    ASSERT_TRUE(writeBytes(folder.file("empty.chk"), ""));
    ASSERT_TRUE(writeBytes(folder.file("a.html"), "<html><head><title>k</title></head></html>"));
    ASSERT_TRUE(
        writeBytes(folder.file("q.hc"),
                   settingsText(folder.path(),
                                "CurrentKey=k\r\nFileCount=3\r\nFile1=gone.html\r\nFile2=a.html\r\n"
                                "File3=also gone.html\r\n")));
    const CliResult result = runTool({"run", "--settings", folder.file("q.hc"), "--checker",
                                      folder.file("empty.chk"), "--fail-on", "tip", "--jobs", "2"});
    EXPECT_EQ(result.status, kExitUsage);
    EXPECT_EQ(result.err,
              "Cannot open the HTML file: gone.html\n\nAre you looking in the correct Project "
              "Folder?\n"
              "Cannot open the HTML file: also gone.html\n\nAre you looking in the correct "
              "Project Folder?\n");
    EXPECT_NE(result.out.find("|a.html   |"), std::string::npos);  // padded to "File Name"
    EXPECT_EQ(result.out.find("gone"), std::string::npos);
}

TEST(RunCommand, NamedFilesMustBeReadable) {
    ScratchFolder folder;
    CliResult result = runTool({"run", "--settings", folder.file("missing.hc")});
    EXPECT_EQ(result.status, kExitUsage);
    EXPECT_NE(result.err.find("cannot read the settings file"), std::string::npos);

    ASSERT_TRUE(writeBytes(folder.file("a.html"), "x"));
    result = runTool({"check", folder.file("a.html"), "--keyword", "k", "--checker",
                      folder.file("missing.chk")});
    EXPECT_EQ(result.status, kExitUsage);
    EXPECT_NE(result.err.find("cannot read the checker file"), std::string::npos);
}

TEST(RunCommand, OutputFileHoldsTheReportBytes) {
    ScratchFolder folder;
    ASSERT_TRUE(writeBytes(folder.file("empty.chk"), ""));
    ASSERT_TRUE(writeBytes(folder.file("a.html"), "<html><head><title>k</title></head></html>"));
    const std::vector<std::string> base = {
        "check",     folder.file("a.html"),    "--keyword", "k",
        "--checker", folder.file("empty.chk"), "--format",  "html"};
    const CliResult shown = runTool(base);
    ASSERT_EQ(shown.status, kExitOk);

    std::vector<std::string> toFile = base;
    toFile.insert(toFile.end(), {"--output", folder.file("report.html")});
    const CliResult written = runTool(toFile);
    EXPECT_EQ(written.status, kExitOk);
    EXPECT_EQ(written.out, "");
    EXPECT_EQ(maskVolatile(fileBytes(folder.file("report.html"))), maskVolatile(shown.out));

    std::vector<std::string> nowhere = base;
    nowhere.insert(nowhere.end(), {"--output", folder.file("no/such/folder/report.html")});
    const CliResult failed = runTool(nowhere);
    EXPECT_EQ(failed.status, kExitUsage);
    EXPECT_NE(failed.err.find("cannot write the report to '" +
                              folder.file("no/such/folder/report.html") + "'"),
              std::string::npos)
        << failed.err;
}

// A checker file whose engine "Only" applies one check: Links 6, the page
// name without keyword (a Suggestion).
std::string onlyPageNameChecker() {
    std::string text = "\r\n[SearchEngines]\r\nCount=1\r\nItem1=Only\r\n\r\n[Only]\r\n";
    for (int c = 0; c < kCategoryCount; ++c) {
        for (int i = 0; i < checkCount(c); ++i) {
            const bool keep = c == 4 && i == 6;
            text += std::to_string(i) + std::string(categoryName(c)) +
                    "Enable=" + (keep ? "1" : "0") + "\r\n";
        }
    }
    return text;
}

TEST(CheckCommand, JsonReportEscapesNamesLikeItsIndentedDump) {
    ScratchFolder folder;
    ASSERT_TRUE(writeBytes(folder.file("only.chk"), onlyPageNameChecker()));
    struct Case {
        const char* name;
        std::string fileName;  // empty: no readable file, so no entry at all
    } cases[] = {
        {"quote, backslash, control bytes and Latin-1", "q\"b\\t\tc\x01\x1f\x7f\xe9.html"},
        {"plain name", "plain.html"},
        {"no entry", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string file =
            c.fileName.empty() ? folder.file("missing.html") : folder.file(c.fileName);
        if (!c.fileName.empty()) {
            ASSERT_TRUE(writeBytes(file, "<html><body>k</body></html>"));
        }
        const CliResult result =
            runTool({"check", file, "--keyword", "k \"\\\x02", "--checker", folder.file("only.chk"),
                     "--engine", "Only", "--format", "json"});
        EXPECT_EQ(result.status, c.fileName.empty() ? kExitUsage : kExitOk);
        const auto document = nlohmann::ordered_json::parse(result.out);
        EXPECT_EQ(result.out, document.dump(2) + "\n");
        EXPECT_EQ(document["entries"].size(), c.fileName.empty() ? 0u : 2u);
    }
}

TEST(CheckCommand, FailOnComparesWithTheMostSevereEntry) {
    ScratchFolder folder;
    ASSERT_TRUE(writeBytes(folder.file("only.chk"), onlyPageNameChecker()));
    ASSERT_TRUE(writeBytes(folder.file("a.html"), "<html><body>k</body></html>"));
    ASSERT_TRUE(writeBytes(folder.file("k.html"), "<html><body>k</body></html>"));
    struct Case {
        const char* file;
        const char* level;  // empty: no --fail-on
        int status;
    };
    const Case cases[] = {
        {"a.html", "", 0},           {"a.html", "error", 0}, {"a.html", "warning", 0},
        {"a.html", "suggestion", 1}, {"a.html", "tip", 1},   {"k.html", "tip", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.file) + " " + c.level);
        std::vector<std::string> args = {
            "check",     folder.file(c.file),    "--keyword", "k", "--engine", "Only",
            "--checker", folder.file("only.chk")};
        if (*c.level) args.insert(args.end(), {"--fail-on", c.level});
        EXPECT_EQ(runTool(args).status, c.status);
    }
}

TEST(CheckCommand, FilesAsGivenWithTheWordOptions) {
    ScratchFolder folder;
    const std::string name = std::string("caf\xe9") + ".html";
    ASSERT_TRUE(writeBytes(folder.file(name), "<html><body>boot boot</body></html>"));
    ASSERT_TRUE(writeBytes(folder.file("empty.chk"), ""));
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(folder.path());
    const CliResult result = runTool(
        {"check", name, "--keyword", "boots", "--final-s", "--min-word-length", "4", "--home-url",
         "http://www.boots.example/", "--format", "json", "--checker", "empty.chk"});
    const CliResult text = runTool({"check", name, "--keyword", "boots", "--final-s",
                                    "--min-word-length", "4", "--checker", "empty.chk"});
    std::filesystem::current_path(previous);

    ASSERT_EQ(result.status, kExitOk) << result.err;
    const auto json = nlohmann::json::parse(result.out);
    EXPECT_EQ(json["project"], "check");
    EXPECT_EQ(json["engine"], "Generic Engine (Template Page)");
    ASSERT_FALSE(json["entries"].empty());
    EXPECT_EQ(json["entries"][0]["file"], "caf\xc3\xa9.html");  // Latin-1 as UTF-8
    bool repeated = false;
    for (const auto& entry : json["entries"]) {
        const std::string message = entry["message"];
        // With the final-s rule the keyword is found in the domain.
        EXPECT_NE(message, "Have you considered purchasing a keyword-rich domain name?");
        // Words of 4 letters are counted: boot boot is a repetition.
        if (message.find("You have repeated 1 word(s). [boot]") != std::string::npos) {
            repeated = true;
        }
        if (entry["importance"] == "*") continue;
        EXPECT_EQ(entry["file"], "caf\xc3\xa9.html");
    }
    EXPECT_TRUE(repeated);
    EXPECT_NE(text.out.find("\r\nProject = check\r\n"), std::string::npos);
    EXPECT_NE(text.out.find("\r\nOther active options = Kill terminating 's' from words, Skip "
                            "words shorter than 4 characters\r\n"),
              std::string::npos)
        << text.out;
    EXPECT_NE(text.out.find("\r\nProject Folder = " + folder.path() + "\r\n"), std::string::npos);
}

TEST(CheckCommand, UsageErrors) {
    struct Case {
        const char* name;
        std::vector<std::string> args;
    };
    const Case cases[] = {
        {"no file", {"check", "--keyword", "k"}},
        {"no keyword", {"check", "a.html"}},
        {"missing value", {"check", "a.html", "--keyword"}},
        {"unknown option", {"check", "a.html", "--keyword", "k", "--bogus"}},
        {"bad format", {"check", "a.html", "--keyword", "k", "--format", "xml"}},
        {"bad level", {"check", "a.html", "--keyword", "k", "--fail-on", "notice"}},
        {"zero jobs", {"check", "a.html", "--keyword", "k", "--jobs", "0"}},
        {"unknown engine", {"check", "a.html", "--keyword", "k", "--engine", "Nobody"}},
        {"run with a stray argument", {"run", "extra"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CliResult result = runTool(c.args);
        EXPECT_EQ(result.status, kExitUsage);
        EXPECT_EQ(result.out, "");
        EXPECT_FALSE(result.err.empty());
    }
}

TEST(CheckCommand, HelpNamesTheExitStatuses) {
    for (const char* command : {"run", "check"}) {
        SCOPED_TRACE(command);
        const CliResult result = runTool({command, "--help"});
        EXPECT_EQ(result.status, kExitOk);
        EXPECT_NE(result.out.find("Exit status:"), std::string::npos);
        EXPECT_NE(result.out.find("--fail-on"), std::string::npos);
        EXPECT_NE(result.out.find("--jobs"), std::string::npos);
    }
    const CliResult all = runTool({"--help"});
    EXPECT_EQ(all.status, kExitOk);
    EXPECT_NE(all.out.find("run"), std::string::npos);
    EXPECT_NE(all.out.find("check"), std::string::npos);
}

}  // namespace
}  // namespace quorvel
