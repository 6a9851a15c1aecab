#include "platform/program_paths.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

namespace quorvel {
namespace {

TEST(JoinFolderAndName, Cases) {
    struct Case {
        const char* name;
        std::string folder, file, expected;
    } cases[] = {
        {"relative name", "/srv/site", "index.html", "/srv/site/index.html"},
        {"folder ends in a slash", "/srv/site/", "index.html", "/srv/site/index.html"},
        {"name in a subfolder", "/srv/site", "sub/page.htm", "/srv/site/sub/page.htm"},
        {"absolute name unchanged", "/srv/site", "/tmp/a.html", "/tmp/a.html"},
        {"empty folder keeps a relative name relative", "", "etc/hostname", "etc/hostname"},
        {"empty folder keeps an absolute name", "", "/srv/a.html", "/srv/a.html"},
        {"name with a colon is still relative", "/srv/site", "c:page.html",
         "/srv/site/c:page.html"},
        {"backslashes are ordinary bytes", "/srv/site", "sub\\p.htm", "/srv/site/sub\\p.htm"},
        {"empty name", "/srv/site", "", "/srv/site/"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(joinFolderAndName(c.folder, c.file), c.expected);
    }
}

TEST(UserConfigFolder, Cases) {
    struct Case {
        const char* name;
        ConfigEnvironment environment;
        std::string expected;
    } cases[] = {
        {"XDG value", {"/home/ann/cfg", "/home/ann"}, "/home/ann/cfg/Maltrane/Quorvel"},
        {"XDG value with a slash",
         {"/home/ann/cfg/", "/home/ann"},
         "/home/ann/cfg/Maltrane/Quorvel"},
        {"no XDG value", {"", "/home/ann"}, "/home/ann/.config/Maltrane/Quorvel"},
        {"relative XDG value ignored", {"cfg", "/home/ann"}, "/home/ann/.config/Maltrane/Quorvel"},
        {"nothing known", {"", ""}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(userConfigFolder(c.environment), c.expected);
    }
}

TEST(ProgramFilePath, PortableOrUserFolder) {
    const ConfigEnvironment environment{"", "/home/ann"};
    struct Case {
        const char* name;
        std::string programFolder;
        ProgramFolderState state;
        std::string expected;
    } cases[] = {
        {"writable program folder", "/opt/quorvel", {true, false}, "/opt/quorvel/Quorvel.hc"},
        {"file present in a read-only folder",
         "/opt/quorvel",
         {false, true},
         "/opt/quorvel/Quorvel.hc"},
        {"read-only folder without the file",
         "/usr/bin",
         {false, false},
         "/home/ann/.config/Maltrane/Quorvel/Quorvel.hc"},
        {"program folder unknown",
         "",
         {false, false},
         "/home/ann/.config/Maltrane/Quorvel/Quorvel.hc"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(programFilePath(c.programFolder, kSettingsFileName, c.state, environment),
                  c.expected);
    }
    EXPECT_EQ(programFilePath("/usr/bin", kCheckerFileName, {false, false}, {"", ""}),
              "/usr/bin/Quorvel.chk");
}

TEST(ProgramFolder, IsTheFolderOfThisTestProgram) {
    const std::string folder = programFolder();
    ASSERT_FALSE(folder.empty());
    const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
    EXPECT_EQ(folder + "/" + std::filesystem::path(self).filename().string(), self);
    // The test program's folder is writable, so its files are looked up there.
    if (::access(folder.c_str(), W_OK) == 0) {
        EXPECT_EQ(defaultSettingsPath(), folder + "/Quorvel.hc");
        EXPECT_EQ(checkerFilePath(), folder + "/Quorvel.chk");
    }
}

}  // namespace
}  // namespace quorvel
