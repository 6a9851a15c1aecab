#include "checks/analysis_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <stdexcept>
#include <stop_token>
#include <string>
#include <thread>
#include <vector>

#include "analysis/page_scan.h"
#include "checks/checker_file.h"
#include "platform/scratch_folder.h"
#include "settings/user_settings.h"

namespace quorvel {
namespace {

using testing::ScratchFolder;
using testing::writeBytes;

constexpr std::string_view kSeparatorEvent = "*|||0|255";

// Records what the run hands over, each event as one line of text, and the
// threads it was called from.
class RecordingSink : public ReportSink {
public:
    void appendEntry(const ReportEntry& entry) override {
        threads.push_back(std::this_thread::get_id());
        EXPECT_EQ(entry.importanceClass, importanceClassOf(entry.importanceLetter));
        events.push_back(std::string(1, entry.importanceLetter) + "|" + entry.fileName + "|" +
                         entry.description + "|" + std::to_string(entry.filePosition) + "|" +
                         std::to_string(entry.checkCode));
    }
    void fileNotOpened(std::string_view fileName, std::string_view message) override {
        threads.push_back(std::this_thread::get_id());
        events.push_back("unopened|" + std::string(fileName) + "|" + std::string(message));
    }

    // Every event, in the order of the calls.
    std::vector<std::string> events;
    std::vector<std::thread::id> threads;
};

std::string page(std::string_view title, std::string_view body, std::string_view head = {}) {
    return "<html><head><title>" + std::string(title) + "</title>" + std::string(head) +
           "</head><body>" + std::string(body) + "</body></html>";
}

// The check codes in the events, separators as 255.
std::vector<int> checkCodes(const std::vector<std::string>& events) {
    std::vector<int> codes;
    for (const std::string& event : events) {
        if (event.rfind("unopened|", 0) == 0) {
            codes.push_back(-1);
        } else {
            codes.push_back(std::stoi(event.substr(event.rfind('|') + 1)));
        }
    }
    return codes;
}

bool hasCode(const std::vector<std::string>& events, int code) {
    const auto codes = checkCodes(events);
    return std::find(codes.begin(), codes.end(), code) != codes.end();
}

const std::string* eventWithCode(const std::vector<std::string>& events, int code) {
    for (const std::string& event : events) {
        if (event.rfind("unopened|", 0) != 0 &&
            std::stoi(event.substr(event.rfind('|') + 1)) == code)
            return &event;
    }
    return nullptr;
}

constexpr int kTitleNoKeyword = 7;
constexpr int kTitleStopWords = 9;
constexpr int kBodyTooFewWords = 2 * 32 + 11;
constexpr int kLinksDomain = 4 * 32 + 2;
constexpr int kLinksPageName = 4 * 32 + 6;

class AnalysisRunTest : public ::testing::Test {
protected:
    RunInputs inputsFor(std::vector<ListedFile> files, std::string keyword = "hiking boots") {
        RunInputs inputs;
        inputs.folder = folder.path();
        inputs.homeUrl = "http://www.example.com/";
        inputs.keyword = std::move(keyword);
        inputs.files = std::move(files);
        return inputs;
    }
    std::vector<std::string> run(const RunInputs& inputs, unsigned jobs = 1) {
        RecordingSink sink;
        runAnalysis(inputs, rules, sink, jobs);
        for (const std::thread::id id : sink.threads)
            EXPECT_EQ(id, std::this_thread::get_id());
        return sink.events;
    }

