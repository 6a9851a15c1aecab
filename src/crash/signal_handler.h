#pragma once

#include <signal.h>

#include <atomic>

#include "crash/crash_state.h"

// The signal handler and the state it shares with the code that installs it.

namespace quorvel::crash {

// Prepared by installCrashHandler before the handler is set.
extern CrashSetup gSetup;
// Type and what() of an uncaught exception, set by the terminate handler
// before it aborts, with the id of its thread.
extern char gExceptionText[1024];
extern std::atomic<int> gTerminatingThread;

// The handler of SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT and SIGTRAP.
void onFault(int signal, siginfo_t* info, void* context);

// Whether a tracer is attached (TracerPid in /proc/self/status).
bool debuggerAttached();

}  // namespace quorvel::crash
