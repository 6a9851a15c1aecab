#include "checks/analysis_run.h"

#include <algorithm>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <memory>
#include <mutex>
#include <optional>
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

// What stays the same for every file of a run.
struct RunPlan {
    const RunInputs& inputs;
    const EngineRules& engineRules;
    CheckRules rules;
    std::string_view homeHost;
    // The stop-word list handed to the scanner, when its check is enabled.
    std::optional<std::string> stopWordList;
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

        result.opened = scan_->load(joinFolderAndName(plan_.inputs.folder, file.name));
        if (!result.opened) return;
        if (plan_.stopWordList) scan_->stopWordList = *plan_.stopWordList;
        if (plan_.inputs.skipShortWords) {
            scan_->setMinWordLength(static_cast<std::uint16_t>(plan_.inputs.minWordLength));
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

void emit(const FileResult& result, ReportSink& sink) {
    if (!result.opened) {
        sink.fileNotOpened(result.file->name, cannotOpenMessage(result.file->name));
        return;
    }
    for (const ReportEntry& entry : result.entries)
        sink.appendEntry(entry);
    sink.appendEntry(ReportEntry{});  // the separator after the file's entries
}

void runSequential(const RunPlan& plan, const std::vector<const ListedFile*>& files,
                   ReportSink& sink) {
    FileAnalyser analyser(plan);
    FileResult result;
    for (const ListedFile* file : files) {
        analyser.analyse(*file, result);
        emit(result, sink);
    }
}

// jobs - 1 workers and the calling thread take the files in list order and
// leave each result in a ring of 2 * jobs slots; the calling thread hands the
// results to the sink in order. When the next result is not ready it
// analyses a file itself instead of sleeping, so jobs threads run, never
// more, and it is rarely woken. A file is taken only when its slot is free,
// so no thread runs more than the ring ahead of the sink. A failure on either side (memory, or an
// exception from the sink) stops the workers and reaches the caller after
// they have been joined.
class ParallelRun {
public:
    ParallelRun(const RunPlan& plan, const std::vector<const ListedFile*>& files, unsigned jobs)
        : plan_(plan), files_(files), slots_(kSlotsPerJob * static_cast<std::size_t>(jobs)) {}

    // False when no worker thread could be started (nothing was emitted).
    bool run(unsigned jobs, ReportSink& sink) {
        std::vector<std::thread> workers;
        workers.reserve(jobs - 1);
        for (unsigned n = 1; n < jobs; ++n) {
            try {
                workers.emplace_back([this] { work(); });
            } catch (const std::system_error&) {
                break;  // go on with the workers there are
            }
        }
        if (workers.empty()) return false;

        std::exception_ptr failure;
        try {
            emitInOrder(sink);
        } catch (...) {
            failure = std::current_exception();
        }
        {
            std::lock_guard lock(mutex_);
            stopped_ = true;
        }
        slotFree_.notify_all();
        for (std::thread& worker : workers)
            worker.join();
        if (failure) std::rethrow_exception(failure);
        return true;
    }

private:
    struct Slot {
        bool ready = false;
        FileResult result;
    };

    Slot& slotOf(std::size_t fileIndex) { return slots_[fileIndex % slots_.size()]; }

    void emitInOrder(ReportSink& sink) {
        for (std::size_t next = 0; next < files_.size(); ++next) {
            Slot& slot = slotOf(next);
            FileResult result;
            {
                std::unique_lock lock(mutex_);
                while (!slot.ready && !workerFailure_) {
                    if (const auto index = takeFile()) {
                        lock.unlock();
                        analyseInto(*index);
                        lock.lock();
                    } else {
                        resultReady_.wait(lock);
                    }
                }
                if (!slot.ready) std::rethrow_exception(workerFailure_);
                result = std::move(slot.result);
                slot.ready = false;
                emitted_ = next + 1;
            }
            slotFree_.notify_all();
            emit(result, sink);
        }
    }

    // The next file to analyse when its slot is free; the mutex is held.
    std::optional<std::size_t> takeFile() {
        if (nextFile_ >= files_.size() || nextFile_ >= emitted_ + slots_.size()) {
            return std::nullopt;
        }
        return nextFile_++;
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
                        return stopped_ || nextFile_ >= files_.size() ||
                               nextFile_ < emitted_ + slots_.size();
                    });
                    if (stopped_ || nextFile_ >= files_.size()) return;
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
    std::mutex mutex_;
    std::condition_variable resultReady_;        // a slot was filled, or a worker failed
    std::condition_variable slotFree_;           // a slot was emptied, or the run stops
    std::size_t nextFile_ = 0;                   // the next file a worker takes
    std::size_t emitted_ = 0;                    // files handed to the sink
    bool stopped_ = false;                       // the calling thread ends the run
    std::exception_ptr workerFailure_;           // the first failure of a worker
    std::unique_ptr<FileAnalyser> ownAnalyser_;  // the calling thread's, made when first needed
};

}  // namespace

RunInputs runInputsFromSettings(const UserSettings& settings) {
    RunInputs inputs;
    inputs.folder = settings.folder();
    inputs.homeUrl = settings.homeUrl();
    inputs.keyword = settings.currentKeyword();
    inputs.files = settings.files();
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

void runAnalysis(const RunInputs& inputs, const EngineRules& rules, ReportSink& sink,
                 unsigned jobs) {
    RunPlan plan{inputs, rules, CheckRules(rules), homeHostOf(inputs.homeUrl), std::nullopt};
    if (plan.rules.enabled(CheckCategory::Title, kStopWordsCheck)) {
        plan.stopWordList =
            rules.field(static_cast<int>(CheckCategory::Title), kStopWordsCheck, CheckField::Value);
    }

    std::vector<const ListedFile*> files;
    for (const ListedFile& file : inputs.files) {
        if (file.enabled) files.push_back(&file);
    }

    jobs = static_cast<unsigned>(
        std::min<std::size_t>(std::max(jobs, 1u), std::max<std::size_t>(files.size(), 1)));
    if (jobs > 1 && ParallelRun(plan, files, jobs).run(jobs, sink)) return;
    runSequential(plan, files, sink);
}

void runAnalysis(const UserSettings& settings, const CheckerFile& checker, ReportSink& sink,
                 std::string_view engine, unsigned jobs) {
    const std::string engineName = engine.empty() ? checker.currentEngine() : std::string(engine);
    const EngineRules rules = checker.resolve(engineName);
    runAnalysis(runInputsFromSettings(settings), rules, sink, jobs);
}

}  // namespace quorvel
