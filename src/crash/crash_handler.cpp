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
#include "crash/proc_maps.h"
#include "crash/signal_handler.h"
#include "platform/program_paths.h"

#if !defined(__x86_64__)
#error "The crash handler reads x86-64 registers."
#endif

namespace quorvel {

namespace {

using namespace crash;

constexpr std::size_t kAltStackSize = 256 * 1024;
constexpr int kSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT, SIGTRAP};

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
    std::string folder = !options.reportFolder.empty()
                             ? options.reportFolder
                             : crashReportFolder(dataEnvironmentFromSystem());
    // Without a home folder the reports go beside the program.
    if (folder.empty()) folder = programFolder();
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
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    // The sanitizers' own fault reports are worth more in such a build.
    (void)options;
    return false;
#endif
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
