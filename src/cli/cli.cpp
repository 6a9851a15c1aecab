#include "cli/cli.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <new>
#include <ostream>

#include "cli/commands.h"
#include "cli/terminal_text.h"

namespace quorvel {

namespace {

// The first argument that is not an option names the command; one the tool
// does not have is named back, rather than reported as a missing command.
bool unknownCommand(const CLI::App& app, const std::vector<std::string>& args, std::ostream& err) {
    const auto first = std::find_if(args.begin(), args.end(), [](const std::string& arg) {
        return arg.empty() || arg.front() != '-';
    });
    if (first == args.end()) return false;
    for (const CLI::App* command : app.get_subcommands([](const CLI::App*) { return true; })) {
        if (command->check_name(*first)) return false;
    }
    err << "quorvel-cli: unknown command '" << escapeControls(*first)
        << "'; the commands are run, check, rules, scan, import and update-checker\n";
    err << "Try 'quorvel-cli --help' for more information.\n";
    return true;
}

// Output that did not reach standard output is no success.
int finishOutput(std::ostream& out, std::ostream& err, int status) {
    out.flush();
    if (!out) {
        err << "quorvel-cli: cannot write to standard output\n";
        return kExitUsage;
    }
    return status;
}

int parseAndRun(CLI::App& app, std::vector<std::string> args, CommandContext& context) {
    std::ostream& out = context.out;
    std::ostream& err = context.err;
    if (unknownCommand(app, args, err)) return kExitUsage;
    // CLI11 wants argv order reversed when given a vector; it takes the
    // arguments from its end as it goes, so a long file list is not copied.
    std::reverse(args.begin(), args.end());
    try {
        app.parse(args);
    } catch (const CLI::CallForHelp&) {
        out << app.help();
        return finishOutput(out, err, kExitOk);
    } catch (const CLI::CallForAllHelp&) {
        out << app.help("", CLI::AppFormatMode::All);
        return finishOutput(out, err, kExitOk);
    } catch (const CLI::CallForVersion& e) {
        out << e.what() << '\n';
        return finishOutput(out, err, kExitOk);
    } catch (const CLI::ParseError& e) {
        err << "quorvel-cli: " << escapeControls(e.what()) << '\n';
        err << "Try 'quorvel-cli --help' for more information.\n";
        return kExitUsage;
    }
    return finishOutput(out, err, context.status);
}

}  // namespace

int runCli(std::vector<std::string> args, std::ostream& out, std::ostream& err,
           bool outIsTerminal) {
    // Nothing but the tool's own words reaches the user: a failure of the
    // library (memory above all) ends in a plain message and status 2.
    try {
        CLI::App app{"Quorvel: on-page search engine optimisation checker", "quorvel-cli"};
        app.set_version_flag("--version", std::string(QUORVEL_VERSION));
        app.require_subcommand(1);
        app.fallthrough(false);

        CommandContext context{out, err};
        context.outIsTerminal = outIsTerminal;
        addScanCommand(app, context);
        addRulesCommand(app, context);
        addRunCommands(app, context);
        addImportCommand(app, context);
        addUpdateCheckerCommand(app, context);
        return parseAndRun(app, std::move(args), context);
    } catch (const std::bad_alloc&) {
        err << "quorvel-cli: out of memory; nothing more was done\n";
    } catch (...) {
        err << "quorvel-cli: an unexpected failure stopped the command\n";
    }
    return kExitUsage;
}

}  // namespace quorvel
