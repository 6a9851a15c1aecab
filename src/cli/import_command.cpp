// quorvel-cli import: downloads a page into the current project's folder and
// adds it to the project's file list.

#include <CLI/CLI.hpp>
#include <memory>
#include <optional>
#include <ostream>
#include <string>

#include "cli/cli.h"
#include "cli/command_files.h"
#include "cli/commands.h"
#include "cli/download_progress.h"
#include "net/http_download.h"
#include "net/url_import.h"
#include "platform/file_io.h"
#include "platform/file_result.h"
#include "platform/program_paths.h"
#include "settings/user_settings.h"

namespace quorvel {

namespace {

struct ImportOptions {
    std::string url;
    std::string name;
    std::string settingsPath;
    bool force = false;
};

constexpr std::string_view kProgram = "quorvel-cli import: ";

int runImport(const ImportOptions& options, CommandContext& context) {
    UserSettings settings;
    if (!openSettingsFile(settings, options.settingsPath, kProgram, context.err,
                          FileAccess::ReadWrite)) {
        return kExitUsage;
    }
    const std::string folder = settings.folder();
    if (folder.empty()) {
        context.err << kProgram << "the project has no folder\n" << kImportFolderGuidance;
        return kExitUsage;
    }
    if (settings.homeUrl().empty()) context.err << kProgram << "warning: " << kHomeUrlWarning;

    if (isBareHttpScheme(options.url)) {
        context.err << kProgram << kSpecifyAnUrl << '\n';
        return kExitUsage;
    }
    if (!isUsableImportUrl(options.url)) {
        context.err << kProgram << kSpecifyValidUrl << '\n';
        return kExitUsage;
    }
    const std::string name =
        options.name.empty() ? fileNameFromUrl(options.url).value_or("") : options.name;
    if (name.empty()) {
        context.err << kProgram << kSpecifyLocalFileName << " (--name)\n";
        return kExitUsage;
    }
    if (!isPlainFileName(name)) {
        context.err << kProgram << "the local file name '" << name
                    << "' must be a plain name inside the project folder\n";
        return kExitUsage;
    }
    const std::string path = joinFolderAndName(folder, name);
    if (pathExists(path) && !options.force) {
        context.err << kProgram << "'" << path
                    << "': Local File already exist! --force replaces it\n";
        return kExitUsage;
    }

    HttpDownload download;
    TerminalProgress progress(context.err, name);
    if (errIsTerminal(context.err)) download.setHooks(&progress);
    std::string url = options.url;
    const FileDownloadOutcome outcome = downloadToFile(download, 0, url, path);
    progress.finish();
    if (!outcome.localFileOk) {
        context.err << kProgram << outcome.message << '\n';
        return kExitUsage;
    }
    context.out << downloadStatusText(outcome.result) << '\n';
    if (outcome.result != DownloadResult::Completed) {
        if (!outcome.message.empty()) context.err << kProgram << outcome.message << '\n';
        return kExitNotCompleted;
    }
    if (addImportedFile(settings, name)) {
        const FileResult saved = settings.save();
        if (!saved) {
            context.err << kProgram << "cannot write the settings file " << saved.message() << '\n';
            return kExitUsage;
        }
    }
    return kExitOk;
}

}  // namespace

void addImportCommand(CLI::App& app, CommandContext& context) {
    auto options = std::make_shared<ImportOptions>();
    CLI::App* command = app.add_subcommand(
        "import",
        "Download a page into the current project's folder and add it to the project's files. "
        "Prints the result; exit status 0 only when the download completed.");
    command->add_option("URL", options->url, "Address of the page (http:// or https://)")
        ->required();
    command->add_option("--name", options->name,
                        "Local file name (default: the last part of the URL)");
    command->add_option("--settings", options->settingsPath,
                        "User settings file with the project (default: the program's Quorvel.hc)");
    command->add_flag("--force", options->force, "Replace a file of that name in the folder");
    command->callback([options, &context] { context.status = runImport(*options, context); });
}

}  // namespace quorvel
