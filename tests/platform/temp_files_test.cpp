#include "platform/temp_files.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

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

}  // namespace
}  // namespace quorvel
