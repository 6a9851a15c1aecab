#include "platform/file_io.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "platform/faulty_file_calls.h"
#include "platform/scratch_folder.h"

namespace quorvel {
namespace {

using testing::FaultyFileCalls;
using testing::readBytes;
using testing::ScratchFolder;
using testing::writeBytes;
using Fault = FaultyFileCalls::Fault;

const std::string kOld = "\r\n[Projects]\r\nItem1=Default\r\nCount=1\r\n";
const std::string kNew = "\r\n[Projects]\r\nItem1=Other\r\nCount=1\r\n";

mode_t permissionsOf(const std::string& path) {
    struct stat info {};
    ::stat(path.c_str(), &info);
    return info.st_mode & 07777;
}

TEST(ReplaceFileContent, FailureAtAnyStepKeepsTheOldFile) {
    struct Case {
        const char* name;
        Fault fault;
        WriteStep expectedStep;
    } cases[] = {
        {"cannot create the new file", Fault::CreateFile, WriteStep::Open},
        {"short write, then disk full", Fault::ShortWrite, WriteStep::Write},
        {"flush fails", Fault::Sync, WriteStep::Sync},
        {"close reports an error", Fault::Close, WriteStep::Close},
        {"rename fails", Fault::Rename, WriteStep::Rename},
        {"file is write-protected", Fault::WriteProtected, WriteStep::Open},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchFolder folder;
        const std::string path = folder.file("Quorvel.hc");
        ASSERT_TRUE(writeBytes(path, kOld));
        FaultyFileCalls calls(c.fault);

        const FileWriteResult result = replaceFileContent(path, kNew, calls);
        EXPECT_FALSE(result.ok());
        EXPECT_EQ(result.failedStep, c.expectedStep);
        EXPECT_NE(result.error, 0);
        EXPECT_NE(result.describe().find(": "), std::string::npos);
        EXPECT_EQ(readBytes(path), kOld);
        EXPECT_EQ(folder.names(), std::vector<std::string>{"Quorvel.hc"});  // no temporary left
    }
}

// The real calls, but the process dies at call number `killAt`: before it,
// or for a write, after half its bytes.
class DyingFileCalls : public FileCalls {
public:
    explicit DyingFileCalls(int killAt) : killAt_(killAt) {}

    int open(const char* path, int flags, mode_t mode) override {
        step();
        return FileCalls::open(path, flags, mode);
    }
    ssize_t write(int fd, const void* data, size_t size) override {
        if (++calls_ == killAt_) {
            FileCalls::write(fd, data, size / 2);
            ::_exit(0);
        }
        return FileCalls::write(fd, data, size);
    }
    int fsync(int fd) override {
        step();
        return FileCalls::fsync(fd);
    }
    int close(int fd) override {
        step();
        return FileCalls::close(fd);
    }
    int rename(const char* from, const char* to) override {
        step();
        return FileCalls::rename(from, to);
    }
    int fchmod(int fd, mode_t mode) override {
        step();
        return FileCalls::fchmod(fd, mode);
    }

private:
    void step() {
        if (++calls_ == killAt_) ::_exit(0);
    }
    int killAt_;
    int calls_ = 0;
};

// A save killed at any point leaves the old bytes or the new ones, never a
// mix (a temporary file may stay behind: a killed process cannot tidy up).
TEST(ReplaceFileContent, KilledAtAnyPointLeavesOldOrNewContent) {
    constexpr int kFinished = 3;
    const std::string oldBytes = kOld + std::string(300000, 'o');
    const std::string newBytes = kNew + std::string(200000, 'n');
    int killPoints = 0;
    bool finished = false;
    for (int killAt = 1; killAt < 100 && !finished; ++killAt) {
        SCOPED_TRACE(killAt);
        ScratchFolder folder;
        const std::string path = folder.file("Quorvel.hc");
        ASSERT_TRUE(writeBytes(path, oldBytes));
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            DyingFileCalls calls(killAt);
            ::_exit(replaceFileContent(path, newBytes, calls).ok() ? kFinished : 1);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status));
        finished = WEXITSTATUS(status) == kFinished;
        const std::string after = readBytes(path).value_or("(unreadable)");
        EXPECT_TRUE(after == oldBytes || after == newBytes) << after.size() << " bytes";
        if (finished) {
            EXPECT_EQ(after, newBytes);
        } else {
            ++killPoints;
        }
    }
    EXPECT_TRUE(finished);
    // Opening, writing, flushing, closing and renaming were each cut short.
    EXPECT_GE(killPoints, 5);
}

