#include "platform/file_lock.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <string>
#include <vector>

#include "platform/file_io.h"
#include "platform/scratch_folder.h"

namespace quorvel {
namespace {

using namespace std::chrono_literals;
using testing::readBytes;
using testing::ScratchFolder;
using testing::writeBytes;
using Outcome = FileUpdateLock::Outcome;

// One holder at a time, also across a rename of a new file over the old one:
// a waiter wakes on the file the name stood for and must lock the new one.
TEST(FileUpdateLock, OneHolderAtATimeAcrossRenames) {
    ScratchFolder folder;
    const std::string path = folder.file("Quorvel.chk");
    ASSERT_TRUE(writeBytes(path, "old"));

    FileUpdateLock first;
    ASSERT_EQ(first.lock(path, 0ms), Outcome::Locked);
    FileUpdateLock busy;
    EXPECT_EQ(busy.lock(path, 30ms), Outcome::Busy);

    FileUpdateLock second;
    auto waiting = std::async(std::launch::async, [&] { return second.lock(path, 5000ms); });
    EXPECT_EQ(waiting.wait_for(50ms), std::future_status::timeout);
    ASSERT_TRUE(replaceFileContent(path, "new").ok());
    first.release();
    ASSERT_EQ(waiting.get(), Outcome::Locked);

    // The second holds the file the name now stands for.
    FileUpdateLock third;
    EXPECT_EQ(third.lock(path, 30ms), Outcome::Busy);
    second.release();
    EXPECT_EQ(third.lock(path, 30ms), Outcome::Locked);
    EXPECT_EQ(readBytes(path), "new");
}

// A missing file is created to hold the lock, and removed again when nothing
// was written; a file written meanwhile stays.
TEST(FileUpdateLock, MissingFileIsHeldAndTidied) {
    struct Case {
        const char* name;
        bool write;
        std::vector<std::string> namesAfter;
    } cases[] = {
        {"nothing written", false, {}},
        {"file written", true, {"new.chk"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchFolder folder;
        const std::string path = folder.file("new.chk");
        FileUpdateLock lock;
        ASSERT_EQ(lock.lock(path, 0ms), Outcome::Locked);
        EXPECT_EQ(folder.names(), std::vector<std::string>{"new.chk"});
        FileUpdateLock other;
        EXPECT_EQ(other.lock(path, 20ms), Outcome::Busy);
        if (c.write) {
            ASSERT_TRUE(replaceFileContent(path, "x").ok());
        }
        lock.release();
        EXPECT_EQ(folder.names(), c.namesAfter);
    }
}

TEST(FileUpdateLock, UnopenableFileFails) {
    ScratchFolder folder;
    FileUpdateLock lock;
    EXPECT_EQ(lock.lock(folder.file("no/such/folder/x.chk"), 0ms), Outcome::Failed);
    EXPECT_EQ(errno, ENOENT);
}

}  // namespace
}  // namespace quorvel
