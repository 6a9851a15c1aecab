// quorvel-cli given hostile or careless input: every case ends in a clear
// message and a status, never in unbounded memory, lost or destroyed data,
// or a silent wrong result.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "checks/check_catalogue.h"
#include "checks/checker_file.h"
#include "cli/cli.h"
#include "platform/scratch_folder.h"

namespace quorvel {
namespace {

using testing::readBytes;
using testing::ScratchFolder;
using testing::writeBytes;

struct CliResult {
    int status = 0;
    std::string out;
    std::string err;
};

// Runs the tool in-process. No message may show the library's own words.
CliResult runTool(const std::vector<std::string>& args, bool outIsTerminal = false) {
    std::ostringstream out;
    std::ostringstream err;
    CliResult result;
    result.status = runCli(args, out, err, outIsTerminal);
    result.out = out.str();
    result.err = err.str();
    EXPECT_EQ(result.err.find("std::"), std::string::npos) << result.err;
    return result;
}

// Starts the real binary with its output in files of `folder`; `environment`
// entries ("NAME=value") are added to the process's.
pid_t startBinary(const std::vector<std::string>& args, const std::string& outPath,
                  const std::string& errPath, const std::vector<std::string>& environment = {}) {
    const pid_t child = ::fork();
    if (child != 0) return child;
    const int out = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (out < 0 || err < 0) ::_exit(127);
    ::dup2(out, STDOUT_FILENO);
    ::dup2(err, STDERR_FILENO);
    for (const std::string& entry : environment)
        ::putenv(const_cast<char*>(entry.c_str()));
    std::vector<char*> argv;
    std::string program = QUORVEL_CLI_PATH;
    argv.push_back(program.data());
    std::vector<std::string> copies = args;
    for (std::string& arg : copies)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    ::execv(argv[0], argv.data());
    ::_exit(127);
}

int waitForExit(pid_t child) {
    int status = 0;
    if (::waitpid(child, &status, 0) != child) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

CliResult runBinary(const std::vector<std::string>& args, const ScratchFolder& folder,
                    const std::vector<std::string>& environment = {}) {
    const std::string outPath = folder.file("stdout.txt");
    const std::string errPath = folder.file("stderr.txt");
    CliResult result;
    result.status = waitForExit(startBinary(args, outPath, errPath, environment));
    result.out = readBytes(outPath).value_or("");
    result.err = readBytes(errPath).value_or("");
    return result;
}

const std::string kPage = "<html><head><title>hiking boots</title></head><body>boots</body></html>";

std::string settingsFor(const std::string& folderLine, const std::vector<std::string>& files,
                        const std::string& keyword = "boots") {
    std::string text = "\r\n[Projects]\r\nCount=1\r\nItem1=P\r\nCurrent=P\r\n\r\n[P]\r\n" +
                       folderLine + "CurrentKey=" + keyword +
                       "\r\nFileCount=" + std::to_string(files.size()) + "\r\n";
    for (std::size_t n = 0; n < files.size(); ++n) {
        text += "File" + std::to_string(n + 1) + "=" + files[n] + "\r\n";
    }
    return text;
}

// Makes `path` a sparse file announcing `size` bytes.
void makeSparse(const std::string& path, off_t size) {
    ASSERT_TRUE(writeBytes(path, ""));
    ASSERT_EQ(::truncate(path.c_str(), size), 0);
}

// Runs with the current folder set to `folder`, and back.
class InFolder {
public:
    explicit InFolder(const std::string& folder) : previous_(std::filesystem::current_path()) {
        std::filesystem::current_path(folder);
    }
    ~InFolder() { std::filesystem::current_path(previous_); }

private:
    std::filesystem::path previous_;
};

TEST(HostileInput, OversizedFilesAreRefusedByName) {
    ScratchFolder folder;
    const std::string page = folder.file("page.html");
    ASSERT_TRUE(writeBytes(page, kPage));
    const std::string hugePage = folder.file("huge.html");
    makeSparse(hugePage, off_t{1} << 31);
    const std::string hugeSettings = folder.file("huge.hc");
    makeSparse(hugeSettings, (off_t{64} << 20) + 1);
    const std::string hugeChecker = folder.file("huge.chk");
    makeSparse(hugeChecker, off_t{1} << 30);
    const std::string settings = folder.file("p.hc");
    ASSERT_TRUE(writeBytes(
        settings, settingsFor("Folder=" + folder.path() + "\r\n", {"page.html", "huge.html"})));
    struct Case {
        std::vector<std::string> args;
        std::string message;
    } cases[] = {
        {{"run", "--settings", hugeSettings},
         "settings file '" + hugeSettings + "': larger than 64 MiB"},
        {{"run", "--settings", settings, "--checker", hugeChecker},
         "checker file '" + hugeChecker + "': larger than 64 MiB"},
        {{"check", page, "--checker", hugeChecker, "--keyword", "boots"}, "huge.chk"},
        {{"rules", "--checker", hugeChecker, "--settings", settings}, "huge.chk"},
        {{"check", page, hugePage, "--keyword", "boots"}, "Cannot open the HTML file: " + hugePage},
        {{"run", "--settings", settings}, "Cannot open the HTML file: huge.html"},
        {{"scan", hugePage}, hugePage + ": larger than 2147483647 bytes"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args[0] + " " + c.message);
        const CliResult result = runTool(c.args);
        EXPECT_EQ(result.status, kExitUsage);
        EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
    }
    // The page beside the huge one is still reported.
    EXPECT_NE(runTool({"check", page, hugePage, "--keyword", "boots"}).out.find("page.html"),
              std::string::npos);
}

// Memory that runs out ends the command with a plain message and status 2,
// never with the library's words or an abort. The tool runs under shrinking
// address-space limits until one is too small for a long file list.
TEST(HostileInput, OutOfMemoryEndsInAPlainMessage) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer needs more address space than any limit here";
#endif
    ScratchFolder folder;
    // Disabled files: a run that has the memory ends at once, with nothing
    // to check.
    std::vector<std::string> files;
    for (int n = 0; n < 100000; ++n) {
        std::string name = "*p";
        name += std::to_string(n);
        files.push_back(std::move(name));
    }
    const std::string settings = folder.file("many.hc");
    ASSERT_TRUE(writeBytes(settings, settingsFor("Folder=" + folder.path() + "\r\n", files)));
    const std::string checker = folder.file("q.chk");
    ASSERT_TRUE(writeBytes(checker, ""));
    bool ranOut = false;
    for (rlim_t megabytes = 64; megabytes >= 12 && !ranOut; megabytes -= 4) {
        SCOPED_TRACE(megabytes);
        const std::string errPath = folder.file("err.txt");
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            const rlimit limit{megabytes << 20, megabytes << 20};
            ::setrlimit(RLIMIT_AS, &limit);
            const int null = ::open("/dev/null", O_WRONLY);
            const int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            ::dup2(null, STDOUT_FILENO);
            ::dup2(err, STDERR_FILENO);
            ::execl(QUORVEL_CLI_PATH, QUORVEL_CLI_PATH, "run", "--settings", settings.c_str(),
                    "--checker", checker.c_str(), static_cast<char*>(nullptr));
            ::_exit(127);
        }
        const int status = waitForExit(child);
        const std::string err = readBytes(errPath).value_or("");
        EXPECT_EQ(err.find("std::"), std::string::npos) << err;
        EXPECT_EQ(status, kExitUsage) << err;
        ranOut = err.find("quorvel-cli: out of memory") == 0;
        if (!ranOut) {
            EXPECT_EQ(err, "Please enable one or more files before to run the check\n");
        }
    }
    EXPECT_TRUE(ranOut) << "no limit made the run fail for memory";
}

TEST(HostileInput, FileAnnouncingSizeZeroIsReadToItsEnd) {
    ScratchFolder folder;
    // The tool's own environment, read through a file that announces size 0.
    const CliResult result = runBinary({"scan", "/proc/self/environ", "--keyword", "boots"}, folder,
                                       {"QUORVEL_PAGE=" + kPage});
    ASSERT_EQ(result.status, kExitOk) << result.err;
    const auto facts = nlohmann::json::parse(result.out);
    EXPECT_EQ(facts["titleKeywordCount"], 1);
    EXPECT_EQ(facts["titleLength"], 12);
}

TEST(HostileInput, OutputThatIsAnInputIsRefused) {
    ScratchFolder folder;
    const std::string page = folder.file("victim.html");
    const std::string checker = folder.file("v.chk");
    const std::string settings = folder.file("v.hc");
    const std::string link = folder.file("link.html");
    const std::string hardLink = folder.file("hard.html");
    ASSERT_TRUE(writeBytes(page, kPage));
    ASSERT_TRUE(writeBytes(checker, "\r\n[SearchEngines]\r\nCount=0\r\n"));
    ASSERT_TRUE(
        writeBytes(settings, settingsFor("Folder=" + folder.path() + "\r\n", {"victim.html"})));
    ASSERT_EQ(::symlink(page.c_str(), link.c_str()), 0);
    ASSERT_EQ(::link(page.c_str(), hardLink.c_str()), 0);
    const std::vector<std::string> check = {"check",     page,    "--keyword", "boots",
                                            "--checker", checker, "-o"};
    const std::vector<std::string> run = {"run",       "--settings", settings,
                                          "--checker", checker,      "-o"};
    struct Case {
        std::vector<std::string> args;
        std::string output;
    } cases[] = {
        {check, page}, {check, link},   {check, hardLink}, {check, checker},
        {run, page},   {run, settings}, {run, checker},
    };
    for (Case& c : cases) {
        SCOPED_TRACE(c.args[0] + " -o " + c.output);
        c.args.push_back(c.output);
        const CliResult result = runTool(c.args);
        EXPECT_EQ(result.status, kExitUsage);
        EXPECT_NE(result.err.find("writing the report would destroy it"), std::string::npos)
            << result.err;
        EXPECT_EQ(readBytes(page), kPage);
        EXPECT_EQ(readBytes(checker), "\r\n[SearchEngines]\r\nCount=0\r\n");
    }
    // Another file is written as before.
    std::vector<std::string> args = check;
    args.push_back(folder.file("report.txt"));
    EXPECT_EQ(runTool(args).status, kExitOk);
    EXPECT_NE(readBytes(folder.file("report.txt")).value_or("").find("victim.html"),
              std::string::npos);
}

TEST(HostileInput, LongestOutputNamesAreWritten) {
    ScratchFolder folder;
    const std::string page = folder.file("p.html");
    ASSERT_TRUE(writeBytes(page, kPage));
    for (std::size_t length : {250u, 255u}) {
        SCOPED_TRACE(length);
        const std::string output = folder.file(std::string(length, 'o'));
        for (int round = 0; round < 2; ++round) {  // created, then replaced
            const CliResult result =
                runTool({"check", page, "--keyword", "boots", "--format", "json", "-o", output});
            EXPECT_EQ(result.status, kExitOk) << result.err;
            EXPECT_NE(readBytes(output).value_or("").find("\"entries\""), std::string::npos);
        }
    }
    EXPECT_EQ(folder.names().size(), 3u);  // the page and two reports
}

TEST(HostileInput, OverlongKeywordIsRefusedEverywhere) {
    ScratchFolder folder;
    const std::string page = folder.file("p.html");
    ASSERT_TRUE(writeBytes(page, kPage));
    const std::string longest(2047, 'k');
    const std::string tooLong(2048, 'k');
    const std::string settings = folder.file("long.hc");
    ASSERT_TRUE(
        writeBytes(settings, settingsFor("Folder=" + folder.path() + "\r\n", {"p.html"}, tooLong)));
    const std::string checker = folder.file("q.chk");
    ASSERT_TRUE(writeBytes(checker, ""));
    struct Case {
        std::vector<std::string> args;
        bool refused;
    } cases[] = {
        {{"check", page, "--keyword", tooLong}, true},
        {{"scan", page, "--keyword", tooLong}, true},
        {{"run", "--settings", settings, "--checker", checker}, true},
        {{"run", "--settings", settings, "--checker", checker, "--keyword", tooLong}, true},
        {{"check", page, "--keyword", longest}, false},
        {{"scan", page, "--keyword", longest}, false},
        {{"run", "--settings", settings, "--checker", checker, "--keyword", longest}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args[0] + (c.refused ? " refused" : " accepted"));
        const CliResult result = runTool(c.args);
        if (c.refused) {
            EXPECT_EQ(result.status, kExitUsage);
            EXPECT_NE(result.err.find("the keyword is 2048 bytes long; at most 2047"),
                      std::string::npos)
                << result.err;
            EXPECT_EQ(result.out, "");
        } else {
            EXPECT_NE(result.status, kExitUsage) << result.err;
        }
    }
}

TEST(HostileInput, EmptyFolderMeansTheCurrentFolder) {
    ScratchFolder folder;
    ASSERT_TRUE(std::filesystem::create_directories(folder.file("site/etc")));
    ASSERT_TRUE(writeBytes(folder.file("site/etc/page.html"), kPage));
    const std::string settings = folder.file("p.hc");
    ASSERT_TRUE(writeBytes(settings, settingsFor("", {"etc/page.html", "etc/hostname"})));
    const std::string checker = folder.file("q.chk");
    ASSERT_TRUE(writeBytes(checker, ""));
    const std::vector<std::string> run = {"run", "--settings", settings, "--checker", checker};
    {
        const InFolder inSite(folder.file("site"));
        const CliResult result = runTool(run);
        // etc/page.html is found here; etc/hostname is not, and /etc is never looked in.
        EXPECT_EQ(result.status, kExitUsage);
        EXPECT_NE(result.out.find("etc/page.html"), std::string::npos);
        EXPECT_EQ(result.err,
                  "Cannot open the HTML file: etc/hostname\n\nAre you looking in the correct "
                  "Project Folder?\n");
    }
    // A current folder that was removed cannot be determined.
    ASSERT_TRUE(std::filesystem::create_directories(folder.file("gone")));
    const InFolder inGone(folder.file("gone"));
    ASSERT_EQ(::rmdir(folder.file("gone").c_str()), 0);
    for (const std::vector<std::string>& args :
         {run, std::vector<std::string>{"check", "etc/hostname", "--keyword", "x"}}) {
        SCOPED_TRACE(args[0]);
        const CliResult result = runTool(args);
        EXPECT_EQ(result.status, kExitUsage);
        EXPECT_NE(result.err.find("the current folder cannot be determined"), std::string::npos)
            << result.err;
        EXPECT_EQ(result.out, "");
    }
}

TEST(HostileInput, JsonTextsKeepValidUtf8) {
    ScratchFolder folder;
    const InFolder inFolder(folder.path());
    ASSERT_TRUE(writeBytes("\xc3\xa9.html", "<title>b\xc3\xa9ton</title>"));
    ASSERT_TRUE(writeBytes("\xe9.html", "<title>b\xe9ton</title>"));
    const CliResult result = runTool(
        {"check", "\xc3\xa9.html", "\xe9.html", "--keyword", "b\xc3\xa9ton", "--format", "json"});
    ASSERT_EQ(result.status, kExitOk) << result.err;
    const auto json = nlohmann::json::parse(result.out);
    EXPECT_EQ(json["keyword"], "b\xc3\xa9ton");
    std::vector<std::string> files;
    for (const auto& entry : json["entries"]) {
        const std::string file = entry["file"];
        if (!file.empty() && (files.empty() || files.back() != file)) files.push_back(file);
    }
    // A UTF-8 name as it is; an 8-bit one byte by byte, which for this byte
    // gives the same text.
    EXPECT_EQ(files, std::vector<std::string>{"\xc3\xa9.html"});
    EXPECT_EQ(result.out.find("\xc3\x83\xc2\xa9"), std::string::npos) << "no \"\xc3\x83\xc2\xa9\"";
    EXPECT_NE(result.out.find("\"keyword\": \"b\xc3\xa9ton\""), std::string::npos);
}

TEST(HostileInput, ControlCharactersAreEscapedForTerminals) {
    ScratchFolder folder;
    const InFolder inFolder(folder.path());
    const std::string name = "a\nError     |forged|\x1b[2J.html";
    ASSERT_TRUE(writeBytes(name, "<title>t\x1b]0;owned\x07</title>"));
    const std::string escapedName = "a\\nError     |forged|\\x1b[2J.html";
    for (const char* format : {"text", "html"}) {
        SCOPED_TRACE(format);
        const std::vector<std::string> args = {"check", name, "--keyword", "t", "--format", format};
        const CliResult terminal = runTool(args, true);
        EXPECT_EQ(terminal.status, kExitOk);
        EXPECT_EQ(terminal.out.find('\x1b'), std::string::npos);
        EXPECT_EQ(terminal.out.find('\x07'), std::string::npos);
        EXPECT_NE(terminal.out.find(escapedName), std::string::npos);
        // A file, or a pipe, keeps the bytes.
        EXPECT_NE(runTool(args, false).out.find(name), std::string::npos);
        std::vector<std::string> toFile = args;
        toFile.insert(toFile.end(), {"-o", "report"});
        EXPECT_EQ(runTool(toFile, true).status, kExitOk);
        EXPECT_NE(readBytes("report").value_or("").find(name), std::string::npos);
    }
    // Standard error shows every name escaped.
    const CliResult missing = runTool({"check", "gone\x1b[2J\n.html", "--keyword", "t"});
    EXPECT_EQ(missing.status, kExitUsage);
    EXPECT_NE(missing.err.find("Cannot open the HTML file: gone\\x1b[2J\\n.html\n"),
              std::string::npos)
        << missing.err;
    const CliResult settings = runTool({"run", "--settings", "no\x1b.hc"});
    EXPECT_NE(settings.err.find("'no\\x1b.hc'"), std::string::npos) << settings.err;
}

TEST(HostileInput, OutputErrorsAndUnknownCommands) {
    std::ostream failing(nullptr);  // every write fails
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--help"}, {"--version"}, {"rules", "--help"}}) {
        SCOPED_TRACE(args[0]);
        std::ostringstream err;
        EXPECT_EQ(runCli(args, failing, err), kExitUsage);
        EXPECT_NE(err.str().find("cannot write to standard output"), std::string::npos);
    }
    const CliResult unknown = runTool({"frobnicate", "--x"});
    EXPECT_EQ(unknown.status, kExitUsage);
    EXPECT_NE(unknown.err.find("unknown command 'frobnicate'"), std::string::npos) << unknown.err;
    EXPECT_EQ(runTool({"--version"}).status, kExitOk);

