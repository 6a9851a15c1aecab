#include <CLI/CLI.hpp>

#include "cli/commands.h"

namespace quorvel {

// Placeholder until the command is built.
void addRunCommands(CLI::App&, CommandContext&) {}

}  // namespace quorvel
