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
#include <nlohmann/json.hpp>
#include <optional>
#include <ostream>
#include <string>
#include <system_error>
#include <vector>

#include "checks/analysis_run.h"
#include "checks/checker_file.h"
#include "cli/cli.h"
#include "cli/commands.h"
#include "cli/latin1_text.h"
#include "platform/dates.h"
#include "platform/file_io.h"
#include "platform/program_paths.h"
#include "report/report_export.h"
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

// Collects the entries; the message of a file that cannot be opened goes to
// the error stream at once, in run order.
class CollectingSink : public ReportSink {
public:
    explicit CollectingSink(std::ostream& err) : err_(err) {}

    void appendEntry(const ReportEntry& entry) override { entries.push_back(entry); }
    void fileNotOpened(std::string_view, std::string_view message) override {
        err_ << message << '\n';
        ++unopenedFiles;
    }

    std::vector<ReportEntry> entries;
    int unopenedFiles = 0;

private:
    std::ostream& err_;
};

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

std::string buildJsonReport(const std::vector<ReportEntry>& entries, const ReportHeader& header) {
    using Json = nlohmann::ordered_json;
    Json list = Json::array();
    for (const ReportEntry& entry : entries) {
        Json item;
        item["importance"] = latin1ToUtf8(std::string_view(&entry.importanceLetter, 1));
        item["class"] = std::string(className(entry.importanceClass));
        item["file"] = latin1ToUtf8(entry.fileName);
        item["message"] = latin1ToUtf8(entry.description);
        item["position"] = entry.filePosition;
        item["checkCode"] = entry.checkCode;
        list.push_back(std::move(item));
    }
    Json document;
    document["project"] = latin1ToUtf8(header.project);
    document["keyword"] = latin1ToUtf8(header.keyword);
    document["engine"] = latin1ToUtf8(header.engine);
    document["entries"] = std::move(list);
    return document.dump(2) + '\n';
}

// The header values of the text and HTML reports; the date is now.
ReportHeader makeHeader(std::string_view project, const RunInputs& inputs, std::string_view engine,
                        const CheckerFile& checker) {
    const DateOrder order = localeDateOrder();
    ReportHeader header;
    header.project = std::string(project);
    header.version = QUORVEL_VERSION;
    header.checkFileDate = checker.checkFileDate(order);
    header.projectFolder = inputs.folder;
    header.projectUrl = inputs.homeUrl;
    header.keyword = inputs.keyword;
    header.engine = std::string(engine);
    header.killTerminatingS = inputs.killTerminatingS ? 1 : 0;
    header.skipShortWords = inputs.skipShortWords ? 1 : 0;
    header.minWordLength = inputs.minWordLength;
    header.date = formatDateTime(currentLocalDateTime(), order);
    return header;
}

// An engine the checker file knows: listed, holding a section, or the
// default engine, which need not be listed.
bool knownEngine(const CheckerFile& checker, std::string_view name) {
    if (name == kDefaultEngineName || checker.findEngine(name) > 0) return true;
    const std::vector<std::string> sections = checker.profile().sectionNames();
    return std::find(sections.begin(), sections.end(), name) != sections.end();
}

bool openChecker(CheckerFile& checker, const std::string& namedPath, std::string_view program,
                 std::ostream& err) {
    const bool named = !namedPath.empty();
    const std::string path = named ? namedPath : checkerFilePath();
    if (!checker.open(path) && named) {
        err << program << "cannot read the checker file '" << path << "'\n";
        return false;
    }
    return true;
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

// Runs the analysis, writes the report and returns the exit status.
int runAndReport(const RunInputs& inputs, const EngineRules& rules, const ReportHeader& header,
                 const ReportOptions& options, std::string_view program, CommandContext& context) {
    CollectingSink sink(context.err);
    runAnalysis(inputs, rules, sink, options.jobs);

    std::string report;
    if (options.format == "html") {
        report = buildHtmlReport(sink.entries, header, rules, currentLocalDateTime().year);
    } else if (options.format == "json") {
        report = buildJsonReport(sink.entries, header);
    } else {
        report = buildTextReport(sink.entries, header);
    }

    if (options.output.empty()) {
        context.out << report;
        context.out.flush();
    } else {
        const FileWriteResult written = replaceFileContent(options.output, report);
        if (!written.ok()) {
            context.err << program << "cannot write the report to '" << options.output
                        << "': " << written.describe() << '\n';
            return kExitUsage;
        }
    }

    if (sink.unopenedFiles > 0) return kExitUsage;
    const int threshold = failOnSeverity(options.failOn);
    if (threshold > 0) {
        for (const ReportEntry& entry : sink.entries) {
            if (severity(entry.importanceClass) >= threshold) return kExitFindings;
        }
    }
    return kExitOk;
}

int runProject(const RunOptions& options, CommandContext& context) {
    constexpr std::string_view kProgram = "quorvel-cli run: ";
    const bool settingsNamed = !options.settingsPath.empty();
    const std::string settingsPath = settingsNamed ? options.settingsPath : defaultSettingsPath();
    UserSettings settings;
    if (!settings.open(settingsPath) && settingsNamed) {
        context.err << kProgram << "cannot read the settings file '" << settingsPath << "'\n";
        return kExitUsage;
    }
    // Choices for this run are made in memory only; nothing is saved.
    if (!options.project.empty() && !settings.setCurrentProject(options.project)) {
        context.err << kProgram << "no project named '" << options.project
                    << "' in the settings file '" << settingsPath << "'\n";
        return kExitUsage;
    }
    CheckerFile checker(&settings);
    if (!openChecker(checker, options.checkerPath, kProgram, context.err)) return kExitUsage;
    const std::string engine = options.engine.empty() ? checker.currentEngine() : options.engine;
    if (!options.engine.empty() && !checkEngine(checker, engine, kProgram, context.err)) {
        return kExitUsage;
    }

    RunInputs inputs = runInputsFromSettings(settings);
    if (options.keyword) inputs.keyword = *options.keyword;
    if (const auto problem = runInputsProblem(inputs)) {
        context.err << *problem << '\n';
        return kExitUsage;
    }
    const EngineRules rules = checker.resolve(engine);
    const ReportHeader header = makeHeader(settings.currentProject(), inputs, engine, checker);
    return runAndReport(inputs, rules, header, options.report, kProgram, context);
}

int runCheck(const CheckOptions& options, CommandContext& context) {
    constexpr std::string_view kProgram = "quorvel-cli check: ";
    CheckerFile checker;
    if (!openChecker(checker, options.checkerPath, kProgram, context.err)) return kExitUsage;
    const std::string engine =
        options.engine.empty() ? std::string(kDefaultEngineName) : options.engine;
    if (!checkEngine(checker, engine, kProgram, context.err)) return kExitUsage;

    RunInputs inputs;
    std::error_code error;
    inputs.folder = std::filesystem::current_path(error).string();
    inputs.homeUrl = options.homeUrl;
    inputs.keyword = options.keyword;
    for (const std::string& file : options.files)
        inputs.files.push_back({file, true});
    inputs.killTerminatingS = options.finalS;
    inputs.skipShortWords = options.minWordLength.has_value();
    if (options.minWordLength) inputs.minWordLength = *options.minWordLength;
    if (const auto problem = runInputsProblem(inputs)) {
        context.err << *problem << '\n';
        return kExitUsage;
    }
    const EngineRules rules = checker.resolve(engine);
    const ReportHeader header = makeHeader(kCheckProjectName, inputs, engine, checker);
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
    checkCommand->callback([check, &context] { context.status = runCheck(*check, context); });
}

}  // namespace quorvel
