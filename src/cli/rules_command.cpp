#include <CLI/CLI.hpp>

#include "cli/commands.h"

namespace quorvel {

// Placeholder until the command is built.
void addRulesCommand(CLI::App&, CommandContext&) {}

}  // namespace quorvel
