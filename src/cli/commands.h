#pragma once

#include <iosfwd>

namespace CLI {
class App;
}

namespace quorvel {

// What a command needs from the tool around it: the output streams, whether
// `out` is a terminal, and a place for its exit status.
struct CommandContext {
    std::ostream& out;
    std::ostream& err;
    int status = 0;
    bool outIsTerminal = false;
};

// Each adds its subcommand to the application; the subcommand's callback does
// the work and sets context.status.
void addScanCommand(CLI::App& app, CommandContext& context);
void addRulesCommand(CLI::App& app, CommandContext& context);
void addRunCommands(CLI::App& app, CommandContext& context);  // "run" and "check"
void addImportCommand(CLI::App& app, CommandContext& context);
void addUpdateCheckerCommand(CLI::App& app, CommandContext& context);

}  // namespace quorvel
