#include "cli/cli.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <ostream>

#include "cli/commands.h"

namespace quorvel {

int runCli(std::vector<std::string> args, std::ostream& out, std::ostream& err) {
    CLI::App app{"Quorvel: on-page search engine optimisation checker", "quorvel-cli"};
    app.set_version_flag("--version", std::string(QUORVEL_VERSION));
    app.require_subcommand(1);
    app.fallthrough(false);

    CommandContext context{out, err};
    addScanCommand(app, context);
    addRulesCommand(app, context);
    addRunCommands(app, context);
    addImportCommand(app, context);
    addUpdateCheckerCommand(app, context);

    // CLI11 wants argv order reversed when given a vector; it takes the
    // arguments from its end as it goes, so a long file list is not copied.
    std::reverse(args.begin(), args.end());
    try {
        app.parse(args);
    } catch (const CLI::CallForHelp& e) {
        out << app.help();
        return kExitOk;
    } catch (const CLI::CallForAllHelp& e) {
        out << app.help("", CLI::AppFormatMode::All);
        return kExitOk;
    } catch (const CLI::CallForVersion& e) {
        out << e.what() << '\n';
        return kExitOk;
    } catch (const CLI::ParseError& e) {
        err << "quorvel-cli: " << e.what() << '\n';
        err << "Try 'quorvel-cli --help' for more information.\n";
        return kExitUsage;
    } catch (const std::exception& e) {
        err << "quorvel-cli: " << e.what() << '\n';
        return kExitUsage;
    }
    // A report that did not reach standard output is no success.
    out.flush();
    if (!out) {
        err << "quorvel-cli: cannot write to standard output\n";
        return kExitUsage;
    }
    return context.status;
}

}  // namespace quorvel
