// quorvel-cli run and check: the analysis run without a window, with the
// report written as text, HTML or JSON.
//
//   run    the current project of a settings file, as the Start command runs it;
//   check  the files given on the command line, with no settings file at all.
//
// Neither ever writes the settings or the checker file.

#include <CLI/CLI.hpp>
#include <algorithm>
#include <filesystem>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <system_error>
#include <vector>

#include "checks/analysis_run.h"
#include "checks/checker_file.h"
#include "cli/cli.h"
#include "cli/command_files.h"
#include "cli/commands.h"
#include "cli/latin1_text.h"
#include "platform/dates.h"
#include "platform/file_io.h"
#include "platform/memory.h"
#include "report/report_export.h"
#include "report/report_header.h"
#include "settings/user_settings.h"

namespace quorvel {

namespace {

// What both commands share: how the report is written and judged.
struct ReportOptions {
    std::string format = "text";
    std::string output;  // empty: standard output
    std::string failOn;  // empty: findings never change the exit status
    unsigned jobs = defaultJobCount();
};

struct RunOptions {
    std::string settingsPath;
    std::string checkerPath;
    std::string project;
    std::optional<std::string> keyword;
    std::string engine;
    ReportOptions report;
};

struct CheckOptions {
    std::vector<std::string> files;
    std::string keyword;
    std::string engine;
    std::string checkerPath;
    std::string homeUrl;
    bool finalS = false;
    std::optional<int> minWordLength;
    ReportOptions report;
};

constexpr std::string_view kCheckProjectName = "check";

// Severity for --fail-on: a higher number is more severe; 0 never fails.
int severity(ImportanceClass importance) {
    switch (importance) {
        case ImportanceClass::Error:
            return 4;
        case ImportanceClass::Warning:
            return 3;
        case ImportanceClass::Suggestion:
            return 2;
        case ImportanceClass::Tip:
            return 1;
        case ImportanceClass::Separator:
            return 0;
    }
    return 0;
}

int failOnSeverity(std::string_view level) {
    if (level == "error") return severity(ImportanceClass::Error);
    if (level == "warning") return severity(ImportanceClass::Warning);
    if (level == "suggestion") return severity(ImportanceClass::Suggestion);
    if (level == "tip") return severity(ImportanceClass::Tip);
    return 0;
}

std::string_view className(ImportanceClass importance) {
    switch (importance) {
        case ImportanceClass::Warning:
            return "Warning";
        case ImportanceClass::Suggestion:
            return "Suggestion";
        case ImportanceClass::Tip:
            return "Tip";
        case ImportanceClass::Error:
            return "Error";
        case ImportanceClass::Separator:
            return "Separator";
    }
    return "Error";
}

// An engine the checker file knows: listed, holding a section, or the
// default engine, which need not be listed.
bool knownEngine(const CheckerFile& checker, std::string_view name) {
    if (name == kDefaultEngineName || checker.findEngine(name) > 0) return true;
    const std::vector<std::string> sections = checker.profile().sectionNames();
    return std::find(sections.begin(), sections.end(), name) != sections.end();
}

bool checkEngine(const CheckerFile& checker, std::string_view engine, std::string_view program,
                 std::ostream& err) {
    if (knownEngine(checker, engine)) return true;
    err << program << "unknown search engine '" << engine << "'; the checker file '"
        << checker.profile().fileName() << "' lists";
    if (checker.engineCount() == 0) err << " none";
    for (int n = 1; n <= checker.engineCount(); ++n) {
        err << (n == 1 ? " '" : ", '") << checker.engineName(n) << '\'';
    }
    err << '\n';
    return false;
}

// Where the report's bytes go: the output stream, or a file replaced safely.
// Text is gathered in one buffer and handed on in pieces of about 64 KiB.
class ReportOutput {
public:
    static constexpr std::size_t kChunkSize = 65536;

    // Writes to `stream`, or, when `file` is given, to that opened replacement.
    ReportOutput(std::ostream& stream, FileReplacement* file) : stream_(stream), file_(file) {
        buffer_.reserve(2 * kChunkSize);
    }

