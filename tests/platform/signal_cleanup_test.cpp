#include "platform/signal_cleanup.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "platform/faulty_file_calls.h"
#include "platform/file_io.h"
#include "platform/scratch_folder.h"

namespace quorvel {
namespace {

using testing::FaultyFileCalls;
using testing::readBytes;
using testing::ScratchFolder;
using testing::writeBytes;
using Fault = FaultyFileCalls::Fault;

// A program interrupted while it writes a replacement leaves the old file and
// nothing else: the new file either has no name yet or is removed by the
// signal's cleanup, and the signal still ends the program.
TEST(TemporaryFileCleanup, InterruptedReplacementLeavesNoFile) {
    struct Case {
        const char* name;
        Fault fault;
        int signal;
    } cases[] = {
        {"named, SIGINT", Fault::NoNameless, SIGINT},
        {"named, SIGTERM", Fault::NoNameless, SIGTERM},
        {"named, SIGHUP", Fault::NoNameless, SIGHUP},
        {"nameless, SIGINT", Fault::None, SIGINT},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchFolder folder;
        const std::string path = folder.file("report.html");
        ASSERT_TRUE(writeBytes(path, "old"));
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            installTemporaryFileCleanup();
            FaultyFileCalls calls(c.fault);
            FileReplacement replacement(calls);
            if (!replacement.open(path).ok() || !replacement.append(std::string(100000, 'n')).ok())
                ::_exit(3);
            // The new file is there (named or not) when the signal comes.
            const bool named = ScratchFolder::namesOf(folder.path()).size() == 2;
            if (named != (c.fault == Fault::NoNameless)) ::_exit(4);
            ::raise(c.signal);
            ::_exit(5);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status)) << "exit status " << WEXITSTATUS(status);
        EXPECT_EQ(WTERMSIG(status), c.signal);
        EXPECT_EQ(folder.names(), std::vector<std::string>{"report.html"});
        EXPECT_EQ(readBytes(path), "old");
    }
}

TEST(TemporaryFileCleanup, UnregisteredNamesStay) {
    ScratchFolder folder;
    const std::string kept = folder.file("kept");
    const std::string removed = folder.file("removed");
    ASSERT_TRUE(writeBytes(kept, "k"));
    ASSERT_TRUE(writeBytes(removed, "r"));
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        installTemporaryFileCleanup();
        const int keptSlot = registerTemporaryFile(kept);
        const int removedSlot = registerTemporaryFile(removed);
        if (keptSlot < 0 || removedSlot < 0 || keptSlot == removedSlot) ::_exit(3);
        unregisterTemporaryFile(keptSlot);
        ::raise(SIGTERM);
        ::_exit(5);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(folder.names(), std::vector<std::string>{"kept"});
}

}  // namespace
}  // namespace quorvel
