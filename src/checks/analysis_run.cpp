#include "checks/analysis_run.h"

#include <algorithm>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <memory>
#include <mutex>
#include <optional>
#include <stop_token>
#include <system_error>
#include <thread>
#include <utility>

#include "analysis/page_scan.h"
#include "checks/check_rules.h"
#include "checks/checker_file.h"
#include "platform/program_paths.h"
#include "settings/user_settings.h"

namespace quorvel {

namespace {

constexpr int kStopWordsCheck = 9;  // Title: "Contains stop words"

// Results a parallel run may hold ahead of the sink, per job: enough that the
// workers go on while the calling thread analyses a large file itself.
constexpr std::size_t kSlotsPerJob = 8;

// Threads beyond a few per core only wait for a core (or for the disk, which
// a few per core already keep busy).
constexpr unsigned kMaxJobsPerCore = 4;

// The page source of a run without one: the file system.
class FilePageSource : public PageSource {
public:
    bool load(PageScan& scan, const std::string& path) const override { return scan.load(path); }
};

// What stays the same for every file of a run.
struct RunPlan {
    const RunInputs& inputs;
    const EngineRules& engineRules;
    CheckRules rules;
    std::string_view homeHost;
    // The stop-word list handed to the scanner, when its check is enabled.
    std::optional<std::string> stopWordList;
    const PageSource& pages;
};

// The outcome of one file, kept until it is handed to the sink.
struct FileResult {
    const ListedFile* file = nullptr;
    bool opened = false;
    std::vector<ReportEntry> entries;  // the checks' entries, without the separator
};

// Reads, scans and checks files, one at a time, with a scanner of its own.
class FileAnalyser {
public:
    explicit FileAnalyser(const RunPlan& plan) : plan_(plan), scan_(std::make_unique<PageScan>()) {
        // A fresh matcher: a refused phrase leaves it without words, so every
        // keyword count is 0.
        KeywordMatcher& matcher = scan_->keywordMatcher();
        matcher.setFinalSRule(plan.inputs.killTerminatingS);
        matcher.loadPhrase(plan.inputs.keyword, plan.engineRules.caseSensitive);
    }

    void analyse(const ListedFile& file, FileResult& result) {
        result.file = &file;
        result.entries.clear();

        KeywordMatcher& matcher = scan_->keywordMatcher();
        RunFacts facts;
        facts.homeHost = plan_.homeHost;
        facts.fileNameKeywordCount = matcher.countMatches(file.name);
        facts.domainKeywordCount = matcher.countMatches(plan_.homeHost);

        result.opened = plan_.pages.load(*scan_, joinFolderAndName(plan_.inputs.folder, file.name));
        if (!result.opened) return;
        if (plan_.stopWordList) scan_->stopWordList = *plan_.stopWordList;
        if (plan_.inputs.skipShortWords) {
            // Never wrapped: a negative length skips nothing.
            scan_->setMinWordLength(
                static_cast<std::uint16_t>(std::clamp(plan_.inputs.minWordLength, 0, 0xFFFF)));
        }
        scan_->scan();

        facts.keywordLetterCount = matcher.keywordLetterCount();
        facts.keywordDensity = keywordDensity(scan_->bodyKeywordCount, scan_->totalWordCount);
        CheckEntryWriter writer(plan_.rules, file.name, result.entries);
        evaluateChecks(*scan_, facts, plan_.rules, writer);
        scan_->release();
    }

private:
    const RunPlan& plan_;
    std::unique_ptr<PageScan> scan_;
};

// Hands finished files to the sink in list order and tells the progress.
class Delivery {
public:
    Delivery(ReportSink& sink, const RunControl& control, std::size_t filesToDo)
        : sink_(sink), control_(control), filesToDo_(filesToDo) {
        reportProgress();
    }

    // True when the file after the ones delivered may be handed over: there
    // is one and no stop was requested.
    bool wantsMore() const { return done_ < filesToDo_ && !stopRequested(); }
    bool stopRequested() const { return control_.stop.stop_requested(); }
    std::size_t done() const { return done_; }

    void deliver(const FileResult& result) {
        if (!result.opened) {
            sink_.fileNotOpened(result.file->name, cannotOpenMessage(result.file->name));
        } else {
            for (const ReportEntry& entry : result.entries)
                sink_.appendEntry(entry);
            sink_.appendEntry(ReportEntry{});  // the separator after the file's entries
        }
        ++done_;
        reportProgress();
    }

