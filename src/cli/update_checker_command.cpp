// quorvel-cli update-checker: replaces the checker file with the newest one
// from the update server, keeping the previous one as a backup.

#include <termios.h>
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <iostream>
#include <memory>
#include <ostream>
#include <string>

#include "cli/cli.h"
#include "cli/command_files.h"
#include "cli/commands.h"
#include "cli/download_progress.h"
#include "net/checker_update.h"
#include "net/http_download.h"
#include "net/progress_text.h"
#include "platform/file_io.h"
#include "platform/program_paths.h"
#include "settings/user_settings.h"

namespace quorvel {

namespace {

struct UpdateOptions {
    std::string checkerPath;
    std::string settingsPath;
    std::string user;
    std::string passwordFile;
};

constexpr std::string_view kProgram = "quorvel-cli update-checker: ";

std::string firstLine(std::string_view text) {
    std::string_view line = text.substr(0, text.find('\n'));
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return std::string(line);
}

// Reads the password from standard input; on a terminal after a prompt and
// without echoing it.
std::string readPassword(std::ostream& err) {
    const bool terminal = ::isatty(STDIN_FILENO) == 1;
    termios saved{};
    if (terminal && ::tcgetattr(STDIN_FILENO, &saved) == 0) {
        termios quiet = saved;
        quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
        err << "Password: " << std::flush;
    }
    std::string line;
    std::getline(std::cin, line);
    if (terminal) {
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
        err << '\n';
    }
    return firstLine(line);
}

int runUpdate(const UpdateOptions& options, CommandContext& context) {
    UserSettings settings;
    if (!openSettingsFile(settings, options.settingsPath, kProgram, context.err)) return kExitUsage;
    std::string password;
    if (!options.passwordFile.empty()) {
        const FileReadResult file = readWholeFile(options.passwordFile);
        if (!file.opened) {
            context.err << kProgram << "cannot read the password file '" << options.passwordFile
                        << "'\n";
            return kExitUsage;
        }
        password = firstLine(file.bytes);
    } else {
        password = readPassword(context.err);
    }

    const std::string checkerPath =
        options.checkerPath.empty() ? checkerFilePath() : options.checkerPath;
    HttpDownload download;
    TerminalProgress progress(context.err, std::string(fileNameOfPath(checkerPath)));
    if (errIsTerminal(context.err)) download.setHooks(&progress);
    const CheckerUpdateOutcome outcome = updateCheckerFile(download, 0, checkerUpdateUrl(settings),
                                                           checkerPath, options.user, password);
    progress.finish();
    if (!outcome.started) {
        context.err << kProgram << outcome.message << '\n';
        return kExitUsage;
    }
    context.out << downloadStatusText(outcome.result) << '\n';
    if (outcome.result == DownloadResult::Completed) return kExitOk;
    if (!outcome.message.empty()) context.err << kProgram << outcome.message << '\n';
    if (outcome.restored) {
        context.err << kProgram << "the previous checker file was put back from '"
                    << checkerBackupPath(checkerPath) << "'\n";
    }
    return kExitNotCompleted;
}

}  // namespace

void addUpdateCheckerCommand(CLI::App& app, CommandContext& context) {
    auto options = std::make_shared<UpdateOptions>();
    CLI::App* command = app.add_subcommand(
        "update-checker",
        "Replace the checker file with the newest one from the update server (\"CheckerUpdateUrl\" "
        "in the settings' Options), keeping the previous one as a backup with the extension .old. "
        "The password is read from standard input unless --password-file names a file. Prints "
        "the result; exit status 0 only when the download completed.");
    command->add_option("--checker", options->checkerPath,
                        "Checker file to replace (default: the program's Quorvel.chk)");
    command->add_option("--settings", options->settingsPath,
                        "User settings file (default: the program's Quorvel.hc)");
    command->add_option("--user", options->user, "User name on the update server")->required();
    command->add_option("--password-file", options->passwordFile,
                        "File whose first line is the password");
    command->callback([options, &context] { context.status = runUpdate(*options, context); });
}

}  // namespace quorvel