TEST(ReplaceFileContent, ReplacesAndKeepsPermissions) {
    ScratchFolder folder;
    const std::string path = folder.file("Quorvel.hc");
    ASSERT_TRUE(writeBytes(path, kOld));
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);

    const FileWriteResult result = replaceFileContent(path, kNew);
    ASSERT_TRUE(result.ok()) << result.describe();
    EXPECT_EQ(readBytes(path), kNew);
    EXPECT_EQ(permissionsOf(path), 0640u);
    EXPECT_EQ(folder.names(), std::vector<std::string>{"Quorvel.hc"});
}

TEST(ReplaceFileContent, NewFileGetsTheUsualPermissions) {
    ScratchFolder folder;
    const std::string path = folder.file("new.hc");
    const mode_t mask = ::umask(022);
    const FileWriteResult result = replaceFileContent(path, kNew);
    ::umask(mask);
    ASSERT_TRUE(result.ok()) << result.describe();
    EXPECT_EQ(readBytes(path), kNew);
    EXPECT_EQ(permissionsOf(path), 0644u);
}

TEST(ReplaceFileContent, EmptyContent) {
    ScratchFolder folder;
    const std::string path = folder.file("a.hc");
    ASSERT_TRUE(writeBytes(path, kOld));
    ASSERT_TRUE(replaceFileContent(path, "").ok());
    EXPECT_EQ(readBytes(path), "");
}

TEST(ReplaceFileContent, SymbolicLinksAreFollowed) {
    struct Case {
        const char* name;
        std::string linkTarget;  // relative to the folder unless absolute
    } cases[] = {
        {"relative link", "real/Quorvel.hc"},
        {"absolute link", ""},  // filled in below
        {"link to a link", "second-link"},
    };
    for (Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchFolder folder;
        std::filesystem::create_directory(folder.file("real"));
        const std::string target = folder.file("real/Quorvel.hc");
        ASSERT_TRUE(writeBytes(target, kOld));
        std::filesystem::create_symlink("real/Quorvel.hc", folder.file("second-link"));
        if (c.linkTarget.empty()) c.linkTarget = target;
        const std::string link = folder.file("Quorvel.hc");
        std::filesystem::create_symlink(c.linkTarget, link);

        const FileWriteResult result = replaceFileContent(link, kNew);
        ASSERT_TRUE(result.ok()) << result.describe();
        EXPECT_TRUE(std::filesystem::is_symlink(link));
        EXPECT_EQ(readBytes(target), kNew);
        EXPECT_EQ(folder.names(), (std::vector<std::string>{"Quorvel.hc", "real", "second-link"}));
    }
}

TEST(ReplaceFileContent, DanglingLinkCreatesItsTarget) {
    ScratchFolder folder;
    const std::string link = folder.file("Quorvel.hc");
    std::filesystem::create_symlink("target.hc", link);
    ASSERT_TRUE(replaceFileContent(link, kNew).ok());
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(readBytes(folder.file("target.hc")), kNew);
}

TEST(ReplaceFileContent, LinkLoopFails) {
    ScratchFolder folder;
    std::filesystem::create_symlink("b", folder.file("a"));
    std::filesystem::create_symlink("a", folder.file("b"));
    const FileWriteResult result = replaceFileContent(folder.file("a"), kNew);
    EXPECT_EQ(result.failedStep, WriteStep::Resolve);
}