    RunOutcome outcome() const {
        return done_ == filesToDo_ ? RunOutcome::Completed : RunOutcome::Stopped;
    }

private:
    void reportProgress() const {
        if (control_.progress) control_.progress(done_, filesToDo_);
    }

    ReportSink& sink_;
    const RunControl& control_;
    std::size_t filesToDo_;
    std::size_t done_ = 0;
};

RunOutcome runSequential(const RunPlan& plan, const std::vector<const ListedFile*>& files,
                         Delivery& delivery) {
    FileAnalyser analyser(plan);
    FileResult result;
    while (delivery.wantsMore()) {
        analyser.analyse(*files[delivery.done()], result);
        delivery.deliver(result);
    }
    return delivery.outcome();
}

// jobs - 1 workers and the calling thread take the files in list order and
// leave each result in a ring of filesAheadLimit(jobs) slots; the calling
// thread hands the results to the sink in order. When the next result is not
// ready it analyses a file itself instead of sleeping, so jobs threads run,
// never more, and it is rarely woken. A file is taken only while its slot is
// free (mayTakeFile), so no thread runs more than the ring ahead of the sink.
// A stop request, or a failure on either side (memory, or an exception from
// the sink), stops the workers; a failure reaches the caller after they have
// been joined.
class ParallelRun {
public:
    ParallelRun(const RunPlan& plan, const std::vector<const ListedFile*>& files, unsigned jobs,
                const std::stop_token& stop)
        : plan_(plan), files_(files), slots_(filesAheadLimit(jobs)), stop_(stop) {}

    // Nothing when no worker thread could be started (nothing was handed
    // over then).
    std::optional<RunOutcome> run(unsigned jobs, Delivery& delivery) {
        std::vector<std::thread> workers;
        workers.reserve(jobs - 1);
        for (unsigned n = 1; n < jobs; ++n) {
            try {
                workers.emplace_back([this] { work(); });
            } catch (const std::system_error&) {
                break;  // go on with the workers there are
            }
        }
        if (workers.empty()) return std::nullopt;

        std::exception_ptr failure;
        try {
            deliverInOrder(delivery);
        } catch (...) {
            failure = std::current_exception();
        }
        {
            std::lock_guard lock(mutex_);
            ended_ = true;
        }
        slotFree_.notify_all();
        for (std::thread& worker : workers)
            worker.join();
        if (failure) std::rethrow_exception(failure);
        return delivery.outcome();
    }

private:
    struct Slot {
        bool ready = false;
        FileResult result;
    };

    Slot& slotOf(std::size_t fileIndex) { return slots_[fileIndex % slots_.size()]; }

    // The ring limit: the next file may be taken while there is one and its
    // slot no longer holds a file the sink has yet to receive. The mutex is
    // held.
    bool mayTakeFile() const {
        return nextFile_ < files_.size() && nextFile_ < delivered_ + slots_.size();
    }

    void deliverInOrder(Delivery& delivery) {
        while (delivery.wantsMore()) {
            const std::size_t next = delivery.done();
            Slot& slot = slotOf(next);
            FileResult result;
            {
                std::unique_lock lock(mutex_);
                while (!slot.ready && !workerFailure_) {
                    if (mayTakeFile()) {
                        const std::size_t index = nextFile_++;
                        lock.unlock();
                        analyseInto(index);
                        lock.lock();
                    } else {
                        resultReady_.wait(lock);
                    }
                }
                if (!slot.ready) std::rethrow_exception(workerFailure_);
                result = std::move(slot.result);
                slot.ready = false;
                delivered_ = next + 1;
            }
            // One slot came free, so one file may be taken: waking every
            // worker would cost a wake-up per worker for each file.
            slotFree_.notify_one();
            delivery.deliver(result);
        }
    }

    // Analyses a file on the calling thread and fills its slot.
    void analyseInto(std::size_t index) {
        if (!ownAnalyser_) ownAnalyser_ = std::make_unique<FileAnalyser>(plan_);
        FileResult result;
        ownAnalyser_->analyse(*files_[index], result);
        std::lock_guard lock(mutex_);
        Slot& slot = slotOf(index);
        slot.result = std::move(result);
        slot.ready = true;
    }

