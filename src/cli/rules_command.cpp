// quorvel-cli rules: the effective rule set of one search engine, read from
// the checker file, with optional field overrides written back to it.

#include <CLI/CLI.hpp>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <iomanip>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "checks/checker_file.h"
#include "cli/cli.h"
#include "cli/command_files.h"
#include "cli/commands.h"
#include "cli/latin1_text.h"
#include "cli/terminal_text.h"
#include "platform/ascii_text.h"
#include "platform/file_io.h"
#include "platform/file_lock.h"
#include "platform/program_paths.h"
#include "settings/user_settings.h"

namespace quorvel {

namespace {

struct RulesOptions {
    std::string checkerPath;
    std::string settingsPath;
    std::string engine;
    std::string format = "text";
    std::vector<std::string> assignments;
};

// One --set KEY=TEXT.
struct FieldAssignment {
    CheckKey key;
    std::string text;
};

constexpr std::string_view kProgram = "quorvel-cli rules: ";

std::optional<FieldAssignment> parseAssignment(std::string_view argument, std::ostream& err) {
    const std::size_t equals = argument.find('=');
    if (equals == std::string_view::npos) {
        err << kProgram << "--set needs KEY=TEXT, got '" << escapeControls(argument) << "'\n";
        return std::nullopt;
    }
    const std::string_view keyText = argument.substr(0, equals);
    const std::optional<CheckKey> key = CheckerFile::parseCheckKey(keyText);
    if (!key) {
        err << kProgram << "unknown check key '" << escapeControls(keyText)
            << "': a key is the check's index, its category (Title, Meta, Body, Images, Links, "
               "Misc, Tips) and a field (Name, Msg, Descr, Cat, Enable, Value), "
               "for example 1TitleValue\n";
        return std::nullopt;
    }
    const std::string_view text = argument.substr(equals + 1);
    if (text.size() > ProfileFile::kMaxValue) {
        err << kProgram << "the text for '" << escapeControls(keyText) << "' is longer than "
            << ProfileFile::kMaxValue << " bytes\n";
        return std::nullopt;
    }
    return FieldAssignment{*key, std::string(text)};
}

std::vector<std::string> overriddenFields(const EngineRules& rules, int category, int index) {
    std::vector<std::string> names;
    for (int f = 0; f < kFieldCount; ++f) {
        const auto field = static_cast<CheckField>(f);
        if (rules.overridden(category, index, field)) names.emplace_back(fieldName(field));
    }
    return names;
}

// Texts of the checker file as written: escaped for a terminal.
class TextShown {
public:
    explicit TextShown(bool escape) : escape_(escape) {}
    std::string operator()(std::string_view text) const {
        return escape_ ? escapeControls(text) : std::string(text);
    }

private:
    bool escape_;
};

void writeText(std::ostream& out, const CheckerFile& checker, const EngineRules& rules,
               const TextShown& shown) {
    out << "Engine: " << shown(rules.engineName) << '\n';
    out << "Case sensitive: " << (rules.caseSensitive ? "yes" : "no") << '\n';
    out << "Search engines: " << checker.engineCount() << '\n';
    for (int n = 1; n <= checker.engineCount(); ++n) {
        const std::string name = checker.engineName(n);
        out << "  " << n << ". " << shown(name)
            << " (case sensitive: " << (checker.caseSensitive(name) ? "yes" : "no") << ")\n";
    }
    out << "Fields marked * differ from the built-in defaults.\n";
    for (int c = 0; c < kCategoryCount; ++c) {
        for (int i = 0; i < checkCount(c); ++i) {
            out << '\n'
                << categoryName(c) << ' ' << i << " (check code "
                << static_cast<int>(checkCode(c, i)) << ")\n";
            for (int f = 0; f < kFieldCount; ++f) {
                const auto field = static_cast<CheckField>(f);
                const std::string& text = rules.field(c, i, field);
                out << "  " << (rules.overridden(c, i, field) ? '*' : ' ') << ' ';
                if (text.empty()) {
                    out << fieldName(field) << '\n';
                } else {
                    out << std::left << std::setw(6) << fieldName(field) << ' ' << shown(text)
                        << '\n';
                }
            }
        }
    }
}

void writeJson(std::ostream& out, const CheckerFile& checker, const EngineRules& rules) {
    using Json = nlohmann::ordered_json;
    Json engines = Json::array();
    for (int n = 1; n <= checker.engineCount(); ++n) {
        engines.push_back(latin1ToUtf8(checker.engineName(n)));
    }
    Json checks = Json::array();
    for (int c = 0; c < kCategoryCount; ++c) {
        for (int i = 0; i < checkCount(c); ++i) {
            Json check;
            check["category"] = std::string(categoryName(c));
            check["index"] = i;
            check["checkCode"] = checkCode(c, i);
            for (int f = 0; f < kFieldCount; ++f) {
                const auto field = static_cast<CheckField>(f);
                std::string key(fieldName(field));
                key[0] = toAsciiLower(key[0]);
                check[key] = latin1ToUtf8(rules.field(c, i, field));
            }
            check["overridden"] = overriddenFields(rules, c, i);
            checks.push_back(std::move(check));
        }
    }
    Json document;
    document["engine"] = latin1ToUtf8(rules.engineName);
    document["caseSensitive"] = rules.caseSensitive;
    document["engines"] = std::move(engines);
    document["checks"] = std::move(checks);
    out << document.dump(2) << '\n';
}

// How long --set waits for another program changing the checker file.
constexpr std::chrono::seconds kLockWait{10};

// Takes the update lock on the checker file that --set will change; false
// after a message when it cannot be had. A named file that does not exist is
// left to the open, which refuses it.
bool lockCheckerFile(FileUpdateLock& lock, const std::string& namedPath, std::ostream& err) {
    const std::string path = namedPath.empty() ? checkerFilePath() : namedPath;
    if (!namedPath.empty() && !pathExists(path)) return true;
    // The default file's folder may not exist yet; the save would make it.
    if (namedPath.empty()) ensureFolderFor(path);
    switch (lock.lock(path, kLockWait)) {
        case FileUpdateLock::Outcome::Locked:
            return true;
        case FileUpdateLock::Outcome::Busy:
            err << kProgram << "the checker file '" << escapeControls(path)
                << "' is being changed by another program; nothing was changed, try again\n";
            return false;
        case FileUpdateLock::Outcome::Failed:
            break;
    }
    err << kProgram << "cannot lock the checker file '" << escapeControls(path)
        << "': " << std::strerror(errno) << "; nothing was changed\n";
    return false;
}

int runRules(const RulesOptions& options, CommandContext& context) {
    std::vector<FieldAssignment> assignments;
    for (const std::string& argument : options.assignments) {
        std::optional<FieldAssignment> assignment = parseAssignment(argument, context.err);
        if (!assignment) return kExitUsage;
        assignments.push_back(std::move(*assignment));
    }

    // A change is made from the file as it is once no other program changes
    // it, and saved before the next may read it.
    FileUpdateLock lock;
    if (!assignments.empty() && !lockCheckerFile(lock, options.checkerPath, context.err)) {
        return kExitUsage;
    }

    UserSettings settings;
    if (!openSettingsFile(settings, options.settingsPath, kProgram, context.err)) return kExitUsage;
    CheckerFile checker(&settings);
    // Only a change writes the checker file; a review leaves it as it is.
    const FileAccess access = assignments.empty() ? FileAccess::ReadOnly : FileAccess::ReadWrite;
    if (!openCheckerFile(checker, options.checkerPath, kProgram, context.err, access)) {
        return kExitUsage;
    }

    const std::string engine = options.engine.empty() ? checker.currentEngine() : options.engine;
    // An engine is added on the Checker Elements page; a typing error must
    // not make a section of its own.
    if ((!options.engine.empty() || !assignments.empty()) &&
        !checkEngine(checker, engine, kProgram, context.err)) {
        return kExitUsage;
    }
    for (const FieldAssignment& assignment : assignments) {
        const CheckKey& key = assignment.key;
        checker.setEngineField(engine, key.category, key.index, key.field, assignment.text);
    }
    if (const FileResult saved = checker.save(); !saved) {
        context.err << kProgram << "cannot write the checker file "
                    << escapeControls(saved.message()) << '\n';
        return kExitUsage;
    }
    lock.release();

    const EngineRules rules = checker.resolve(engine);
    if (options.format == "json") {
        writeJson(context.out, checker, rules);
    } else {
        writeText(context.out, checker, rules, TextShown(context.outIsTerminal));
    }
    return kExitOk;
}

}  // namespace

void addRulesCommand(CLI::App& app, CommandContext& context) {
    auto options = std::make_shared<RulesOptions>();
    CLI::App* command = app.add_subcommand(
        "rules",
        "List the effective check rules of a search engine: every check's fields, which of them "
        "the checker file overrides, and the engine list");
    command->add_option("--checker", options->checkerPath,
                        "Checker file (default: the program's Quorvel.chk)");
    command->add_option("--settings", options->settingsPath,
                        "User settings file that names the current engine (default: the program's "
                        "Quorvel.hc)");
    command->add_option("--engine", options->engine,
                        "Search engine (default: the current engine of the current project)");
    command->add_option("--format", options->format, "Output format")
        ->check(CLI::IsMember({"text", "json"}));
    command
        ->add_option("--set", options->assignments,
                     "Override a field of the engine, e.g. 1TitleValue=60 or 0MetaEnable=0; the "
                     "default text or an empty text removes the override. The checker file is "
                     "saved.")
        ->allow_extra_args(false)
        ->type_name("KEY=TEXT");
    command->callback([options, &context] { context.status = runRules(*options, context); });
}

}  // namespace quorvel