    ScratchFolder folder;
    EngineRules rules;
    std::thread::id mainThread_ = std::this_thread::get_id();
};

TEST_F(AnalysisRunTest, EachFileEndsWithASeparatorAndUnopenedFilesAddNone) {
    ASSERT_TRUE(writeBytes(folder.file("a.html"), page("Hiking boots", "hiking boots")));
    ASSERT_TRUE(writeBytes(folder.file("c.html"), page("Rain", "rain jackets")));
    const auto events = run(inputsFor({{"a.html"}, {"missing.html"}, {"c.html"}}));

    const auto codes = checkCodes(events);
    ASSERT_EQ(std::count(codes.begin(), codes.end(), 255), 2);
    const auto firstSeparator = std::find(codes.begin(), codes.end(), 255) - codes.begin();
    ASSERT_LT(firstSeparator + 1, static_cast<long>(events.size()));
    EXPECT_EQ(events[firstSeparator], kSeparatorEvent);
    // The unopened file's message follows the first file's separator, and the
    // next file's entries follow it directly.
    EXPECT_EQ(events[firstSeparator + 1],
              "unopened|missing.html|Cannot open the HTML file: missing.html\n\nAre you looking "
              "in the correct Project Folder?");
    EXPECT_NE(codes[firstSeparator + 2], 255);
    EXPECT_NE(events[firstSeparator + 2].find("|c.html|"), std::string::npos);
    EXPECT_EQ(events.back(), kSeparatorEvent);
    for (long n = 0; n < firstSeparator; ++n) {
        EXPECT_NE(events[n].find("|a.html|"), std::string::npos) << events[n];
    }
}

TEST_F(AnalysisRunTest, DisabledFilesAreNotRead) {
    ASSERT_TRUE(writeBytes(folder.file("a.html"), page("Hiking boots", "hiking boots")));
    const auto events = run(inputsFor({{"missing.html", false}, {"a.html", false}}));
    EXPECT_TRUE(events.empty());

    const auto one = run(inputsFor({{"missing.html", false}, {"a.html", true}}));
    ASSERT_FALSE(one.empty());
    for (const std::string& event : one)
        EXPECT_EQ(event.find("missing"), std::string::npos);
    EXPECT_EQ(std::count(one.begin(), one.end(), std::string(kSeparatorEvent)), 1);
}

TEST_F(AnalysisRunTest, FileNamesAreJoinedToTheFolderUnlessAbsolute) {
    std::filesystem::create_directory(folder.file("pages"));
    ASSERT_TRUE(writeBytes(folder.file("pages/a.html"), page("Hiking boots", "x")));
    struct Case {
        std::string folder, name;
        bool opened;
    };
    const Case cases[] = {
        {folder.path(), "pages/a.html", true},
        {folder.path() + "/", "pages/a.html", true},
        {"/nowhere", folder.file("pages/a.html"), true},
        {folder.path() + "/pages", "a.html", true},
        {folder.path(), "a.html", false},
        {folder.path(), "", false},  // the folder itself
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.folder + " + " + c.name);
        RunInputs inputs = inputsFor({{c.name}});
        inputs.folder = c.folder;
        const auto events = run(inputs);
        ASSERT_FALSE(events.empty());
        EXPECT_EQ(events.front().rfind("unopened|", 0) != 0, c.opened);
        // Entries carry the name as listed, not the joined path.
        if (c.opened) {
            EXPECT_EQ(events.front().find("|" + c.name + "|"), 1u);
        }
    }
}

TEST_F(AnalysisRunTest, StopWordsComeFromTheTitleCheckWhenItIsEnabled) {
    ASSERT_TRUE(writeBytes(folder.file("a.html"), page("THE hiking boots for walking", "x")));
    const RunInputs inputs = inputsFor({{"a.html"}});

    const auto standard = run(inputs);
    const std::string* entry = eventWithCode(standard, kTitleStopWords);
    ASSERT_NE(entry, nullptr);
    // The last match, written as in the list.
    EXPECT_NE(entry->find("|You're using a \"stop\" word in your title tag. [for]|"),
              std::string::npos)
        << *entry;

    rules.set(0, kTitleStopWords, CheckField::Value, "walking,boots", true);
    const auto custom = run(inputs);
    entry = eventWithCode(custom, kTitleStopWords);
    ASSERT_NE(entry, nullptr);
    EXPECT_NE(entry->find("[walking]|"), std::string::npos) << *entry;

    rules.set(0, kTitleStopWords, CheckField::Enable, "0", true);
    EXPECT_FALSE(hasCode(run(inputs), kTitleStopWords));
}

TEST_F(AnalysisRunTest, TheEnginesCaseSwitchReachesTheMatcher) {
    ASSERT_TRUE(writeBytes(folder.file("a.html"), page("Hiking Boots", "x")));
    const RunInputs inputs = inputsFor({{"a.html"}});
    EXPECT_TRUE(hasCode(run(inputs), kTitleNoKeyword));
    rules.caseSensitive = false;
    EXPECT_FALSE(hasCode(run(inputs), kTitleNoKeyword));
}

TEST_F(AnalysisRunTest, FileNameAndDomainAreCountedWithTheSameMatcher) {
    ASSERT_TRUE(writeBytes(folder.file("boot-guide.html"), page("t", "x")));
    ASSERT_TRUE(writeBytes(folder.file("index.html"), page("t", "x")));
    struct Case {
        const char* name;
        std::string file, homeUrl;
        bool finalS;
        bool pageNameFires, domainFires;
    };
    const Case cases[] = {
        {"keyword in neither", "index.html", "http://www.example.com/", false, true, true},
        {"final s off: boot is not boots", "boot-guide.html", "http://www.boots.example/", false,
         true, false},
        {"final s on: boots is stored as boot", "boot-guide.html", "http://www.boot.example/", true,
         false, false},
        {"scheme and www. are dropped first", "index.html", "http://www.boots.com/", false, true,
         false},
        {"a URL without the markers is used whole", "index.html", "boots://example.com", false,
         true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RunInputs inputs = inputsFor({{c.file}}, "boots");
        inputs.homeUrl = c.homeUrl;
        inputs.killTerminatingS = c.finalS;
        const auto events = run(inputs);
        EXPECT_EQ(hasCode(events, kLinksPageName), c.pageNameFires);
        EXPECT_EQ(hasCode(events, kLinksDomain), c.domainFires);
    }
}

TEST_F(AnalysisRunTest, ShortWordsAreSkippedOnlyWhenTheOptionIsOn) {
    ASSERT_TRUE(writeBytes(folder.file("a.html"), page("t", "a an the cats dogs elephant")));
    struct Case {
        bool skip;
        int minWordLength;
        std::string_view count;
    };
    const Case cases[] = {
        {false, 4, "You have 6 word(s)."}, {true, 4, "You have 3 word(s)."},
        {true, 3, "You have 4 word(s)."},  {true, 9, "You have 0 word(s)."},
        {true, 0, "You have 6 word(s)."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.skip << " " << c.minWordLength);
        RunInputs inputs = inputsFor({{"a.html"}});
        inputs.skipShortWords = c.skip;
        inputs.minWordLength = c.minWordLength;
        const auto events = run(inputs);
        const std::string* entry = eventWithCode(events, kBodyTooFewWords);
        ASSERT_NE(entry, nullptr);
        EXPECT_NE(entry->find(c.count), std::string::npos) << *entry;
    }
}

TEST_F(AnalysisRunTest, ARefusedKeywordMatchesNothing) {
    const std::string longPhrase = "hiking " + std::string(3000, 'x');
    ASSERT_TRUE(writeBytes(folder.file("a.html"),
                           page("hiking " + std::string(3000, 'x'), "hiking boots")));
    const auto events = run(inputsFor({{"a.html"}}, longPhrase));
    EXPECT_TRUE(hasCode(events, kTitleNoKeyword));
    EXPECT_TRUE(hasCode(events, 2 * 32 + 4));  // Absence of keyword in body text
}

TEST_F(AnalysisRunTest, OneEntryPerFiringCheckInCategoryOrder) {
    ASSERT_TRUE(writeBytes(folder.file("a.html"),
                           "<html><head><meta http-equiv=\"refresh\" content=\"5\">"
                           "<title>x</title></head><body><font size=\"1\">tiny</font>"
                           "<img src=\"a.gif\"><a href=\"b.html?x=1\">b</a>"
                           "<frameset></frameset></body></html>"));
    rules.set(6, 4, CheckField::Enable, "1", true);
    const auto events = run(inputsFor({{"a.html"}}));
    const auto codes = checkCodes(events);
    ASSERT_FALSE(codes.empty());
    EXPECT_EQ(codes.back(), 255);
    // Categories never go back; the tip comes last.
    std::vector<int> categories;
    for (std::size_t n = 0; n + 1 < codes.size(); ++n)
        categories.push_back(codes[n] >> 5);
    EXPECT_TRUE(std::is_sorted(categories.begin(), categories.end()));
    EXPECT_EQ(codes[codes.size() - 2], 6 * 32 + 4);
    EXPECT_TRUE(hasCode(events, 32 + 0));      // redirect speed
    EXPECT_TRUE(hasCode(events, 2 * 32 + 1));  // tiny text
    EXPECT_TRUE(hasCode(events, 3 * 32 + 0));  // missing ALT
    EXPECT_TRUE(hasCode(events, 4 * 32 + 0));  // dynamic link
    // Tiny text is placed at the byte after the size value.
    const std::string* tiny = eventWithCode(events, 2 * 32 + 1);
    ASSERT_NE(tiny, nullptr);
    EXPECT_EQ(*tiny,
              "W|a.html|Using \"tiny text\" on a page can be considered spamming. Used size is "
              "1.|" +
                  std::to_string(
                      std::string_view("<html><head><meta http-equiv=\"refresh\" content=\"5\">"
                                       "<title>x</title></head><body><font size=\"1")
                          .size()) +
                  "|65");
}

// Pages of many shapes, with files missing and disabled among them.
std::vector<ListedFile> writeManyPages(const ScratchFolder& folder, int count) {
    std::vector<ListedFile> files;
    for (int n = 0; n < count; ++n) {
        const std::string name = "page" + std::to_string(n) + ".html";
        if (n % 7 == 3) {
            files.push_back({name, true});  // listed but never written
            continue;
        }
        std::string body;
        for (int w = 0; w < (n * 37) % 400; ++w) {
            body += (w % (n % 5 + 2) == 0) ? "hiking boots " : "trail ";
        }
        if (n % 3 == 0) body += "<h1>Hiking</h1><table><tr><td>x</td></tr></table>";
        if (n % 4 == 0) body += "<img src=\"hiking-boots.jpg\"><a href=\"?q\">hiking boots</a>";
        const std::string title =
            std::string(static_cast<std::size_t>(n % 90), 't') + " hiking boots";
        writeBytes(folder.file(name), page(title, body,
                                           n % 2 ? "<meta name=\"description\" content=\"hiking "
                                                   "boots\">"
                                                 : ""));
        files.push_back({name, n % 11 != 5});
    }
    return files;
}

TEST_F(AnalysisRunTest, ParallelRunsReportExactlyAsOneJobDoes) {
    const RunInputs inputs = inputsFor(writeManyPages(folder, 120));
    rules.set(6, 0, CheckField::Enable, "1", true);
    const auto sequential = run(inputs, 1);
    const auto codes = checkCodes(sequential);
    ASSERT_GT(std::count(codes.begin(), codes.end(), -1), 10);
    ASSERT_GT(std::count(codes.begin(), codes.end(), 255), 90);
    for (const unsigned jobs : {2u, 3u, 8u, 200u}) {
        SCOPED_TRACE(jobs);
        EXPECT_EQ(run(inputs, jobs), sequential);
    }
}

// A sink that gives up after a number of entries.
class FailingSink : public ReportSink {
public:
    explicit FailingSink(int limit) : limit_(limit) {}
    void appendEntry(const ReportEntry&) override {
        if (++count_ > limit_) throw std::runtime_error("sink full");
    }
    void fileNotOpened(std::string_view, std::string_view) override {}

private:
    int limit_;
    int count_ = 0;
};

TEST_F(AnalysisRunTest, ASinkFailureStopsTheWorkersAndReachesTheCaller) {
    const RunInputs inputs = inputsFor(writeManyPages(folder, 60));
    for (const unsigned jobs : {1u, 2u, 4u}) {
        SCOPED_TRACE(jobs);
        FailingSink sink(50);
        EXPECT_THROW(runAnalysis(inputs, rules, sink, jobs), std::runtime_error);
    }
}

TEST_F(AnalysisRunTest, ParallelRunOfFewerFilesThanJobs) {
    ASSERT_TRUE(writeBytes(folder.file("a.html"), page("Hiking boots", "hiking boots")));
    const RunInputs inputs = inputsFor({{"a.html"}, {"gone.html"}});
    EXPECT_EQ(run(inputs, 16), run(inputs, 1));
    EXPECT_TRUE(run(inputsFor({}), 4).empty());
    EXPECT_EQ(run(inputs, 0), run(inputs, 1));
}

// Reads pages from the file system, holding back the page at one index of
// the enabled files until `release` is called (or the held page's wait
// ends), and watching every load against the files the sink has received.
class HoldingPageSource : public PageSource {
public:
    HoldingPageSource(const std::vector<ListedFile>& files, std::size_t heldIndex)
        : heldIndex_(heldIndex) {
        for (const ListedFile& file : files) {
            if (file.enabled) indexOf_[file.name] = indexOf_.size();
        }
    }

    bool load(PageScan& scan, const std::string& path) const override {
        const std::size_t index = indexOf_.at(path.substr(path.rfind('/') + 1));
        {
            std::unique_lock lock(mutex_);
            ++loadsStarted_;
            // A file taken further ahead of the sink than the ring allows;
            // the count seen here lags the run's by at most the file being
            // handed over.
            if (index >= delivered + aheadLimit + 1) ++overruns_;
            changed_.notify_all();
            if (index == heldIndex_) {
                if (onHeld) onHeld();
                changed_.wait(lock, [&] { return released_; });
            }
        }
        return scan.load(path);
    }

    void release() {
        std::lock_guard lock(mutex_);
        released_ = true;
        changed_.notify_all();
    }
    // Waits until `count` loads have started; false after the timeout.
    bool waitForLoads(std::size_t count, std::chrono::milliseconds timeout) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, timeout, [&] { return loadsStarted_ >= count; });
    }
    std::size_t loadsStarted() const {
        std::lock_guard lock(mutex_);
        return loadsStarted_;
    }
    std::size_t overruns() const {
        std::lock_guard lock(mutex_);
        return overruns_;
    }