    void work() {
        try {
            FileAnalyser analyser(plan_);
            for (;;) {
                std::size_t index = 0;
                {
                    std::unique_lock lock(mutex_);
                    slotFree_.wait(lock, [&] {
                        return ended_ || nextFile_ >= files_.size() || mayTakeFile();
                    });
                    if (ended_ || !mayTakeFile() || stop_.stop_requested()) return;
                    index = nextFile_++;
                }
                FileResult result;
                analyser.analyse(*files_[index], result);
                {
                    std::lock_guard lock(mutex_);
                    Slot& slot = slotOf(index);
                    slot.result = std::move(result);
                    slot.ready = true;
                }
                resultReady_.notify_one();
            }
        } catch (...) {
            {
                std::lock_guard lock(mutex_);
                if (!workerFailure_) workerFailure_ = std::current_exception();
            }
            resultReady_.notify_one();
        }
    }

    const RunPlan& plan_;
    const std::vector<const ListedFile*>& files_;
    std::vector<Slot> slots_;
    std::stop_token stop_;
    std::mutex mutex_;
    std::condition_variable resultReady_;        // a slot was filled, or a worker failed
    std::condition_variable slotFree_;           // a slot was emptied, or the run ends
    std::size_t nextFile_ = 0;                   // the next file to be taken
    std::size_t delivered_ = 0;                  // files handed to the sink
    bool ended_ = false;                         // the calling thread ends the run
    std::exception_ptr workerFailure_;           // the first failure of a worker
    std::unique_ptr<FileAnalyser> ownAnalyser_;  // the calling thread's, made when first needed
};

}  // namespace

RunInputs runInputsFromSettings(const UserSettings& settings) {
    RunInputs inputs;
    inputs.folder = settings.folder();
    inputs.homeUrl = settings.homeUrl();
    inputs.keyword = settings.currentKeyword();
    inputs.files = settings.files<ListedFile>();
    inputs.killTerminatingS = settings.option(IntOption::KillTeminatingS) != 0;
    inputs.skipShortWords = settings.option(IntOption::SkipShortWords) != 0;
    inputs.minWordLength = settings.option(IntOption::MinWordLength);
    return inputs;
}

std::optional<std::string_view> runInputsProblem(const RunInputs& inputs) {
    if (inputs.keyword.empty()) return "Please define a keyword before to run the check";
    if (inputs.files.empty()) return "Please add one or more files before to run the check";
    const bool anyEnabled = std::any_of(inputs.files.begin(), inputs.files.end(),
                                        [](const ListedFile& file) { return file.enabled; });
    if (!anyEnabled) return "Please enable one or more files before to run the check";
    return std::nullopt;
}

std::string cannotOpenMessage(std::string_view fileName) {
    std::string message = "Cannot open the HTML file:";
    message += ' ';
    message += fileName;
    message += "\n\nAre you looking in the correct Project Folder?";
    return message;
}

unsigned defaultJobCount() {
    return std::max(1u, std::thread::hardware_concurrency());
}

unsigned maxUsefulJobCount() {
    return kMaxJobsPerCore * defaultJobCount();
}

std::size_t filesAheadLimit(unsigned jobs) {
    return kSlotsPerJob * std::max<std::size_t>(jobs, 1);
}

RunOutcome runAnalysis(const RunInputs& inputs, const EngineRules& rules, ReportSink& sink,
                       unsigned jobs, const RunControl& control) {
    static const FilePageSource fileSystem;
    RunPlan plan{inputs,
                 rules,
                 CheckRules(rules),
                 homeHostOf(inputs.homeUrl),
                 std::nullopt,
                 control.pages != nullptr ? *control.pages : fileSystem};
    if (plan.rules.enabled(CheckCategory::Title, kStopWordsCheck)) {
        plan.stopWordList =
            rules.field(static_cast<int>(CheckCategory::Title), kStopWordsCheck, CheckField::Value);
    }

    std::vector<const ListedFile*> files;
    for (const ListedFile& file : inputs.files) {
        if (file.enabled) files.push_back(&file);
    }

    Delivery delivery(sink, control, files.size());
    jobs = std::min(std::max(jobs, 1u), maxUsefulJobCount());
    jobs =
        static_cast<unsigned>(std::min<std::size_t>(jobs, std::max<std::size_t>(files.size(), 1)));
    if (jobs > 1) {
        if (const auto outcome = ParallelRun(plan, files, jobs, control.stop).run(jobs, delivery)) {
            return *outcome;
        }
    }
    return runSequential(plan, files, delivery);
}

RunOutcome runAnalysis(const UserSettings& settings, const CheckerFile& checker, ReportSink& sink,
                       std::string_view engine, unsigned jobs, const RunControl& control) {
    const std::string engineName = engine.empty() ? checker.currentEngine() : std::string(engine);
    const EngineRules rules = checker.resolve(engineName);
    return runAnalysis(runInputsFromSettings(settings), rules, sink, jobs, control);
}

}  // namespace quorvel