    std::string& buffer() { return buffer_; }
    void flushWhenFull() {
        if (buffer_.size() >= kChunkSize) flush();
    }
    void flush() {
        if (buffer_.empty()) return;
        if (file_ != nullptr) {
            file_->append(buffer_);
        } else {
            stream_.write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
        }
        buffer_.clear();
    }
    // Drops what is left; a file is removed and the old one stays as it was.
    // What already went to the stream cannot be taken back.
    void abandon() {
        buffer_.clear();
        if (file_ != nullptr) {
            file_->abandon();
        } else {
            stream_.flush();
        }
    }
    // Writes what is left; a file is committed. The first failure, if any.
    FileWriteResult finish() {
        flush();
        if (file_ != nullptr) return file_->commit();
        stream_.flush();
        return {};
    }

private:
    std::ostream& stream_;
    FileReplacement* file_;
    std::string buffer_;
};

// Receives the run's entries in list order and writes the report as they
// arrive (JSON and HTML) or keeps its rows compactly for the end (text,
// whose columns are as wide as their longest cell). Keeps the most severe
// entry for --fail-on; the message of a file that cannot be opened goes to
// the error stream at once.
class StreamingReportSink : public ReportSink {
public:
    StreamingReportSink(std::string_view format, const ReportHeader& header,
                        const EngineRules& rules, ReportOutput& output, std::ostream& err)
        : format_(formatOf(format)), header_(header), html_(rules), output_(output), err_(err) {}

    void begin() {
        std::string& out = output_.buffer();
        if (format_ == Format::Html) {
            HtmlReportLayout::appendHead(out, header_);
        } else if (format_ == Format::Json) {
            out += "{\n  \"project\": ";
            appendJsonString(out, header_.project);
            out += ",\n  \"keyword\": ";
            appendJsonString(out, header_.keyword);
            out += ",\n  \"engine\": ";
            appendJsonString(out, header_.engine);
            out += ",\n  \"entries\": [";
        }
        output_.flushWhenFull();
    }

    void appendEntry(const ReportEntry& entry) override {
        mostSevere_ = std::max(mostSevere_, severity(entry.importanceClass));
        std::string& out = output_.buffer();
        switch (format_) {
            case Format::Text:
                textRows_.append(entry);
                return;
            case Format::Html:
                html_.appendRow(out, entry);
                break;
            case Format::Json:
                appendJsonEntry(out, entry);
                break;
        }
        output_.flushWhenFull();
    }

    void fileNotOpened(std::string_view, std::string_view message) override {
        err_ << message << '\n';
        ++unopenedFiles_;
    }

    // Writes the rest of the report: its tail, or for text the whole table.
    void end(int currentYear) {
        std::string& out = output_.buffer();
        switch (format_) {
            case Format::Text:
                rowsLost_ = !writeTextReport(textRows_, header_, [this](std::string& text) {
                    output_.buffer() += text;
                    text.clear();
                    output_.flushWhenFull();
                });
                break;
            case Format::Html:
                HtmlReportLayout::appendTail(out, currentYear);
                break;
            case Format::Json:
                out += entryCount_ == 0 ? "]\n}\n" : "\n  ]\n}\n";
                break;
        }
    }

    int mostSevere() const { return mostSevere_; }
    int unopenedFiles() const { return unopenedFiles_; }
    // Whether rows kept in a temporary file could not be read back.
    bool rowsLost() const { return rowsLost_; }

private:
    enum class Format { Text, Html, Json };
    static Format formatOf(std::string_view name) {
        if (name == "html") return Format::Html;
        if (name == "json") return Format::Json;
        return Format::Text;
    }

    // One entry in the layout of a two-space indented dump.
    void appendJsonEntry(std::string& out, const ReportEntry& entry) {
        out += entryCount_++ == 0 ? "\n    {\n      \"importance\": "
                                  : ",\n    {\n      \"importance\": ";
        appendJsonString(out, std::string_view(&entry.importanceLetter, 1));
        out += ",\n      \"class\": \"";
        out += className(entry.importanceClass);
        out += "\",\n      \"file\": ";
        appendJsonString(out, entry.fileName);
        out += ",\n      \"message\": ";
        appendJsonString(out, entry.description);
        out += ",\n      \"position\": ";
        out += std::to_string(entry.filePosition);
        out += ",\n      \"checkCode\": ";
        out += std::to_string(entry.checkCode);
        out += "\n    }";
    }

