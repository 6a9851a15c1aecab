// How many threads a run starts for the jobs it is asked for.

#include <dirent.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "checks/analysis_run.h"
#include "checks/checker_file.h"
#include "platform/scratch_folder.h"

namespace quorvel {
namespace {

using testing::ScratchFolder;
using testing::writeBytes;

std::size_t threadsOfThisProcess() {
    std::size_t count = 0;
    DIR* tasks = ::opendir("/proc/self/task");
    if (tasks == nullptr) return 0;
    while (const dirent* entry = ::readdir(tasks)) {
        if (entry->d_name[0] != '.') ++count;
    }
    ::closedir(tasks);
    return count;
}

// Notes the most threads alive while entries arrive.
class ThreadCountingSink : public ReportSink {
public:
    void appendEntry(const ReportEntry&) override {
        mostThreads = std::max(mostThreads, threadsOfThisProcess());
    }
    void fileNotOpened(std::string_view, std::string_view) override {}
    std::size_t mostThreads = 0;
};

// More jobs than files, or than a few per core, only add threads that wait:
// a run starts no more than it can use.
TEST(AnalysisRunJobs, ThreadsAreCappedAtWhatHelps) {
    ScratchFolder folder;
    ASSERT_TRUE(writeBytes(folder.file("a.html"), "<title>hiking boots</title>"));
    const std::size_t before = threadsOfThisProcess();
    ASSERT_GT(before, 0u) << "/proc/self/task is needed";
    const unsigned cap = maxUsefulJobCount();
    EXPECT_GE(cap, defaultJobCount());
    EXPECT_LE(cap, 8 * defaultJobCount()) << "a small multiple of the cores";

    struct Case {
        const char* name;
        std::size_t files;
        unsigned jobs;
        std::size_t mostThreads;
    } cases[] = {
        {"one file, many jobs", 1, 1024, 1},
        {"three files", 3, 1024, 3},
        {"a thousand jobs", 1100, 1024, std::min(cap, 1024u)},
        {"jobs as asked below the cap", 2 * cap + 40, 2, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RunInputs inputs;
        inputs.folder = folder.path();
        inputs.keyword = "boots";
        inputs.files.assign(c.files, ListedFile{"a.html", true});
        ThreadCountingSink sink;
        runAnalysis(inputs, EngineRules{}, sink, c.jobs);
        EXPECT_GT(sink.mostThreads, 0u);
        EXPECT_LE(sink.mostThreads, before - 1 + c.mostThreads);
    }
}

}  // namespace
}  // namespace quorvel
