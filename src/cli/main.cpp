#include <unistd.h>

#include <iostream>
#include <string>
#include <utility>
#include <vector>

#include "cli/cli.h"
#include "crash/crash_handler.h"
#include "platform/signal_cleanup.h"

int main(int argc, char** argv) {
    quorvel::CrashHandlerOptions crashOptions;
    crashOptions.fileDescription = "Quorvel command-line checker";
    // A terminal program names the log instead of opening a window.
    crashOptions.startReporter = false;
    crashOptions.printLogPath = true;
    quorvel::installCrashHandler(crashOptions);

    std::ios::sync_with_stdio(false);
    // A report interrupted while written leaves no temporary file behind.
    quorvel::installTemporaryFileCleanup();
    std::vector<std::string> args(argv + 1, argv + argc);
    return quorvel::runCli(std::move(args), std::cout, std::cerr, ::isatty(STDOUT_FILENO) == 1);
}