// Regression: writing a report to /dev/null once renamed a regular file over
// the device node.
TEST(ReplaceFileContent, DevicesAndPipesAreWrittenInPlace) {
    ScratchFolder folder;
    const std::string fifo = folder.file("pipe");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::string received;
    std::thread reader([&] { received = readBytes(fifo).value_or(""); });
    ASSERT_TRUE(replaceFileContent(fifo, kNew).ok());
    reader.join();
    EXPECT_EQ(received, kNew);
    struct stat info {};
    ASSERT_EQ(::stat(fifo.c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode)) << "the pipe must not be replaced by a file";
    EXPECT_EQ(folder.names(), std::vector<std::string>{"pipe"}) << "no temporary file left";

    ASSERT_TRUE(replaceFileContent("/dev/null", kNew).ok());
    ASSERT_EQ(::stat("/dev/null", &info), 0);
    EXPECT_TRUE(S_ISCHR(info.st_mode));
}

TEST(ReplaceFileContent, ReadOnlyFolder) {
    if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind the superuser";
    ScratchFolder folder;
    const std::string path = folder.file("Quorvel.hc");
    ASSERT_TRUE(writeBytes(path, kOld));
    ASSERT_EQ(::chmod(folder.path().c_str(), 0500), 0);
    const FileWriteResult result = replaceFileContent(path, kNew);
    ::chmod(folder.path().c_str(), 0700);
    EXPECT_EQ(result.failedStep, WriteStep::Open);
    EXPECT_EQ(readBytes(path), kOld);
    EXPECT_EQ(folder.names(), std::vector<std::string>{"Quorvel.hc"});
}

TEST(ReplaceFileContent, WriteProtectedFileIsRefused) {
    if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind the superuser";
    ScratchFolder folder;
    const std::string path = folder.file("Quorvel.hc");
    ASSERT_TRUE(writeBytes(path, kOld));
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    EXPECT_EQ(replaceFileContent(path, kNew).failedStep, WriteStep::Open);
    EXPECT_EQ(readBytes(path), kOld);
}

TEST(FileReplacement, FailureAtAnyStepOfAStreamKeepsTheOldFile) {
    struct Case {
        const char* name;
        Fault fault;
        WriteStep expectedStep;
    } cases[] = {
        {"cannot create the new file", Fault::CreateFile, WriteStep::Open},
        {"short write, then disk full", Fault::ShortWrite, WriteStep::Write},
        {"flush fails", Fault::Sync, WriteStep::Sync},
        {"close reports an error", Fault::Close, WriteStep::Close},
        {"rename fails", Fault::Rename, WriteStep::Rename},
        {"file is write-protected", Fault::WriteProtected, WriteStep::Open},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchFolder folder;
        const std::string path = folder.file("report.json");
        ASSERT_TRUE(writeBytes(path, kOld));
        FaultyFileCalls calls(c.fault);
        FileReplacement replacement(calls);

        // Every step runs; the first failure is the one reported at the end.
        replacement.open(path);
        for (int piece = 0; piece < 3; ++piece)
            replacement.append(kNew);
        const FileWriteResult result = replacement.commit();
        EXPECT_EQ(result.failedStep, c.expectedStep);
        EXPECT_NE(result.error, 0);
        EXPECT_EQ(readBytes(path), kOld);
        EXPECT_EQ(folder.names(), std::vector<std::string>{"report.json"});
    }
}