    std::atomic<std::size_t> delivered = 0;  // kept by the progress callback
    std::size_t aheadLimit = SIZE_MAX;
    std::function<void()> onHeld;  // called when the held page is reached

private:
    std::map<std::string, std::size_t> indexOf_;
    std::size_t heldIndex_;
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    mutable std::size_t loadsStarted_ = 0;
    mutable std::size_t overruns_ = 0;
    bool released_ = false;
};

TEST_F(AnalysisRunTest, NoFileIsTakenFurtherAheadOfTheSinkThanTheRingAllows) {
    for (const unsigned jobs : {2u, 3u}) {
        SCOPED_TRACE(jobs);
        const std::size_t limit = filesAheadLimit(jobs);
        const RunInputs inputs = inputsFor(writeManyPages(folder, static_cast<int>(limit * 3)));
        const auto sequential = run(inputs, 1);

        // The first file is held: the other threads fill the ring behind it
        // and must then wait, however long it takes.
        HoldingPageSource source(inputs.files, 0);
        source.aheadLimit = limit;
        RunControl control;
        control.pages = &source;
        control.progress = [&](std::size_t done, std::size_t) { source.delivered = done; };
        RecordingSink sink;
        std::thread releaser([&] {
            EXPECT_TRUE(source.waitForLoads(limit, std::chrono::seconds(20)));
            // Time for one file too many to be taken.
            EXPECT_FALSE(source.waitForLoads(limit + 1, std::chrono::milliseconds(150)));
            EXPECT_EQ(source.loadsStarted(), limit);
            source.release();
        });
        EXPECT_EQ(runAnalysis(inputs, rules, sink, jobs, control), RunOutcome::Completed);
        releaser.join();
        EXPECT_EQ(source.overruns(), 0u);
        EXPECT_EQ(sink.events, sequential);
    }
}