    Format format_;
    const ReportHeader& header_;
    HtmlReportLayout html_;
    TextReportRows textRows_;
    ReportOutput& output_;
    std::ostream& err_;
    std::size_t entryCount_ = 0;
    int mostSevere_ = 0;
    int unopenedFiles_ = 0;
    bool rowsLost_ = false;
};

// Runs the analysis, writing the report while it runs, and returns the exit
// status.
int runAndReport(const RunInputs& inputs, const EngineRules& rules, const ReportHeader& header,
                 const ReportOptions& options, std::string_view program, CommandContext& context) {
    auto cannotWrite = [&](const FileWriteResult& result) {
        context.err << program << "cannot write the report to '" << options.output
                    << "': " << result.describe() << '\n';
        return kExitUsage;
    };
    // The file is opened first: a report that cannot be written is known
    // before any work is done.
    FileReplacement file;
    if (!options.output.empty()) {
        const FileWriteResult opened = file.open(options.output);
        if (!opened.ok()) return cannotWrite(opened);
    }
    ReportOutput output(context.out, options.output.empty() ? nullptr : &file);
    StreamingReportSink sink(options.format, header, rules, output, context.err);
    sink.begin();
    runAnalysis(inputs, rules, sink, options.jobs);
    sink.end(currentLocalDateTime().year);
    if (sink.rowsLost()) {
        // A report missing rows must not stand in for the whole one.
        output.abandon();
        context.err << program << "the report's rows could not be read back from "
                    << "the temporary file; no report was written\n";
        return kExitUsage;
    }
    const FileWriteResult written = output.finish();
    if (!written.ok()) return cannotWrite(written);

    if (sink.unopenedFiles() > 0) return kExitUsage;
    const int threshold = failOnSeverity(options.failOn);
    if (threshold > 0 && sink.mostSevere() >= threshold) return kExitFindings;
    return kExitOk;
}

// What a run of a project needs once the settings and checker files are read.
struct ProjectRun {
    RunInputs inputs;
    EngineRules rules;
    ReportHeader header;
};

constexpr std::string_view kRunProgram = "quorvel-cli run: ";

// Reads the settings and checker files and prepares the run; nothing when a
// message on the error stream says why the project cannot run. The files'
// contents are gone when it returns, so a long file list is not held twice
// while the pages are checked.
std::optional<ProjectRun> prepareProjectRun(const RunOptions& options, CommandContext& context) {
    UserSettings settings;
    if (!openSettingsFile(settings, options.settingsPath, kRunProgram, context.err)) return {};
    // Choices for this run are made in memory only; nothing is saved.
    if (!options.project.empty() && !settings.setCurrentProject(options.project)) {
        context.err << kRunProgram << "no project named '" << options.project
                    << "' in the settings file '" << settings.profile().fileName() << "'\n";
        return {};
    }
    CheckerFile checker(&settings);
    if (!openCheckerFile(checker, options.checkerPath, kRunProgram, context.err)) return {};
    const std::string engine = options.engine.empty() ? checker.currentEngine() : options.engine;
    if (!options.engine.empty() && !checkEngine(checker, engine, kRunProgram, context.err)) {
        return {};
    }

    RunInputs inputs = runInputsFromSettings(settings);
    if (options.keyword) inputs.keyword = *options.keyword;
    if (const auto problem = runInputsProblem(inputs)) {
        context.err << *problem << '\n';
        return {};
    }
    ReportHeader header = makeReportHeader(settings.currentProject(), inputs, engine, checker);
    return ProjectRun{std::move(inputs), checker.resolve(engine), std::move(header)};
}

int runProject(const RunOptions& options, CommandContext& context) {
    const std::optional<ProjectRun> run = prepareProjectRun(options, context);
    if (!run) return kExitUsage;
    releaseFreedMemory();
    return runAndReport(run->inputs, run->rules, run->header, options.report, kRunProgram, context);
}

int runCheck(CheckOptions& options, CommandContext& context) {
    constexpr std::string_view kProgram = "quorvel-cli check: ";
    CheckerFile checker;
    if (!openCheckerFile(checker, options.checkerPath, kProgram, context.err)) return kExitUsage;
    const std::string engine =
        options.engine.empty() ? std::string(kDefaultEngineName) : options.engine;
    if (!checkEngine(checker, engine, kProgram, context.err)) return kExitUsage;

    RunInputs inputs;
    std::error_code error;
    inputs.folder = std::filesystem::current_path(error).string();
    inputs.homeUrl = options.homeUrl;
    inputs.keyword = options.keyword;
    // The names move into the run: a list of many thousands is held once.
    inputs.files.reserve(options.files.size());
    for (std::string& file : options.files)
        inputs.files.push_back({std::move(file), true});
    std::vector<std::string>().swap(options.files);
    inputs.killTerminatingS = options.finalS;
    inputs.skipShortWords = options.minWordLength.has_value();
    if (options.minWordLength) inputs.minWordLength = *options.minWordLength;
    if (const auto problem = runInputsProblem(inputs)) {
        context.err << *problem << '\n';
        return kExitUsage;
    }
    const EngineRules rules = checker.resolve(engine);
    const ReportHeader header = makeReportHeader(kCheckProjectName, inputs, engine, checker);
    // The parser's copies of the names are gone.
    releaseFreedMemory();
    return runAndReport(inputs, rules, header, options.report, kProgram, context);
}

constexpr const char* kExitStatusFooter =
    "Exit status:\n"
    "  0  the report was written and no entry reached the --fail-on level\n"
    "  1  the report was written and holds an entry at or above the --fail-on level\n"
    "     (error > warning > suggestion > tip)\n"
    "  2  bad arguments, a project that cannot run (no keyword, no file, no enabled\n"
    "     file), an unreadable settings or checker file, a listed file that cannot be\n"
    "     opened (its message goes to standard error; the report is still written), or\n"
    "     a report that cannot be written";

void addReportOptions(CLI::App& command, ReportOptions& options) {
    command.add_option("--format", options.format, "Report format: text (default), html or json")
        ->check(CLI::IsMember({"text", "html", "json"}));
    command
        .add_option("-o,--output", options.output,
                    "Write the report to FILE (replaced whole) instead of standard output")
        ->type_name("FILE");
    command
        .add_option("--fail-on", options.failOn,
                    "Exit with status 1 when the report holds an entry of this importance or a "
                    "more severe one")
        ->check(CLI::IsMember({"error", "warning", "suggestion", "tip"}))
        ->type_name("LEVEL");
    command
        .add_option("-j,--jobs", options.jobs,
                    "Files analysed at once (default: the number of cores); the report is the "
                    "same for every number")
        ->check(CLI::Range(1u, 1024u))
        ->type_name("N");
}

}  // namespace

void addRunCommands(CLI::App& app, CommandContext& context) {
    auto run = std::make_shared<RunOptions>();
    CLI::App* runCommand = app.add_subcommand(
        "run",
        "Check every enabled file of a project for its current keyword against its search "
        "engine's rules and write the report (the Start command, without a window)");
    runCommand
        ->add_option("--settings", run->settingsPath,
                     "User settings file (default: the program's Quorvel.hc)")
        ->type_name("FILE.hc");
    runCommand
        ->add_option("--checker", run->checkerPath,
                     "Checker file (default: the program's Quorvel.chk)")
        ->type_name("FILE.chk");
    runCommand
        ->add_option("--project", run->project,
                     "Project to run instead of the current one (must be listed)")
        ->type_name("NAME");
    runCommand
        ->add_option("--keyword", run->keyword,
                     "Keyword or phrase to check instead of the project's current keyword")
        ->type_name("TEXT");
    runCommand
        ->add_option("--engine", run->engine,
                     "Search engine whose rules apply instead of the project's current one")
        ->type_name("NAME");
    addReportOptions(*runCommand, run->report);
    runCommand->footer(
        std::string("The settings and checker files are only read, never written.\n\n") +
        kExitStatusFooter);
    runCommand->callback([run, &context] { context.status = runProject(*run, context); });

    auto check = std::make_shared<CheckOptions>();
    CLI::App* checkCommand = app.add_subcommand(
        "check",
        "Check the given HTML files for a keyword and write the report, without a settings "
        "file (a project named \"check\" in the current folder)");
    CLI::Option* filesOption =
        checkCommand->add_option("FILE", check->files, "HTML files to check, in report order")
            ->required();
    checkCommand->add_option("--keyword", check->keyword, "Keyword or phrase to check")
        ->required()
        ->type_name("TEXT");
    checkCommand
        ->add_option(
            "--engine", check->engine,
            "Search engine whose rules apply (default: " + std::string(kDefaultEngineName) + ")")
        ->type_name("NAME");
    checkCommand
        ->add_option("--checker", check->checkerPath,
                     "Checker file (default: the program's Quorvel.chk)")
        ->type_name("FILE.chk");
    checkCommand
        ->add_option("--home-url", check->homeUrl,
                     "The site's home URL, for the domain and URL length checks")
        ->type_name("URL");
    checkCommand->add_flag("--final-s", check->finalS,
                           "Ignore a final s of the keyword's words when matching");
    checkCommand
        ->add_option("--min-word-length", check->minWordLength,
                     "Skip words shorter than N characters in the word counts")
        ->check(CLI::Range(0, 65535))
        ->type_name("N");
    addReportOptions(*checkCommand, check->report);
    checkCommand->footer(kExitStatusFooter);
    checkCommand->callback([check, filesOption, &context] {
        // The names now live in check->files; the parser's copies can go.
        filesOption->clear();
        context.status = runCheck(*check, context);
    });
}

}  // namespace quorvel