    if (std::filesystem::exists("/dev/full")) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            const int full = ::open("/dev/full", O_WRONLY);
            const int null = ::open("/dev/null", O_WRONLY);
            ::dup2(full, STDOUT_FILENO);
            ::dup2(null, STDERR_FILENO);
            ::execl(QUORVEL_CLI_PATH, QUORVEL_CLI_PATH, "--help", static_cast<char*>(nullptr));
            ::_exit(127);
        }
        EXPECT_EQ(waitForExit(child), kExitUsage);
    }
}

// The text the n-th program writes.
std::string changedValue(std::size_t n) {
    std::string text = std::to_string(n);
    text.insert(0, 1, 'v');
    return text;
}

// Twenty programs change one checker file at once, each a field of its own:
// every change lands, or the program that could not make it says so.
TEST(HostileInput, ConcurrentRuleChangesAllLand) {
    ScratchFolder folder;
    const std::string checker = folder.file("Quorvel.chk");
    const std::string settings = folder.file("Quorvel.hc");
    ASSERT_TRUE(writeBytes(checker,
                           "\r\n[SearchEngines]\r\nCount=1\r\nItem1=Generic Engine "
                           "(Template Page)\r\n"));
    ASSERT_TRUE(writeBytes(settings, ""));
    struct Change {
        int category;
        int index;
        pid_t process;
    };
    std::vector<Change> changes;
    for (int c = 0; c < kCategoryCount && changes.size() < 20; ++c) {
        for (int i = 0; i < checkCount(c) && changes.size() < 20; ++i)
            changes.push_back({c, i, 0});
    }
    for (std::size_t n = 0; n < changes.size(); ++n) {
        Change& change = changes[n];
        const std::string key =
            std::to_string(change.index) + std::string(categoryName(change.category)) + "Value";
        change.process = startBinary({"rules", "--checker", checker, "--settings", settings,
                                      "--set", key + "=" + changedValue(n)},
                                     "/dev/null", folder.file("err" + std::to_string(n)));
        ASSERT_GT(change.process, 0);
    }
    std::vector<int> statuses;
    for (const Change& change : changes)
        statuses.push_back(waitForExit(change.process));

    CheckerFile file;
    ASSERT_TRUE(file.open(checker));
    for (std::size_t n = 0; n < changes.size(); ++n) {
        SCOPED_TRACE(n);
        const std::string err = readBytes(folder.file("err" + std::to_string(n))).value_or("");
        const std::string value =
            file.effectiveField(changes[n].category, changes[n].index, CheckField::Value);
        if (statuses[n] == kExitOk) {
            EXPECT_EQ(value, changedValue(n));
        } else {
            EXPECT_EQ(statuses[n], kExitUsage);
            EXPECT_NE(err.find("being changed by another program"), std::string::npos) << err;
        }
    }
    EXPECT_EQ(std::count(statuses.begin(), statuses.end(), kExitOk), 20);
    // Nothing but the two files is left in the folder besides the error files.
    for (const std::string& name : folder.names())
        EXPECT_TRUE(name.rfind("err", 0) == 0 || name.rfind("Quorvel.", 0) == 0) << name;
}

}  // namespace
}  // namespace quorvel