// True when the events are the report of the first files of `full`, each
// whole: a prefix of it that ends after a file's last event.
bool isWholeFilesPrefix(const std::vector<std::string>& events,
                        const std::vector<std::string>& full) {
    if (events.size() > full.size() || !std::equal(events.begin(), events.end(), full.begin())) {
        return false;
    }
    return events.empty() || events.back() == kSeparatorEvent ||
           events.back().rfind("unopened|", 0) == 0;
}

std::size_t filesIn(const std::vector<std::string>& events) {
    return static_cast<std::size_t>(std::count_if(events.begin(), events.end(), [](auto& e) {
        return e == kSeparatorEvent || e.rfind("unopened|", 0) == 0;
    }));
}

TEST_F(AnalysisRunTest, AStoppedRunEndsAfterWholeFilesAndSaysSo) {
    const RunInputs inputs = inputsFor(writeManyPages(folder, 40));
    const auto full = run(inputs, 1);
    const std::size_t toDo = filesIn(full);
    ASSERT_GT(toDo, 30u);

    struct Case {
        const char* name;
        unsigned jobs;
        std::optional<std::size_t> stopAtFile;  // while its page is read; none: before the run
        RunOutcome outcome;
    };
    const Case cases[] = {
        {"before the run, one job", 1, std::nullopt, RunOutcome::Stopped},
        {"before the run, three jobs", 3, std::nullopt, RunOutcome::Stopped},
        {"first file, one job", 1, 0, RunOutcome::Stopped},
        {"middle file, one job", 1, 7, RunOutcome::Stopped},
        {"middle file, two jobs", 2, 7, RunOutcome::Stopped},
        {"middle file, four jobs", 4, 12, RunOutcome::Stopped},
        {"last file, one job", 1, toDo - 1, RunOutcome::Completed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::stop_source stopper;
        if (!c.stopAtFile) stopper.request_stop();
        HoldingPageSource source(inputs.files, c.stopAtFile.value_or(SIZE_MAX));
        source.onHeld = [&] { stopper.request_stop(); };
        source.release();  // the page is read at once; only the stop matters
        std::vector<std::size_t> progress;
        RunControl control;
        control.pages = &source;
        control.stop = stopper.get_token();
        control.progress = [&](std::size_t done, std::size_t filesToDo) {
            EXPECT_EQ(filesToDo, toDo);
            progress.push_back(done);
        };

        RecordingSink sink;
        EXPECT_EQ(runAnalysis(inputs, rules, sink, c.jobs, control), c.outcome);
        EXPECT_TRUE(isWholeFilesPrefix(sink.events, full));
        const std::size_t delivered = filesIn(sink.events);
        if (!c.stopAtFile) {
            EXPECT_EQ(delivered, 0u);
        } else if (c.jobs == 1) {
            EXPECT_EQ(delivered, *c.stopAtFile + 1);  // the file being read is finished
        } else {
            EXPECT_LE(delivered, *c.stopAtFile + 1);
        }
        // 0, then once per file handed over.
        std::vector<std::size_t> expected(delivered + 1);
        for (std::size_t n = 0; n < expected.size(); ++n)
            expected[n] = n;
        EXPECT_EQ(progress, expected);
    }
}

TEST_F(AnalysisRunTest, ProgressCountsEnabledFilesOnTheCallingThread) {
    const RunInputs inputs = inputsFor(writeManyPages(folder, 30));
    const std::size_t toDo = static_cast<std::size_t>(std::count_if(
        inputs.files.begin(), inputs.files.end(), [](const ListedFile& f) { return f.enabled; }));
    for (const unsigned jobs : {1u, 2u, 4u}) {
        SCOPED_TRACE(jobs);
        std::vector<std::pair<std::size_t, std::size_t>> calls;
        RunControl control;
        control.progress = [&](std::size_t done, std::size_t filesToDo) {
            EXPECT_EQ(std::this_thread::get_id(), mainThread_);
            calls.emplace_back(done, filesToDo);
        };
        RecordingSink sink;
        EXPECT_EQ(runAnalysis(inputs, rules, sink, jobs, control), RunOutcome::Completed);
        ASSERT_EQ(calls.size(), toDo + 1);
        for (std::size_t n = 0; n < calls.size(); ++n) {
            EXPECT_EQ(calls[n], std::make_pair(n, toDo));
        }
    }
}

TEST(RunInputs, ProblemsInTheOrderOfTheStartCommand) {
    struct Case {
        const char* name;
        std::string keyword;
        std::vector<ListedFile> files;
        std::optional<std::string_view> problem;
    };
    const Case cases[] = {
        {"nothing", "", {}, "Please define a keyword before to run the check"},
        {"no keyword", "", {{"a.html"}}, "Please define a keyword before to run the check"},
        {"no file", "k", {}, "Please add one or more files before to run the check"},
        {"no enabled file",
         "k",
         {{"a.html", false}, {"b.html", false}},
         "Please enable one or more files before to run the check"},
        {"ready", "k", {{"a.html", false}, {"b.html", true}}, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RunInputs inputs;
        inputs.keyword = c.keyword;
        inputs.files = c.files;
        EXPECT_EQ(runInputsProblem(inputs), c.problem);
    }
}

constexpr std::string_view kSettings =
    "\r\n[Projects]\r\nCount=2\r\nItem1=Other\r\nItem2=Site\r\nCurrent=Site\r\n"
    "\r\n[Site]\r\nFolder=/srv/site\r\nHome Url=http://www.site.example/\r\nKeyCount=2\r\n"
    "Key1=first\r\nKey2=hiking boots\r\nCurrentKey=hiking boots\r\nFileCount=3\r\n"
    "File1=index.html\r\nFile2=*old.html\r\nFile3=/abs/page.htm\r\n"
    "CurrentSearchEngine=Engine B\r\n"
    "\r\n[Options]\r\nKillTeminatingS=1\r\nSkipShortWords=1\r\nMinWordLength=4\r\n";

TEST(RunInputs, ReadFromTheCurrentProjectOfTheSettings) {
    ScratchFolder folder;
    ASSERT_TRUE(writeBytes(folder.file("q.hc"), std::string(kSettings)));
    UserSettings settings;
    ASSERT_TRUE(settings.open(folder.file("q.hc")));
    const RunInputs inputs = runInputsFromSettings(settings);
    EXPECT_EQ(inputs.folder, "/srv/site");
    EXPECT_EQ(inputs.homeUrl, "http://www.site.example/");
    EXPECT_EQ(inputs.keyword, "hiking boots");
    ASSERT_EQ(inputs.files.size(), 3u);
    EXPECT_EQ(inputs.files[0].name, "index.html");
    EXPECT_TRUE(inputs.files[0].enabled);
    EXPECT_EQ(inputs.files[1].name, "old.html");
    EXPECT_FALSE(inputs.files[1].enabled);
    EXPECT_EQ(inputs.files[2].name, "/abs/page.htm");
    EXPECT_TRUE(inputs.killTerminatingS);
    EXPECT_TRUE(inputs.skipShortWords);
    EXPECT_EQ(inputs.minWordLength, 4);

    UserSettings empty;
    empty.open(folder.file("missing.hc"));
    const RunInputs defaults = runInputsFromSettings(empty);
    EXPECT_TRUE(defaults.keyword.empty());
    EXPECT_TRUE(defaults.files.empty());
    EXPECT_FALSE(defaults.killTerminatingS);
    EXPECT_FALSE(defaults.skipShortWords);
    EXPECT_EQ(defaults.minWordLength, 3);
}

TEST(RunAnalysisFromSettings, UsesTheCurrentEngineOfTheCheckerFile) {
    ScratchFolder folder;
    ASSERT_TRUE(writeBytes(folder.file("a.html"), page("Hiking Boots", "x")));
    ASSERT_TRUE(writeBytes(
        folder.file("q.hc"),
        "\r\n[Projects]\r\nCount=1\r\nItem1=Site\r\nCurrent=Site\r\n\r\n[Site]\r\nFolder=" +
            folder.path() +
            "\r\nCurrentKey=hiking boots\r\nFileCount=1\r\nFile1=a.html\r\n"
            "CurrentSearchEngine=Engine B\r\n"));
    ASSERT_TRUE(writeBytes(folder.file("q.chk"),
                           "\r\n[SearchEngines]\r\nCount=1\r\nItem1=Engine B\r\n"
                           "\r\n[Engine B]\r\nCaseSensitive=0\r\n0TitleCat=E\r\n"
                           "8TitleEnable=0\r\n"));
    UserSettings settings;
    ASSERT_TRUE(settings.open(folder.file("q.hc")));
    CheckerFile checker(&settings);
    ASSERT_TRUE(checker.open(folder.file("q.chk")));

    RecordingSink current;
    runAnalysis(settings, checker, current);
    // Case-insensitive: the title holds the keyword; Too few Title tags is off.
    EXPECT_FALSE(hasCode(current.events, kTitleNoKeyword));
    EXPECT_FALSE(hasCode(current.events, 8));

    RecordingSink generic;
    runAnalysis(settings, checker, generic, kDefaultEngineName, 2);
    EXPECT_TRUE(hasCode(generic.events, kTitleNoKeyword));
    EXPECT_TRUE(hasCode(generic.events, 8));
}

}  // namespace
}  // namespace quorvel
