#include "crash/signal_handler.h"

#include <errno.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <time.h>
#include <unistd.h>

#include <cstring>

#include "crash/crash_files.h"
#include "crash/error_log.h"
#include "crash/exception_names.h"
#include "crash/minidump_writer.h"
#include "crash/proc_maps.h"
#include "crash/safe_text.h"

#if !defined(__x86_64__)
#error "The crash handler reads x86-64 registers."
#endif

// Everything in this file runs inside the signal handler: only
// async-signal-safe calls and raw system calls (the crash tests list the
// functions this object calls and hold them to that set).

extern char** environ;

namespace quorvel::crash {

CrashSetup gSetup;
char gExceptionText[1024];
std::atomic<int> gTerminatingThread{0};

namespace {

constexpr std::uint64_t kStackGuardReach = 64 * 1024;
constexpr std::uint64_t kPageFaultWrite = 2;  // the write bit of the page-fault error code

MapsSnapshot gMaps;
FaultRecord gFault;
FixedText<4 * kPathCapacity> gListText;
char gStatus[8192];
// The thread that writes the report; 0 before the first fault.
std::atomic<int> gReportingThread{0};
static_assert(std::atomic<int>::is_always_lock_free);

// A fault taken with the alignment-check flag set would repeat in every
// unaligned copy the handler makes.
__attribute__((noinline)) void clearAlignmentCheck() {
    asm volatile("pushfq\n\tandq $~0x40000, (%%rsp)\n\tpopfq" ::: "memory", "cc");
}

}  // namespace

bool debuggerAttached() {
    readSmallFile("/proc/self/status", gStatus, sizeof gStatus);
    static const char kKey[] = "TracerPid:";
    for (const char* line = gStatus; *line != '\0';) {
        if (safeEqual(line, kKey, sizeof kKey - 1)) {
            const char* p = line + sizeof kKey - 1;
            while (*p == ' ' || *p == '\t')
                ++p;
            return *p >= '1' && *p <= '9';
        }
        while (*line != '\0' && *line != '\n')
            ++line;
        if (*line == '\n') ++line;
    }
    return false;
}

namespace {

void fillCpuState(CpuState& cpu, const ucontext_t* context) {
    const greg_t* regs = context->uc_mcontext.gregs;
    const auto reg = [regs](int index) { return static_cast<std::uint64_t>(regs[index]); };
    cpu.rax = reg(REG_RAX);
    cpu.rbx = reg(REG_RBX);
    cpu.rcx = reg(REG_RCX);
    cpu.rdx = reg(REG_RDX);
    cpu.rsi = reg(REG_RSI);
    cpu.rdi = reg(REG_RDI);
    cpu.rbp = reg(REG_RBP);
    cpu.rsp = reg(REG_RSP);
    cpu.r8 = reg(REG_R8);
    cpu.r9 = reg(REG_R9);
    cpu.r10 = reg(REG_R10);
    cpu.r11 = reg(REG_R11);
    cpu.r12 = reg(REG_R12);
    cpu.r13 = reg(REG_R13);
    cpu.r14 = reg(REG_R14);
    cpu.r15 = reg(REG_R15);
    cpu.rip = reg(REG_RIP);
    cpu.eflags = static_cast<std::uint32_t>(reg(REG_EFL));
    // cs, gs, fs and ss, 16 bits each.
    const std::uint64_t segments = reg(REG_CSGSFS);
    cpu.cs = static_cast<std::uint16_t>(segments);
    cpu.gs = static_cast<std::uint16_t>(segments >> 16);
    cpu.fs = static_cast<std::uint16_t>(segments >> 32);
    cpu.ss = static_cast<std::uint16_t>(segments >> 48);
    cpu.hasFloatState = context->uc_mcontext.fpregs != nullptr;
    if (cpu.hasFloatState)
        std::memcpy(cpu.floatState, context->uc_mcontext.fpregs, sizeof cpu.floatState);
}

// A fault in unmapped or inaccessible memory close to the stack pointer: the
// stack ran into its guard area.
bool hitStackGuard(std::uint64_t address, std::uint64_t stackPointer) {
    const Mapping* mapping = gMaps.find(address);
    if (mapping != nullptr && (mapping->readable || mapping->writable)) return false;
    const std::uint64_t distance =
        address > stackPointer ? address - stackPointer : stackPointer - address;
    return distance <= kStackGuardReach;
}

// Creates the report folder and any missing parent, private to the user.
bool makeReportFolder() {
    static char path[kPathCapacity];
    const std::size_t length = safeLength(gSetup.reportFolder);
    if (length == 0) return false;
    for (std::size_t i = 1; i <= length; ++i) {
        if (i < length && gSetup.reportFolder[i] != '/') continue;
        std::memcpy(path, gSetup.reportFolder, i);
        path[i] = '\0';
        if (::mkdir(path, 0700) != 0 && errno != EEXIST) return false;
    }
    ::chmod(gSetup.reportFolder, 0700);
    struct stat facts {};
    return ::stat(gSetup.reportFolder, &facts) == 0 && S_ISDIR(facts.st_mode);
}

void writeListFile() {
    gListText.clear();
    formatCrashList(
        gListText, CrashListCandidates{{gSetup.settingsCandidates[0], gSetup.settingsCandidates[1]},
                                       {gSetup.checkerCandidates[0], gSetup.checkerCandidates[1]}});
    const int fd = createPrivateFile(gSetup.listPath);
    if (fd < 0) return;
    writeAll(fd, gListText.data(), gListText.size());
    ::close(fd);
}

bool startReporter() {
    if (!gSetup.startReporter || debuggerAttached() || ::access(gSetup.reporterPath, X_OK) != 0) {
        return false;
    }
    char* arguments[] = {gSetup.reporterPath, gSetup.programName, nullptr};
    // _Fork runs no fork handlers, so a fault inside malloc cannot deadlock here.
    const pid_t child = ::_Fork();
    if (child == 0) {
        sigset_t none;
        ::sigemptyset(&none);
        ::sigprocmask(SIG_SETMASK, &none, nullptr);
        ::setsid();
        ::execve(arguments[0], arguments, environ);
        ::_exit(127);
    }
    return child > 0;
}

void writeReport(int signal, const siginfo_t* info, const ucontext_t* context) {
    FaultRecord& fault = gFault;
    fault.signal = signal;
    fault.signalCode = info->si_code;
    fault.threadId = currentThreadId();
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    fault.time = now.tv_sec;
    fillCpuState(fault.cpu, context);
    // A signal sent by kill, raise or abort has no fault address; the
    // instruction it interrupted stands in.
    fault.faultAddress =
        info->si_code > 0 ? reinterpret_cast<std::uint64_t>(info->si_addr) : fault.cpu.rip;
    gMaps.read();

    FaultFacts facts;
    facts.signal = signal;
    facts.signalCode = info->si_code;
    facts.stackGuardHit = signal == SIGSEGV && hitStackGuard(fault.faultAddress, fault.cpu.rsp);
    facts.fromUncaughtException = signal == SIGABRT && gTerminatingThread.load() == fault.threadId;
    const ExceptionKind kind = exceptionKindOf(facts);
    fault.code = kind.code;
    fault.name = kind.name;
    // A signal sent by another process names no faulting access.
    fault.accessViolation = kind.code == kAccessViolation && info->si_code > 0;
    fault.writeAccess =
        (static_cast<std::uint64_t>(context->uc_mcontext.gregs[REG_ERR]) & kPageFaultWrite) != 0;
    fault.tag = facts.fromUncaughtException ? "Terminate handler" : "Default";
    fault.exceptionText =
        facts.fromUncaughtException && gExceptionText[0] != '\0' ? gExceptionText : nullptr;

    if (!makeReportFolder()) {
        if (gSetup.printLogPath)
            writeAll(2, gSetup.failureNotice, safeLength(gSetup.failureNotice));
        return;
    }
    writeListFile();
    const int log = createPrivateFile(gSetup.logPath);
    if (log < 0) {
        static const char kMessage[] = "Error creating exception report\r\n";
        writeAll(2, kMessage, sizeof kMessage - 1);
        if (gSetup.printLogPath)
            writeAll(2, gSetup.failureNotice, safeLength(gSetup.failureNotice));
        return;
    }
    writeErrorLog(log, gSetup, fault, gMaps);
    ::fsync(log);
    ::close(log);
    const int dump = createPrivateFile(gSetup.dumpPath);
    if (dump >= 0) {
        writeMinidump(dump, gSetup, fault, gMaps);
        ::fsync(dump);
        ::close(dump);
    }
    if (gSetup.printLogPath) writeAll(2, gSetup.logNotice, safeLength(gSetup.logNotice));
    if (gSetup.afterReportWritten != nullptr) gSetup.afterReportWritten();
    startReporter();
}

// Ends the process by the signal's default action: with the handler gone,
// the re-sent signal is delivered as soon as the handler returns (a fault
// would also repeat its instruction, but a breakpoint or abort would not).
void fallThrough(int signal) {
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    ::sigemptyset(&action.sa_mask);
    ::sigaction(signal, &action, nullptr);
    ::syscall(SYS_tgkill, ::getpid(), currentThreadId(), signal);
}

}  // namespace

void onFault(int signal, siginfo_t* info, void* context) {
    clearAlignmentCheck();
    const int saved = errno;
    const int self = currentThreadId();
    int expected = 0;
    if (gReportingThread.compare_exchange_strong(expected, self)) {
        writeReport(signal, info, static_cast<const ucontext_t*>(context));
    } else if (expected != self) {
        // Another thread is writing the report and will end the process; do
        // not cut it short. Waits at most half a minute.
        for (int i = 0; i < 3000; ++i) {
            timespec pause{0, 10 * 1000 * 1000};
            ::nanosleep(&pause, nullptr);
        }
    }
    fallThrough(signal);
    errno = saved;
}

}  // namespace quorvel::crash
