// quorvel-cli run and check: the analysis run without a window, with the
// report written as text, HTML or JSON.
//
//   run    the current project of a settings file, as the Start command runs it;
//   check  the files given on the command line, with no settings file at all.
//
// Neither ever writes the settings or the checker file.

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cstring>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "checks/analysis_run.h"
#include "checks/checker_file.h"
#include "cli/cli.h"
#include "cli/command_files.h"
#include "cli/commands.h"
#include "cli/latin1_text.h"
#include "cli/terminal_text.h"
#include "platform/ascii_text.h"
#include "platform/dates.h"
#include "platform/file_io.h"
#include "platform/memory.h"
#include "platform/program_paths.h"
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

// The level of --fail-on is a class name in lower case.
int failOnSeverity(std::string_view level) {
    for (const ImportanceClass importance : {ImportanceClass::Error, ImportanceClass::Warning,
                                             ImportanceClass::Suggestion, ImportanceClass::Tip}) {
        if (equalsIgnoringAsciiCase(level, importanceClassName(importance))) {
            return severity(importance);
        }
    }
    return 0;
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

// The header with control characters in its texts escaped, for a terminal.
ReportHeader escapedHeader(ReportHeader header) {
    for (std::string* text :
         {&header.project, &header.version, &header.checkFileDate, &header.projectFolder,
          &header.projectUrl, &header.keyword, &header.engine, &header.date}) {
        *text = escapeControls(*text);
    }
    return header;
}

// Receives the run's entries in list order and writes the report as they
// arrive (JSON and HTML) or keeps its rows compactly for the end (text,
// whose columns are as wide as their longest cell). Keeps the most severe
// entry for --fail-on; the message of a file that cannot be opened goes to
// the error stream at once, its name escaped. For a terminal the inserted
// texts of a text or HTML report are escaped too (JSON escapes them anyway).
class StreamingReportSink : public ReportSink {
public:
    StreamingReportSink(std::string_view format, const ReportHeader& header,
                        const EngineRules& rules, ReportOutput& output, std::ostream& err,
                        bool toTerminal)
        : format_(formatOf(format)),
          escape_(toTerminal && format_ != Format::Json),
          header_(escape_ ? escapedHeader(header) : header),
          html_(rules),
          output_(output),
          err_(err) {}

    void begin() {
        std::string& out = output_.buffer();
        if (format_ == Format::Html) {
            HtmlReportLayout::appendHead(out, header_);
        } else if (format_ == Format::Json) {
            out += "{\n  \"project\": ";
            appendJsonText(out, header_.project);
            out += ",\n  \"keyword\": ";
            appendJsonText(out, header_.keyword);
            out += ",\n  \"engine\": ";
            appendJsonText(out, header_.engine);
            out += ",\n  \"entries\": [";
        }
        output_.flushWhenFull();
    }

    void appendEntry(const ReportEntry& original) override {
        mostSevere_ = std::max(mostSevere_, severity(original.importanceClass));
        ReportEntry escaped;
        const bool change =
            escape_ && (hasControls(original.fileName) || hasControls(original.description));
        if (change) {
            escaped = original;
            escaped.fileName = escapeControls(original.fileName);
            escaped.description = escapeControls(original.description);
        }
        const ReportEntry& entry = change ? escaped : original;
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

    void fileNotOpened(std::string_view fileName, std::string_view message) override {
        if (hasControls(fileName)) {
            err_ << cannotOpenMessage(escapeControls(fileName)) << '\n';
        } else {
            err_ << message << '\n';
        }
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
        out += importanceClassName(entry.importanceClass);
        out += "\",\n      \"file\": ";
        appendJsonText(out, entry.fileName);
        out += ",\n      \"message\": ";
        appendJsonText(out, entry.description);
        out += ",\n      \"position\": ";
        out += std::to_string(entry.filePosition);
        out += ",\n      \"checkCode\": ";
        out += std::to_string(entry.checkCode);
        out += "\n    }";
    }

    Format format_;
    bool escape_;
    ReportHeader header_;
    HtmlReportLayout html_;
    TextReportRows textRows_;
    ReportOutput& output_;
    std::ostream& err_;
    std::size_t entryCount_ = 0;
    int mostSevere_ = 0;
    int unopenedFiles_ = 0;
    bool rowsLost_ = false;
};

// The input a report file would replace: the settings or checker file, or a
// page of the run. Nothing when the output is none of them (or is not a
// regular file, which is written in place and replaces nothing).
std::optional<std::string> inputAtOutput(const std::string& output, const RunInputs& inputs,
                                         const std::vector<std::string>& files) {
    if (output.empty()) return std::nullopt;
    const std::optional<FileIdentity> target = fileIdentity(output);
    if (!target) return std::nullopt;
    for (const std::string& file : files) {
        if (fileIdentity(file) == target) return file;
    }
    for (const ListedFile& file : inputs.files) {
        if (!file.enabled) continue;
        const std::string path = joinFolderAndName(inputs.folder, file.name);
        if (fileIdentity(path) == target) return file.name;
    }
    return std::nullopt;
}

// Runs the analysis, writing the report while it runs, and returns the exit
// status. `inputFiles` are the settings and checker files read.
int runAndReport(const RunInputs& inputs, const EngineRules& rules, const ReportHeader& header,
                 const ReportOptions& options, const std::vector<std::string>& inputFiles,
                 std::string_view program, CommandContext& context) {
    auto cannotWrite = [&](const FileWriteResult& result) {
        context.err << program << "cannot write the report to '" << escapeControls(options.output)
                    << "': " << result.describe() << '\n';
        return kExitUsage;
    };
    if (const auto input = inputAtOutput(options.output, inputs, inputFiles)) {
        context.err << program << "the report file '" << escapeControls(options.output)
                    << "' is the input '" << escapeControls(*input)
                    << "'; writing the report would destroy it\n";
        return kExitUsage;
    }
    // The file is opened first: a report that cannot be written is known
    // before any work is done.
    FileReplacement file;
    if (!options.output.empty()) {
        const FileWriteResult opened = file.open(options.output);
        if (!opened.ok()) return cannotWrite(opened);
    }
    ReportOutput output(context.out, options.output.empty() ? nullptr : &file);
    StreamingReportSink sink(options.format, header, rules, output, context.err,
                             options.output.empty() && context.outIsTerminal);
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
    std::vector<std::string> filesRead;  // the settings and checker files
};

// The current folder; nothing, after a message, when relative names would be
// looked up from a folder that cannot be determined (it was removed, say).
std::optional<std::string> currentFolderFor(std::string_view program, std::ostream& err) {
    CurrentFolder current = currentFolder();
    if (!current.path) {
        err << program << "the current folder cannot be determined ("
            << std::strerror(current.error) << "); relative file names cannot be found\n";
    }
    return std::move(current.path);
}

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
        context.err << kRunProgram << "no project named '" << escapeControls(options.project)
                    << "' in the settings file '" << escapeControls(settings.profile().fileName())
                    << "'\n";
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
    if (!checkKeywordLength(inputs.keyword, kRunProgram, context.err)) return {};
    // A project without a folder looks its files up from the current folder.
    if (inputs.folder.empty() && !currentFolderFor(kRunProgram, context.err)) return {};
    ReportHeader header = makeReportHeader(settings.currentProject(), inputs, engine, checker);
    return ProjectRun{std::move(inputs),
                      checker.resolve(engine),
                      std::move(header),
                      {settings.profile().fileName(), checker.profile().fileName()}};
}

int runProject(const RunOptions& options, CommandContext& context) {
    const std::optional<ProjectRun> run = prepareProjectRun(options, context);
    if (!run) return kExitUsage;
    releaseFreedMemory();
    return runAndReport(run->inputs, run->rules, run->header, options.report, run->filesRead,
                        kRunProgram, context);
}

int runCheck(CheckOptions& options, CommandContext& context) {
    constexpr std::string_view kProgram = "quorvel-cli check: ";
    CheckerFile checker;
    if (!openCheckerFile(checker, options.checkerPath, kProgram, context.err)) return kExitUsage;
    const std::string engine =
        options.engine.empty() ? std::string(kDefaultEngineName) : options.engine;
    if (!checkEngine(checker, engine, kProgram, context.err)) return kExitUsage;

    // The files are named relative to the current folder, which the report
    // names as the project's folder.
    std::optional<std::string> folder = currentFolderFor(kProgram, context.err);
    if (!folder) return kExitUsage;
    RunInputs inputs;
    inputs.folder = std::move(*folder);
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
    if (!checkKeywordLength(inputs.keyword, kProgram, context.err)) return kExitUsage;
    const EngineRules rules = checker.resolve(engine);
    const ReportHeader header = makeReportHeader(kCheckProjectName, inputs, engine, checker);
    // The parser's copies of the names are gone.
    releaseFreedMemory();
    return runAndReport(inputs, rules, header, options.report, {checker.profile().fileName()},
                        kProgram, context);
}

constexpr const char* kExitStatusFooter =
    "Exit status:\n"
    "  0  the report was written and no entry reached the --fail-on level\n"
    "  1  the report was written and holds an entry at or above the --fail-on level\n"
    "     (error > warning > suggestion > tip)\n"
    "  2  bad arguments, a project that cannot run (no keyword, no file, no enabled\n"
    "     file), an unreadable settings or checker file, a listed file that cannot be\n"
    "     opened (its message goes to standard error; the report is still written), or\n"
    "     a report that cannot be written or would replace one of the files read";

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
