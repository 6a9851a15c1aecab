// quorvel-cli import and update-checker against a server on 127.0.0.1.

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>

#include "cli/cli.h"
#include "net/loopback_server.h"
#include "platform/scratch_folder.h"
#include "settings/user_settings.h"

namespace quorvel {
namespace {

using testing::LoopbackServer;
using testing::readBytes;
using testing::writeBytes;

constexpr std::string_view kNewChecker = "\r\n[SearchEngines]\r\nCount=1\r\nItem1=Fresh\r\n";
constexpr std::string_view kOldChecker = "\r\n[SearchEngines]\r\nCount=1\r\nItem1=Old\r\n";

void site(LoopbackServer&, const std::string& request, int fd) {
    const std::string path = testing::requestPath(request);
    if (path == "/site/page.htm") {
        LoopbackServer::respond(fd, "HTTP/1.0 200 OK", "", "<html>new</html>");
    } else if (path == "/site/short.htm") {
        LoopbackServer::send(fd, "HTTP/1.0 200 OK\r\nContent-Length: 100\r\n\r\nonly ten b");
    } else if (path == "/CheckerFile/Quorvel.chk") {
        // "ann:secret" in Basic form.
        if (request.find("\r\nAuthorization: Basic YW5uOnNlY3JldA==\r\n") == std::string::npos) {
            LoopbackServer::respond(fd, "HTTP/1.0 401 Unauthorized", "", "");
        } else {
            LoopbackServer::respond(fd, "HTTP/1.0 200 OK", "", kNewChecker);
        }
    } else {
        LoopbackServer::respond(fd, "HTTP/1.0 404 Not Found", "", "");
    }
}

struct CliRun {
    int status;
    std::string out;
    std::string err;
};

CliRun cli(std::vector<std::string> args) {
    std::ostringstream out;
    std::ostringstream err;
    const int status = runCli(std::move(args), out, err);
    return {status, out.str(), err.str()};
}

class WebCommands : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"http_proxy", "HTTP_PROXY", "all_proxy", "ALL_PROXY"}) {
            ::unsetenv(name);
        }
        ::mkdir(folder_.file("site").c_str(), 0755);
        writeSettings(folder_.file("site"), server_.url("/CheckerFile/Quorvel.chk"));
        writeBytes(checker_, std::string(kOldChecker));
        writeBytes(folder_.file("password"), "secret\n");
    }
    void writeSettings(const std::string& projectFolder, const std::string& updateUrl) {
        writeBytes(settings_,
                   "\r\n[Projects]\r\nCount=1\r\nItem1=Site\r\nCurrent=Site\r\n"
                   "\r\n[Site]\r\nFolder=" +
                       projectFolder + "\r\nHome Url=" + server_.url("/site/") +
                       "\r\nFile1=*Index.htm\r\nFileCount=1\r\n"
                       "\r\n[Options]\r\nCheckerUpdateUrl=" +
                       updateUrl + "\r\n");
    }
    // The project's files as "name;" each, a disabled one with '*'.
    std::string listedFiles() {
        UserSettings settings;
        settings.open(settings_);
        std::string files;
        for (const UserSettings::FileItem& item : settings.files()) {
            files += (item.enabled ? "" : "*") + item.name + ";";
        }
        return files;
    }

    testing::ScratchFolder folder_;
    LoopbackServer server_{site};
    std::string settings_ = folder_.file("Quorvel.hc");
    std::string checker_ = folder_.file("Quorvel.chk");
};

