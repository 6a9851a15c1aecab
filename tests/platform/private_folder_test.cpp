#include "platform/private_folder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/scratch_folder.h"

namespace quorvel {
namespace {

using testing::readBytes;
using testing::ScratchFolder;
using testing::writeBytes;

TEST(PrivateFolderPath, RuntimeFolderFirstElseTemporaryFolderWithUid) {
    struct Case {
        PrivateFolderEnvironment environment;
        std::string expected;
    };
    const Case cases[] = {
        {{"/run/user/1000", "/tmp", 1000}, "/run/user/1000/quorvel"},
        {{"/run/user/1000/", "/tmp", 1000}, "/run/user/1000/quorvel"},
        {{"", "/var/tmp", 1000}, "/var/tmp/quorvel-1000"},
        {{"relative/run", "/tmp/", 42}, "/tmp/quorvel-42"},
        {{"", "", 7}, "/tmp/quorvel-7"},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.expected);
        EXPECT_EQ(privateFolderPath(test.environment), test.expected);
    }
}

// What lies at the folder's place before it is opened, and what must follow.
struct PlacementCase {
    const char* name;
    std::function<void(const std::string& path)> prepare;
    uid_t uidOffset;         // added to the real uid to play another user
    const char* problemEnd;  // empty: the folder is accepted
};

TEST(PrivateFolder, UsedOnlyWhenOwnPrivateRealFolder) {
    const PlacementCase cases[] = {
        {"missing: made with mode 0700", [](const std::string&) {}, 0, ""},
        {"own folder 0700", [](const std::string& path) { ::mkdir(path.c_str(), 0700); }, 0, ""},
        {"own folder 0755",
         [](const std::string& path) {
             ::mkdir(path.c_str(), 0700);
             ::chmod(path.c_str(), 0755);
         },
         0, "can be entered by other users"},
        {"own folder 0770",
         [](const std::string& path) {
             ::mkdir(path.c_str(), 0700);
             ::chmod(path.c_str(), 0770);
         },
         0, "can be entered by other users"},
        {"another user's folder", [](const std::string& path) { ::mkdir(path.c_str(), 0700); }, 1,
         "belongs to another user"},
        {"another user's new folder", [](const std::string&) {}, 1, "belongs to another user"},
        {"symbolic link to a private folder",
         [](const std::string& path) {
             ::mkdir((path + "-target").c_str(), 0700);
             ::symlink((path + "-target").c_str(), path.c_str());
         },
         0, "is a symbolic link or not a folder"},
        {"dangling symbolic link",
         [](const std::string& path) { ::symlink("/nonexistent/quorvel", path.c_str()); }, 0,
         "is a symbolic link or not a folder"},
        {"plain file", [](const std::string& path) { writeBytes(path, "x"); }, 0,
         "is a symbolic link or not a folder"},
    };
    for (const PlacementCase& test : cases) {
        SCOPED_TRACE(test.name);
        ScratchFolder scratch;
        const PrivateFolderEnvironment environment{"", scratch.path(), ::getuid() + test.uidOffset};
        const std::string path = privateFolderPath(environment);
        test.prepare(path);
        const PrivateFolder folder = PrivateFolder::open(environment);
        EXPECT_EQ(folder.path(), path);
        const std::string expectedEnd = test.problemEnd;
        if (expectedEnd.empty()) {
            ASSERT_TRUE(folder.ok()) << folder.problem();
            struct stat info {};
            ASSERT_EQ(::lstat(path.c_str(), &info), 0);
            EXPECT_TRUE(S_ISDIR(info.st_mode));
            EXPECT_EQ(info.st_mode & 0777, 0700u);
        } else {
            EXPECT_FALSE(folder.ok());
            EXPECT_EQ(folder.problem(), path + ": " + expectedEnd);
            EXPECT_EQ(folder.writeFile("QuorvelReport.html", "x"), EBADF);
        }
    }
}

TEST(PrivateFolder, WriteReplacesAPlantedLinkWithoutFollowingIt) {
    ScratchFolder scratch;
    const PrivateFolderEnvironment environment{scratch.path(), "/tmp", ::getuid()};
    const PrivateFolder folder = PrivateFolder::open(environment);
    ASSERT_TRUE(folder.ok()) << folder.problem();
    EXPECT_EQ(folder.path(), scratch.path() + "/quorvel");

    const std::string victim = scratch.file("victim.txt");
    ASSERT_TRUE(writeBytes(victim, "keep me"));
    const std::string report = folder.filePath("QuorvelReport.html");
    ASSERT_EQ(::symlink(victim.c_str(), report.c_str()), 0);

    EXPECT_EQ(folder.writeFile("QuorvelReport.html", "<html>\r\n</html>\r\n"), 0);
    EXPECT_EQ(readBytes(victim), "keep me");
    struct stat info {};
    ASSERT_EQ(::lstat(report.c_str(), &info), 0);
    EXPECT_TRUE(S_ISREG(info.st_mode));
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    EXPECT_EQ(readBytes(report), "<html>\r\n</html>\r\n");

    // A second write replaces the first; no new files are left behind.
    EXPECT_EQ(folder.writeFile("QuorvelReport.html", "two"), 0);
    EXPECT_EQ(readBytes(report), "two");
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path()))
        names.push_back(entry.path().filename().string());
    EXPECT_EQ(names, std::vector<std::string>{"QuorvelReport.html"});
}

TEST(PrivateFolder, RefusesNamesOutsideTheFolder) {
    ScratchFolder scratch;
    const PrivateFolder folder = PrivateFolder::open({"", scratch.path(), ::getuid()});
    ASSERT_TRUE(folder.ok());
    for (const char* name : {"", "../escape.html", "sub/file.html"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(folder.writeFile(name, "x"), EINVAL);
    }
}

}  // namespace
}  // namespace quorvel
