#pragma once

// The analysis run: every enabled file of a project scanned for one keyword
// and checked against one engine's rules, the report entries handed to a sink
// in list order.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <stop_token>
#include <string>
#include <string_view>
#include <vector>

#include "checks/check_entry.h"

namespace quorvel {

class CheckerFile;
class EngineRules;
class PageScan;
class UserSettings;

// One item of a project's file list: the name as listed, without the
// disabled marker, and whether it is enabled.
struct ListedFile {
    std::string name;
    bool enabled = true;
};

// Everything a run reads besides the engine's rules.
struct RunInputs {
    std::string folder;   // joined to relative file names
    std::string homeUrl;  // source of the home host
    std::string keyword;  // the keyword or phrase
    std::vector<ListedFile> files;
    bool killTerminatingS = false;  // the final-s rule of the keyword matcher
    bool skipShortWords = false;
    int minWordLength = 3;  // used when skipShortWords is set; below 0 counts as 0
};

// The inputs of the current project of the settings: folder, home URL, the
// current keyword, the file list and the word options.
RunInputs runInputsFromSettings(const UserSettings& settings);

// The reason a run cannot start, as the Start command words it: no keyword,
// no file, or no enabled file. Nothing when the run can start.
std::optional<std::string_view> runInputsProblem(const RunInputs& inputs);

// The text shown for a listed file that cannot be read.
std::string cannotOpenMessage(std::string_view fileName);

// The number of files analysed at once by default: the number of cores, at
// least 1.
unsigned defaultJobCount();

// The most files analysed at once: a few per core. A run asked for more
// uses this many.
unsigned maxUsefulJobCount();

// Where a run reads its pages. The run calls load from several threads at
// once when it has more than one job.
class PageSource {
public:
    virtual ~PageSource() = default;
    // Reads the page at path into scan (PageScan::load); false when it
    // cannot be read.
    virtual bool load(PageScan& scan, const std::string& path) const = 0;
};

// How the caller follows and ends a run.
struct RunControl {
    // Called on the calling thread: once with 0 before the first file, then
    // after each file's entries (or its fileNotOpened) with the number of
    // files handed to the sink so far; filesToDo is the number of enabled
    // files.
    std::function<void(std::size_t filesDone, std::size_t filesToDo)> progress;
    // Checked between files: once a stop is requested no further file is
    // handed to the sink.
    std::stop_token stop;
    // Where pages are read; the file system when null.
    const PageSource* pages = nullptr;
};

enum class RunOutcome {
    Completed,  // every enabled file was handed to the sink
    Stopped,    // a stop was requested; the sink holds the first files' entries
};

// The number of files a run with that many jobs analyses at most ahead of
// the one being handed to the sink (the one itself included).
std::size_t filesAheadLimit(unsigned jobs);

// Runs the analysis: for each enabled file in list order the page is read,
// scanned and checked, and its entries followed by one separator entry go to
// the sink; for a file that cannot be read only sink.fileNotOpened is called.
// With jobs above 1 that many files are analysed at once, on jobs - 1 worker
// threads and on the calling thread whenever the next result is not ready,
// each with its own scanner; the sink is still called from the calling
// thread only, in exactly the order of a run with one job, and never more
// than filesAheadLimit(jobs) files are analysed ahead of the sink. jobs 0
// counts as 1, jobs is cut to maxUsefulJobCount() and to the number of
// enabled files, and a run with one job starts no thread.
//
// A stopped run returns Stopped once the file being handed over is
// complete: the sink then holds whole files only, always the first ones of
// the list, and every worker thread has ended. An exception from the sink or
// the progress callback ends the run the same way and is then rethrown.
RunOutcome runAnalysis(const RunInputs& inputs, const EngineRules& rules, ReportSink& sink,
                       unsigned jobs = 1, const RunControl& control = {});

// The run as the Start command makes it: the inputs of the settings' current
// project, the rules of `engine` (the current engine when empty) resolved
// once from the checker file.
RunOutcome runAnalysis(const UserSettings& settings, const CheckerFile& checker, ReportSink& sink,
                       std::string_view engine = {}, unsigned jobs = 1,
                       const RunControl& control = {});

}  // namespace quorvel
