#include "platform/temp_files.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "platform/scratch_folder.h"

namespace quorvel {
namespace {

using testing::ScratchFolder;

// Sets $TMPDIR for one scope and puts the old value back.
class TmpdirScope {
public:
    explicit TmpdirScope(const char* value) {
        if (const char* old = std::getenv("TMPDIR")) old_ = old;
        if (value != nullptr) {
            ::setenv("TMPDIR", value, 1);
        } else {
            ::unsetenv("TMPDIR");
        }
    }
    ~TmpdirScope() {
        if (old_) {
            ::setenv("TMPDIR", old_->c_str(), 1);
        } else {
            ::unsetenv("TMPDIR");
        }
    }

private:
    std::optional<std::string> old_;
};

TEST(TemporaryFolder, TmpdirOnlyWhenItNamesAFolder) {
    ScratchFolder folder;
    const std::string file = folder.file("plain");
    ::close(::creat(file.c_str(), 0600));
    struct Case {
        std::optional<std::string> tmpdir;
        std::string expected;
    };
    const Case cases[] = {{std::nullopt, "/tmp"},
                          {"", "/tmp"},
                          {folder.path(), folder.path()},
                          {file, "/tmp"},
                          {folder.path() + "/missing", "/tmp"}};
    for (const Case& test : cases) {
        SCOPED_TRACE(test.tmpdir.value_or("(unset)"));
        TmpdirScope scope(test.tmpdir ? test.tmpdir->c_str() : nullptr);
        EXPECT_EQ(temporaryFolder(), test.expected);
    }
}

TEST(AnonymousTemporaryFile, WritableReadableAndLeavesNoName) {
    ScratchFolder folder;
    TmpdirScope scope(folder.path().c_str());
    const int fd = openAnonymousTemporaryFile();
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::write(fd, "rows", 4), 4);
    char back[4] = {};
    ASSERT_EQ(::pread(fd, back, 4, 0), 4);
    EXPECT_EQ(std::string(back, 4), "rows");
    EXPECT_TRUE(std::filesystem::is_empty(folder.path()));
    ::close(fd);
}

// The real calls, except that writes fail (after half their bytes) from the
// write numbered failWriteFrom on, and reads fail when asked to.
class FailingSpillCalls : public FileCalls {
public:
    int failWriteFrom = 0;  // 0: writes never fail
    bool failReads = false;

    ssize_t write(int fd, const void* data, size_t size) override {
        if (failWriteFrom > 0 && ++writes_ >= failWriteFrom) {
            FileCalls::write(fd, data, size / 2);
            errno = ENOSPC;
            return -1;
        }
        return FileCalls::write(fd, data, size);
    }
    ssize_t pread(int fd, void* buffer, size_t size, off_t offset) override {
        if (failReads) {
            errno = EIO;
            return -1;
        }
        return FileCalls::pread(fd, buffer, size, offset);
    }

private:
    int writes_ = 0;
};

// 300 pieces of growing sizes, 1,000-byte units in all.
std::string spillStream(SpillBuffer& buffer) {
    std::string all;
    for (int n = 0; n < 300; ++n) {
        const std::string piece(static_cast<std::size_t>(n * 37 % 2000),
                                static_cast<char>('a' + n % 26));
        buffer.append(piece);
        all += piece;
    }
    const std::string rest(1000 - all.size() % 1000, 'z');
    buffer.append(rest);
    return all + rest;
}

// Everything comes back in order, wherever it was kept and however the
// consumer takes it: all at once, or only in whole units of 1,000 bytes.
TEST(SpillBuffer, ReadsBackWhatWasAppended) {
    struct Case {
        const char* name;
        std::size_t memoryLimit;
        int failWriteFrom;
        bool spilled;
    };
    const Case cases[] = {
        {"all in memory", SIZE_MAX, 0, false},
        {"every append to the file", 1, 0, true},
        {"small pieces to the file", 4096, 0, true},
        {"the file cannot be written at all", 4096, 1, false},
        {"the file fails after some writes", 4096, 5, true},
    };
    for (const Case& test : cases) {
        for (const std::size_t unit : {std::size_t{1}, std::size_t{1000}}) {
            SCOPED_TRACE(std::string(test.name) + ", unit " + std::to_string(unit));
            FailingSpillCalls calls;
            calls.failWriteFrom = test.failWriteFrom;
            SpillBuffer buffer(test.memoryLimit, calls);
            const std::string all = spillStream(buffer);
            EXPECT_EQ(buffer.spilled(), test.spilled);

            std::string back;
            EXPECT_TRUE(buffer.readBack([&](std::string_view piece) {
                const std::size_t used = piece.size() / unit * unit;
                back.append(piece.substr(0, used));
                return used;
            }));
            EXPECT_TRUE(back == all) << back.size() << " of " << all.size() << " bytes";
        }
    }
}

TEST(SpillBuffer, FailedReadsAndUnusedBytesAreReported) {
    FailingSpillCalls calls;
    SpillBuffer buffer(10, calls);
    buffer.append("0123456789abc");
    ASSERT_TRUE(buffer.spilled());
    auto useAll = [](std::string_view piece) { return piece.size(); };
    EXPECT_TRUE(buffer.readBack(useAll));
    EXPECT_FALSE(buffer.readBack([](std::string_view piece) { return piece.size() - 1; }));
    calls.failReads = true;
    EXPECT_FALSE(buffer.readBack(useAll));

    SpillBuffer empty(10, calls);
    EXPECT_TRUE(empty.readBack(useAll));
}

}  // namespace
}  // namespace quorvel