TEST_F(WebCommands, ImportDownloadsIntoTheProjectFolderAndListsTheFile) {
    const std::string page = folder_.file("site/page.htm");
    struct Case {
        const char* name;
        std::vector<std::string> args;
        int status;
        const char* out;
        std::optional<std::string> content;  // of site/page.htm afterwards
        const char* listed;
    };
    const std::string url = server_.url("/site/page.htm");
    const Case cases[] = {
        {"new page", {url}, 0, "Completed!\n", "<html>new</html>", "*Index.htm;page.htm;"},
        {"exists", {url}, 2, "", "<html>new</html>", "*Index.htm;page.htm;"},
        {"failed import keeps the page",
         {server_.url("/site/gone.htm"), "--name", "page.htm", "--force"},
         1,
         "Error: Bad url\n",
         "<html>new</html>",
         "*Index.htm;page.htm;"},
        {"short body",
         {server_.url("/site/short.htm")},
         1,
         "Error: Timeout\n",
         "<html>new</html>",
         "*Index.htm;page.htm;"},
        {"listed prefix",
         {url, "--name", "index.h", "--force"},
         0,
         "Completed!\n",
         "<html>new</html>",
         "*Index.htm;page.htm;"},
        {"other name",
         {url, "--name", "copy.htm"},
         0,
         "Completed!\n",
         "<html>new</html>",
         "*Index.htm;page.htm;copy.htm;"},
        {"bare scheme", {"http://"}, 2, "", "<html>new</html>", "*Index.htm;page.htm;copy.htm;"},
        {"no file part",
         {server_.url("/")},
         2,
         "",
         "<html>new</html>",
         "*Index.htm;page.htm;copy.htm;"},
        {"name outside the folder",
         {url, "--name", "../x.htm"},
         2,
         "",
         "<html>new</html>",
         "*Index.htm;page.htm;copy.htm;"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"import"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        args.insert(args.end(), {"--settings", settings_});
        const CliRun run = cli(args);
        EXPECT_EQ(run.status, c.status) << c.name << ": " << run.err;
        EXPECT_EQ(run.out, c.out) << c.name;
        EXPECT_EQ(readBytes(page), c.content) << c.name;
        EXPECT_EQ(listedFiles(), c.listed) << c.name;
    }
    EXPECT_EQ(readBytes(folder_.file("site/short.htm")), std::nullopt);
    EXPECT_EQ(readBytes(folder_.file("site/index.h")), "<html>new</html>");

    writeSettings("", "");
    const CliRun noFolder = cli({"import", url, "--settings", settings_});
    EXPECT_EQ(noFolder.status, 2);
    EXPECT_NE(noFolder.err.find("You can import files from online"), std::string::npos);
}

TEST_F(WebCommands, UpdateReplacesTheCheckerFileOnlyWhenTheDownloadCompletes) {
    const std::string backup = folder_.file("Quorvel.old");
    writeBytes(folder_.file("wrong"), "guess\n");
    writeBytes(folder_.file("empty"), "");
    struct Case {
        const char* name;
        const char* passwordFile;
        int status;
        const char* out;
        std::string_view checker;
    };
    const Case cases[] = {
        {"wrong password", "wrong", 1, "Error: Authorization required\n", kOldChecker},
        {"no password", "empty", 2, "", kOldChecker},
        {"right password", "password", 0, "Completed!\n", kNewChecker},
    };
    for (const Case& c : cases) {
        const CliRun run = cli({"update-checker", "--checker", checker_, "--settings", settings_,
                                "--user", "ann", "--password-file", folder_.file(c.passwordFile)});
        EXPECT_EQ(run.status, c.status) << c.name << ": " << run.err;
        EXPECT_EQ(run.out, c.out) << c.name;
        EXPECT_EQ(readBytes(checker_), std::string(c.checker)) << c.name;
        EXPECT_EQ(run.err.find("secret"), std::string::npos) << c.name;
    }
    EXPECT_EQ(readBytes(backup), std::string(kOldChecker));

    // A password never travels unencrypted to another machine.
    writeSettings(folder_.file("site"), "http://updates.example.invalid/CheckerFile/Quorvel.chk");
    const std::size_t requests = server_.requests().size();
    const CliRun clear = cli({"update-checker", "--checker", checker_, "--settings", settings_,
                              "--user", "ann", "--password-file", folder_.file("password")});
    EXPECT_EQ(clear.status, 2);
    EXPECT_NE(clear.err.find("https://"), std::string::npos) << clear.err;
    EXPECT_EQ(readBytes(checker_), std::string(kNewChecker));
    EXPECT_EQ(server_.requests().size(), requests);
}

TEST_F(WebCommands, UpdateReadsThePasswordFromStandardInput) {
    const std::string command = std::string("printf 'secret\\n' | '") + QUORVEL_CLI +
                                "' update-checker --checker '" + checker_ + "' --settings '" +
                                settings_ + "' --user ann 2>/dev/null";
    FILE* pipe = ::popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    char line[256] = {};
    const bool read = std::fgets(line, sizeof line, pipe) != nullptr;
    const int status = ::pclose(pipe);
    EXPECT_TRUE(read);
    EXPECT_STREQ(line, "Completed!\n");
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(readBytes(checker_), std::string(kNewChecker));
}

}  // namespace
}  // namespace quorvel
