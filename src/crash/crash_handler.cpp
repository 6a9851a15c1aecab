#include "crash/crash_handler.h"

#include <cpuid.h>
#include <cxxabi.h>
#include <errno.h>
#include <pwd.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/utsname.h>
#include <time.h>
#include <ucontext.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <fstream>
#include <sstream>

#include "crash/crash_files.h"
#include "crash/crash_state.h"
#include "crash/error_log.h"
#include "crash/exception_names.h"
#include "crash/minidump_writer.h"
#include "crash/proc_maps.h"
#include "crash/safe_text.h"
#include "platform/program_paths.h"

#if !defined(__x86_64__)
#error "The crash handler reads x86-64 registers."
#endif

extern char** environ;

namespace quorvel {

namespace {

using namespace crash;

constexpr int kSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT, SIGTRAP};
constexpr std::size_t kAltStackSize = 256 * 1024;
constexpr std::uint64_t kStackGuardReach = 64 * 1024;
constexpr std::uint64_t kPageFaultWrite = 2;  // the write bit of the page-fault error code

// Everything the handler touches lives here, prepared before any fault.
CrashSetup gSetup;
MapsSnapshot gMaps;
FaultRecord gFault;
FixedText<4 * kPathCapacity> gListText;
char gStatus[8192];
char gExceptionText[1024];
std::atomic<int> gTerminatingThread{0};
// The thread that writes the report; 0 before the first fault.
std::atomic<int> gReportingThread{0};
static_assert(std::atomic<int>::is_always_lock_free);

// ---- Preparation, at install time -----------------------------------------

void copyText(char* out, std::size_t capacity, const std::string& text) {
    const std::size_t length = text.size() < capacity - 1 ? text.size() : capacity - 1;
    std::memcpy(out, text.data(), length);
    out[length] = '\0';
}

std::string readTextFile(const char* path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// A value of /etc/os-release, without its quotes.
std::string osReleaseValue(const std::string& text, std::string_view key) {
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        if (line.size() <= key.size() || line.compare(0, key.size(), key) != 0 ||
            line[key.size()] != '=') {
            continue;
        }
        std::string value = line.substr(key.size() + 1);
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
            value.back() == value.front()) {
            value = value.substr(1, value.size() - 2);
        }
        return value;
    }
    return {};
}

std::string userName() {
    std::string buffer(16384, '\0');
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::geteuid(), &entry, buffer.data(), buffer.size(), &found) == 0 &&
        found != nullptr && found->pw_name != nullptr && found->pw_name[0] != '\0') {
        return found->pw_name;
    }
    for (const char* variable : {"USER", "LOGNAME"}) {
        if (const char* value = std::getenv(variable); value != nullptr && value[0] != '\0')
            return value;
    }
    return "Unknown";
}

void prepareSystem(CrashSetup& setup) {
    const std::string release = readTextFile("/etc/os-release");
    std::string distribution = osReleaseValue(release, "PRETTY_NAME");
    if (distribution.empty()) distribution = osReleaseValue(release, "NAME");
    if (distribution.empty()) distribution = "Linux";
    utsname names{};
    std::string kernel;
    if (::uname(&names) == 0) {
        kernel = names.release;
        copyText(setup.kernelDescription, sizeof setup.kernelDescription,
                 std::string(names.sysname) + " " + names.release + " " + names.version + " " +
                     names.machine);
        unsigned parts[3] = {};
        std::sscanf(names.release, "%u.%u.%u", &parts[0], &parts[1], &parts[2]);
        for (int i = 0; i < 3; ++i)
            setup.osVersion[i] = parts[i];
    }
    copyText(setup.osName, sizeof setup.osName,
             distribution + (kernel.empty() ? "" : ", kernel " + kernel) + ", 64-bit");
    const long processors = ::sysconf(_SC_NPROCESSORS_ONLN);
    setup.processors = processors > 0 ? static_cast<int>(processors) : 1;

    unsigned a = 0, b = 0, c = 0, d = 0;
    if (__get_cpuid(0, &a, &b, &c, &d)) {
        setup.cpuVendor[0] = b;
        setup.cpuVendor[1] = d;
        setup.cpuVendor[2] = c;
    }
    if (__get_cpuid(1, &a, &b, &c, &d)) {
        setup.cpuVersion = a;
        setup.cpuFeatures = d;
    }
    if (__get_cpuid(0x80000001, &a, &b, &c, &d)) setup.cpuAmdFeatures = d;

    const time_t now = ::time(nullptr);
    tm local{};
    if (::localtime_r(&now, &local) != nullptr) setup.utcOffsetSeconds = local.tm_gmtoff;
}

void prepareProgram(CrashSetup& setup, const CrashHandlerOptions& options) {
    char path[kPathCapacity] = {};
    const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path - 1);
    copyText(setup.programPath, sizeof setup.programPath,
             length > 0 ? std::string(path, static_cast<std::size_t>(length)) : "Unknown");
    copyText(setup.programName, sizeof setup.programName, crashProgramName());
    copyText(setup.userName, sizeof setup.userName, userName());

    VersionFacts& version = setup.programVersion;
    copyText(version.company, sizeof version.company, "Maltrane");
    copyText(version.product, sizeof version.product, "Quorvel");
    copyText(version.fileDescription, sizeof version.fileDescription,
             options.fileDescription.substr(0, 199));
    unsigned parts[4] = {};
    std::sscanf(QUORVEL_VERSION, "%u.%u.%u.%u", &parts[0], &parts[1], &parts[2], &parts[3]);
    for (int i = 0; i < 4; ++i) {
        version.fileVersion[i] = static_cast<std::uint16_t>(parts[i]);
        version.productVersion[i] = static_cast<std::uint16_t>(parts[i]);
    }
}

