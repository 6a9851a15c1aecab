#pragma once

#include <string>

namespace quorvel {

struct CrashHandlerOptions {
    // The "FileDesc" line of the program's version information in the log.
    std::string fileDescription = "Quorvel";
    // Start the crash reporter after a report was written (never while a
    // debugger is attached or when the reporter program is missing).
    bool startReporter = true;
    // The reporter program; empty: "quorvel-crash-report" in the program's folder.
    std::string reporterPath;
    // Write the error log's path (or why there is none) to standard error.
    bool printLogPath = false;
    // The folder of the crash files; empty: crashReportFolder() of the
    // user's environment, or the program's folder when no home is known.
    std::string reportFolder;
    // Called inside the signal handler once the files are written, before the
    // reporter starts; it must be async-signal-safe.
    void (*afterReportWritten)() = nullptr;
};

// Installs the crash handler for the whole process: SIGSEGV, SIGBUS, SIGFPE,
// SIGILL, SIGABRT and SIGTRAP on an alternate signal stack of the calling
// thread, and a terminate handler for uncaught C++ exceptions. Everything
// the handler needs (paths, user, system name) is worked out here, so call
// it first thing in main. The first fault of the process writes the list
// file, ERRORLOG.TXT and CRASH.DMP into the report folder (created 0700,
// files 0600), starts the reporter with the program's file name, and then
// ends the process by the same signal with its default action; a later
// fault writes nothing. False when the signal handlers could not be set,
// and in a sanitizer build, whose own fault handlers stay in place.
bool installCrashHandler(const CrashHandlerOptions& options = {});

// The program's file name, as the reporter receives it.
std::string crashProgramName();

}  // namespace quorvel