// Where the file system allows it the new file has no name until the
// commit; elsewhere it is written under a temporary name beside the old one.
TEST(FileReplacement, PiecesAppearOnlyAtCommit) {
    struct Case {
        const char* name;
        Fault fault;
        std::size_t namesWhileWriting;
    } cases[] = {
        {"nameless new file", Fault::None, 1},
        {"named new file", Fault::NoNameless, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchFolder folder;
        const std::string path = folder.file("report.json");
        ASSERT_TRUE(writeBytes(path, kOld));
        ASSERT_EQ(::chmod(path.c_str(), 0640), 0);

        FaultyFileCalls calls(c.fault);
        FileReplacement replacement(calls);
        ASSERT_TRUE(replacement.open(path).ok());
        ASSERT_TRUE(replacement.append("first ").ok());
        ASSERT_TRUE(replacement.append("").ok());
        ASSERT_TRUE(replacement.append("second").ok());
        EXPECT_EQ(readBytes(path), kOld) << "the old file stays until the commit";
        EXPECT_EQ(folder.names().size(), c.namesWhileWriting);

        const FileWriteResult result = replacement.commit();
        ASSERT_TRUE(result.ok()) << result.describe();
        EXPECT_EQ(readBytes(path), "first second");
        EXPECT_EQ(permissionsOf(path), 0640u);
        EXPECT_EQ(folder.names(), std::vector<std::string>{"report.json"});
    }
}

// Any name the folder takes can be replaced: the temporary name is cut to fit.
TEST(FileReplacement, LongestNamesFit) {
    struct Case {
        std::size_t nameLength;
        Fault fault;
    } cases[] = {
        {250, Fault::None},       {250, Fault::NoNameless}, {255, Fault::None},
        {255, Fault::NoNameless}, {1, Fault::NoNameless},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.nameLength) +
                     (c.fault == Fault::None ? " nameless" : " named"));
        ScratchFolder folder;
        const std::string name(c.nameLength, 'r');
        FaultyFileCalls calls(c.fault);
        for (const std::string& bytes : {kOld, kNew}) {  // created, then replaced
            const FileWriteResult result = replaceFileContent(folder.file(name), bytes, calls);
            ASSERT_TRUE(result.ok()) << result.describe();
            EXPECT_EQ(readBytes(folder.file(name)), bytes);
            EXPECT_EQ(folder.names(), std::vector<std::string>{name});
        }
    }
}