void prepareFiles(CrashSetup& setup, const CrashHandlerOptions& options) {
    const std::string folder = !options.reportFolder.empty()
                                   ? options.reportFolder
                                   : crashReportFolder(dataEnvironmentFromSystem());
    copyText(setup.reportFolder, sizeof setup.reportFolder, folder);
    const auto inFolder = [&](std::string_view name) {
        return folder.empty() ? std::string() : joinFolderAndName(folder, name);
    };
    copyText(setup.logPath, sizeof setup.logPath, inFolder(kErrorLogName));
    copyText(setup.dumpPath, sizeof setup.dumpPath, inFolder(kCrashDumpName));
    copyText(setup.listPath, sizeof setup.listPath, inFolder(kCrashListName));

    const std::string programDir = programFolder();
    const std::string userDir = userConfigFolder(configEnvironmentFromSystem());
    const auto candidate = [](const std::string& dir, std::string_view name) {
        return dir.empty() ? std::string() : joinFolderAndName(dir, name);
    };
    copyText(setup.settingsCandidates[0], kPathCapacity, candidate(programDir, kSettingsFileName));
    copyText(setup.settingsCandidates[1], kPathCapacity, candidate(userDir, kSettingsFileName));
    copyText(setup.checkerCandidates[0], kPathCapacity, candidate(programDir, kCheckerFileName));
    copyText(setup.checkerCandidates[1], kPathCapacity, candidate(userDir, kCheckerFileName));

    copyText(setup.reporterPath, sizeof setup.reporterPath,
             !options.reporterPath.empty() ? options.reporterPath
                                           : candidate(programDir, "quorvel-crash-report"));
    setup.startReporter = options.startReporter && setup.reporterPath[0] != '\0';
    setup.printLogPath = options.printLogPath;
    setup.afterReportWritten = options.afterReportWritten;
    const std::string name = setup.programName;
    copyText(setup.logNotice, sizeof setup.logNotice,
             name + ": the program failed; the error log is " + setup.logPath + "\n");
    copyText(setup.failureNotice, sizeof setup.failureNotice,
             name + ": the program failed; no error log could be written in " +
                 (folder.empty() ? std::string("(no data folder)") : folder) + "\n");
}

bool installAlternateStack() {
    stack_t current{};
    if (::sigaltstack(nullptr, &current) == 0 && !(current.ss_flags & SS_DISABLE) &&
        current.ss_size >= kAltStackSize) {
        return true;
    }
    void* memory =
        ::mmap(nullptr, kAltStackSize, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (memory == MAP_FAILED) return false;
    stack_t stack{};
    stack.ss_sp = memory;
    stack.ss_size = kAltStackSize;
    return ::sigaltstack(&stack, nullptr) == 0;
}

// ---- Inside the handler: async-signal-safe only ----------------------------

// A fault taken with the alignment-check flag set would repeat in every
// unaligned copy the handler makes.
__attribute__((noinline)) void clearAlignmentCheck() {
    asm volatile("pushfq\n\tandq $~0x40000, (%%rsp)\n\tpopfq" ::: "memory", "cc");
}

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
    fault.faultAddress = reinterpret_cast<std::uint64_t>(info->si_addr);
    fault.threadId = currentThreadId();
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    fault.time = now.tv_sec;
    fillCpuState(fault.cpu, context);
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

// ---- Uncaught C++ exceptions ----------------------------------------------

[[noreturn]] void onTerminate() {
    if (std::exception_ptr current = std::current_exception()) {
        std::string text;
        if (const std::type_info* type = abi::__cxa_current_exception_type()) {
            int status = 0;
            char* readable = abi::__cxa_demangle(type->name(), nullptr, nullptr, &status);
            text = status == 0 && readable != nullptr ? readable : type->name();
            std::free(readable);
        }
        try {
            std::rethrow_exception(current);
        } catch (const std::exception& error) {
            text += ": ";
            text += error.what();
        } catch (...) {
        }
        copyText(gExceptionText, sizeof gExceptionText, text);
        gTerminatingThread.store(currentThreadId());
    }
    std::abort();
}

}  // namespace

std::string crashProgramName() {
    char path[kPathCapacity] = {};
    const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0) return "quorvel";
    return baseName(path);
}

bool installCrashHandler(const CrashHandlerOptions& options) {
    prepareSystem(gSetup);
    prepareProgram(gSetup, options);
    prepareFiles(gSetup, options);
    // A debugger attached at start-up keeps the reporter away even if it
    // detaches before the fault.
    if (debuggerAttached()) gSetup.startReporter = false;
    installAlternateStack();

    struct sigaction action {};
    action.sa_sigaction = onFault;
    action.sa_flags = SA_SIGINFO | SA_ONSTACK;
    // A fault inside the handler is then blocked and ends the process at once.
    ::sigemptyset(&action.sa_mask);
    for (int signal : kSignals)
        ::sigaddset(&action.sa_mask, signal);
    bool ok = true;
    for (int signal : kSignals)
        ok = ::sigaction(signal, &action, nullptr) == 0 && ok;
    std::set_terminate(onTerminate);
    return ok;
}

}  // namespace quorvel