TEST(TemporaryNameBeside, FitsWhereTheTargetFits) {
    struct Case {
        std::string target;
        std::size_t nameMax;
        std::string expected;
    } cases[] = {
        {"/srv/a.html", 255, "/srv/a.html.tmp1-2"},
        {"a.html", 255, "a.html.tmp1-2"},
        {"/srv/" + std::string(250, 'n'), 255, "/srv/" + std::string(248, 'n') + ".tmp1-2"},
        {std::string(255, 'n'), 255, std::string(248, 'n') + ".tmp1-2"},
        {"/srv/abcdef", 10, "/srv/abc.tmp1-2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.target);
        EXPECT_EQ(temporaryNameBeside(c.target, ".tmp1-2", c.nameMax), c.expected);
    }
}

TEST(FileReplacement, AbandonedOrDroppedStreamLeavesNothing) {
    struct Case {
        const char* name;
        bool abandonExplicitly;
        bool oldFileExists;
    } cases[] = {
        {"abandon over an old file", true, true},
        {"destroyed before commit, old file", false, true},
        {"destroyed before commit, no old file", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchFolder folder;
        const std::string path = folder.file("report.json");
        if (c.oldFileExists) {
            ASSERT_TRUE(writeBytes(path, kOld));
        }
        {
            FileReplacement replacement;
            ASSERT_TRUE(replacement.open(path).ok());
            ASSERT_TRUE(replacement.append(kNew).ok());
            if (c.abandonExplicitly) {
                replacement.abandon();
                EXPECT_FALSE(replacement.commit().ok()) << "nothing is left to commit";
            }
        }
        if (c.oldFileExists) {
            EXPECT_EQ(readBytes(path), kOld);
            EXPECT_EQ(folder.names(), std::vector<std::string>{"report.json"});
        } else {
            EXPECT_TRUE(folder.names().empty());
        }
    }
}

TEST(FileReplacement, PipeIsStreamedInPlace) {
    ScratchFolder folder;
    const std::string fifo = folder.file("pipe");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::string received;
    std::thread reader([&] { received = readBytes(fifo).value_or(""); });
    FileReplacement replacement;
    ASSERT_TRUE(replacement.open(fifo).ok());
    ASSERT_TRUE(replacement.append("a").ok());
    ASSERT_TRUE(replacement.append("b").ok());
    ASSERT_TRUE(replacement.commit().ok());
    reader.join();
    EXPECT_EQ(received, "ab");
    struct stat info {};
    ASSERT_EQ(::stat(fifo.c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
    EXPECT_EQ(folder.names(), std::vector<std::string>{"pipe"});
}

TEST(ReadWholeFile, ReadsBytesAndReportsCompleteness) {
    ScratchFolder folder;
    const std::string path = folder.file("a.bin");
    std::string bytes(200000, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>(i * 31);
    ASSERT_TRUE(writeBytes(path, bytes));

    const FileReadResult whole = readWholeFile(path);
    EXPECT_TRUE(whole.opened);
    EXPECT_TRUE(whole.complete);
    EXPECT_EQ(whole.bytes, bytes);

    FaultyFileCalls shortRead(Fault::ShortRead);
    const FileReadResult partial = readWholeFile(path, shortRead);
    EXPECT_TRUE(partial.opened);
    EXPECT_FALSE(partial.complete);

    const FileReadResult missing = readWholeFile(folder.file("missing"));
    EXPECT_FALSE(missing.opened);
    EXPECT_EQ(missing.error, ENOENT);

    const FileReadResult directory = readWholeFile(folder.path());
    EXPECT_FALSE(directory.opened);
    EXPECT_TRUE(directory.bytes.empty());
}

// A file is read to its end whatever size it announces, and refused, with
// no bytes kept, when it holds more than the limit.
TEST(ReadWholeFile, ReadsToTheEndUpToTheLimit) {
    ScratchFolder folder;
    const std::string small = folder.file("small");
    ASSERT_TRUE(writeBytes(small, std::string(1000, 's')));
    const std::string sparse = folder.file("sparse");  // 3 GiB announced, nothing stored
    ASSERT_TRUE(writeBytes(sparse, ""));
    ASSERT_EQ(::truncate(sparse.c_str(), off_t{3} << 30), 0);

    struct Case {
        const char* name;
        std::string path;
        std::size_t limit;
        bool opened;
    } cases[] = {
        {"at the limit", small, 1000, true},
        {"one byte over", small, 999, false},
        {"announced size over the limit", sparse, kMaxSettingsFileBytes, false},
        {"a device without end", "/dev/zero", 100000, false},
        {"a file announcing size 0", "/proc/self/status", 100000, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const FileReadResult result = readWholeFile(c.path, systemFileCalls(), c.limit);
        EXPECT_EQ(result.opened, c.opened);
        if (c.opened) {
            EXPECT_FALSE(result.bytes.empty());
            EXPECT_LE(result.bytes.size(), c.limit);
        } else {
            EXPECT_TRUE(result.tooLarge);
            EXPECT_EQ(result.error, EFBIG);
            EXPECT_TRUE(result.bytes.empty());
            EXPECT_NE(describeReadFailure(result, c.limit).find("larger than"), std::string::npos);
        }
    }
    EXPECT_EQ(readWholeFile("/proc/self/status").bytes.rfind("Name:", 0), 0u);
}

TEST(EnsureFolderFor, CreatesMissingLevels) {
    ScratchFolder folder;
    struct Case {
        const char* name;
        std::string path;
        bool expected;
    } cases[] = {
        {"three missing levels", folder.file("a/b/c/file.hc"), true},
        {"existing folder", folder.file("a/b/other.hc"), true},
        {"a file in the way", folder.file("a/b/c/file.hc/x/y.hc"), false},
        {"no folder part", "file.hc", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ensureFolderFor(c.path), c.expected);
        if (c.expected && c.path.find('/') != std::string::npos) {
            EXPECT_TRUE(std::filesystem::is_directory(folderOfPath(c.path)));
            ASSERT_TRUE(writeBytes(c.path, "x"));
        }
    }
}

TEST(FolderOfPath, Cases) {
    struct Case {
        std::string path, expected;
    } cases[] = {
        {"/usr/bin/quorvel", "/usr/bin"},
        {"/quorvel", "/"},
        {"quorvel", "."},
        {"dir/file", "dir"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(folderOfPath(c.path), c.expected);
    }
}

}  // namespace
}  // namespace quorvel
