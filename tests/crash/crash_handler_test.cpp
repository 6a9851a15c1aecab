#include "crash/crash_handler.h"

#include <gtest/gtest.h>
#include <pthread.h>
#include <signal.h>
#include <sys/ptrace.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "crash/minidump_reader.h"
#include "platform/scratch_folder.h"

namespace quorvel {
namespace {

using testing::MinidumpReader;
using testing::readBytes;
using testing::ScratchFolder;

// ---- Faults the child process commits ---------------------------------------

volatile int gZero = 0;
volatile bool gNever = false;
int* volatile gNull = nullptr;

void nullWrite() {
    *gNull = 1;
}
void nullRead() {
    std::printf("%d", *gNull);
}
void divideByZero() {
    std::printf("%d", 7 / gZero);
}
void trapInstruction() {
    __builtin_trap();
}
void breakpoint() {
    asm volatile("int3");
}
void callAbort() {
    std::abort();
}
__attribute__((noinline)) void throwError() {
    throw std::runtime_error("the page list ran out");
}
// noexcept keeps the test framework from catching it.
void uncaughtException() noexcept {
    throwError();
}

// With the alignment-check flag set, an unaligned load raises a bus error.
void misalignedRead() {
    alignas(8) static char buffer[16];
    asm volatile(
        "pushfq\n\torq $0x40000, (%%rsp)\n\tpopfq\n\t"
        "movl (%0), %%eax\n\t"
        "pushfq\n\tandq $~0x40000, (%%rsp)\n\tpopfq"
        :
        : "r"(buffer + 1)
        : "eax", "memory", "cc");
}

__attribute__((noinline)) int recurse(int depth) {
    volatile char frame[512];
    frame[0] = static_cast<char>(depth);
    if (gNever) return frame[0];
    return recurse(depth + 1) + frame[0];
}
void stackOverflow() {
    std::printf("%d", recurse(0));
}

void faultInSecondThread() {
    std::thread worker(nullWrite);
    worker.join();
}

// Faults inside the handler, after the files are written.
void faultAgainInHandler() {
    *gNull = 2;
}
void abortInHandler() {
    std::abort();
}

// The exit code of a child whose fault did not happen.
constexpr int kNoFault = 77;

struct FaultCase {
    const char* name;
    void (*fault)();
    void (*inHandler)();
    int signal;
    const char* exception;   // name and code as the log's first line shows them
    const char* accessLine;  // "Write to"/"Read from", or null
    bool reporterStarts;
};

const FaultCase kFaults[] = {
    {"null write", nullWrite, nullptr, SIGSEGV, "an Access Violation (0xc0000005)", "Write to",
     true},
    {"null read", nullRead, nullptr, SIGSEGV, "an Access Violation (0xc0000005)", "Read from",
     true},
    {"integer division by zero", divideByZero, nullptr, SIGFPE,
     "an Integer Divide by Zero (0xc0000094)", nullptr, true},
    {"trap instruction", trapInstruction, nullptr, SIGILL, "an Illegal Instruction (0xc000001d)",
     nullptr, true},
    {"breakpoint", breakpoint, nullptr, SIGTRAP, "a Breakpoint (0x80000003)", nullptr, true},
    {"misaligned access", misalignedRead, nullptr, SIGBUS, "a Datatype Misalignment (0x80000002)",
     nullptr, true},
    {"abort", callAbort, nullptr, SIGABRT, "an Unknown exception type (0x00000006)", nullptr, true},
    {"stack overflow", stackOverflow, nullptr, SIGSEGV, "a Stack Overflow (0xc00000fd)", nullptr,
     true},
    {"uncaught exception", uncaughtException, nullptr, SIGABRT, "a C++ Exception (0xe06d7363)",
     nullptr, true},
    {"fault in a second thread", faultInSecondThread, nullptr, SIGSEGV,
     "an Access Violation (0xc0000005)", "Write to", true},
    // The report of the first fault stays; the second ends the process at once.
    {"second fault inside the handler", divideByZero, faultAgainInHandler, SIGSEGV,
     "an Integer Divide by Zero (0xc0000094)", nullptr, false},
    {"abort inside the handler", nullRead, abortInHandler, SIGABRT,
     "an Access Violation (0xc0000005)", "Read from", false},
};

// ---- The parent's side --------------------------------------------------------

struct ChildResult {
    bool signalled = false;
    int signal = 0;
    int exitCode = -1;
    int pid = 0;
};

ChildResult runChild(const std::string& folder, const std::string& reporter,
                     const std::string& configHome, const FaultCase& fault) {
    std::fflush(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::setenv("XDG_CONFIG_HOME", configHome.c_str(), 1);
        CrashHandlerOptions options;
        options.reportFolder = folder;
        options.reporterPath = reporter;
        options.afterReportWritten = fault.inHandler;
        if (!installCrashHandler(options)) ::_exit(70);
        fault.fault();
        ::_exit(kNoFault);
    }
    ChildResult result;
    result.pid = pid;
    int status = 0;
    ::waitpid(pid, &status, 0);
    result.signalled = WIFSIGNALED(status);
    result.signal = result.signalled ? WTERMSIG(status) : 0;
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

std::string programPath() {
    std::array<char, 4096> path{};
    const ssize_t length = ::readlink("/proc/self/exe", path.data(), path.size() - 1);
    return std::string(path.data(), length > 0 ? static_cast<std::size_t>(length) : 0);
}

std::string baseNameOf(const std::string& path) {
    return path.substr(path.rfind('/') + 1);
}

// A stand-in reporter that writes its arguments, one a line, beside itself.
std::string writeStandInReporter(const ScratchFolder& scratch) {
    const std::string path = scratch.file("reporter");
    std::ofstream(path) << "#!/bin/sh\nprintf '%s\\n' \"$0\" \"$@\" > \"$0.args\"\n";
    ::chmod(path.c_str(), 0700);
    return path;
}

std::optional<std::string> waitForFile(const std::string& path, bool expected) {
    // The reporter is not waited for by the crashing program.
    for (int i = 0; i < (expected ? 500 : 30); ++i) {
        if (auto bytes = readBytes(path)) return bytes;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return std::nullopt;
}

unsigned long long hexAfter(const std::string& text, const std::string& label) {
    const std::size_t at = text.find(label);
    if (at == std::string::npos) return ~0ull;
    return std::stoull(text.substr(at + label.size(), 16), nullptr, 16);
}

mode_t modeOf(const std::string& path) {
    struct stat facts {};
    return ::stat(path.c_str(), &facts) == 0 ? facts.st_mode & 07777 : 0;
}

// The signal's number in the dump, for the exception code in the log.
std::uint32_t signalOfLogCode(const std::string& exception) {
    struct {
        const char* code;
        std::uint32_t signal;
    } const codes[] = {{"0xc0000005", SIGSEGV}, {"0xc00000fd", SIGSEGV}, {"0xc0000094", SIGFPE},
                       {"0xc000001d", SIGILL},  {"0x80000003", SIGTRAP}, {"0x80000002", SIGBUS},
                       {"0x00000006", SIGABRT}, {"0xe06d7363", SIGABRT}};
    for (const auto& entry : codes) {
        if (exception.find(entry.code) != std::string::npos) return entry.signal;
    }
    return 0;
}

// The published minidump tools, when installed.
std::string minidumpTool(const std::string& name) {
    if (const char* folder = std::getenv("QUORVEL_MINIDUMP_TOOLS"))
        return std::string(folder) + "/" + name;
    return std::string(QUORVEL_SOURCE_DIR) + "/.cache/npm/node_modules/minidump/bin/linux-x64/" +
           name;
}

std::string quoted(const std::string& text) {
    std::string result(1, '\'');
    result += text;
    result += '\'';
    return result;
}

std::string runCommand(const std::string& command) {
    std::string output;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        std::array<char, 4096> buffer{};
        std::size_t got = 0;
        while ((got = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) {
            output.append(buffer.data(), got);
        }
        ::pclose(pipe);
    }
    return output;
}

// Symbol files with the call-frame information of every module the dump
// lists, in the folder layout the stack walker reads (name/id/name.sym),
// made once per test run.
const std::string& symbolFolder(const std::vector<std::string>& modules) {
    static ScratchFolder folder;
    static bool made = false;
    if (!made) {
        made = true;
        for (const std::string& module : modules) {
            const std::string file = folder.file("module.sym");
            std::string command = quoted(minidumpTool("dump_syms"));
            command += ' ';
            command += quoted(module);
            command += " > ";
            command += quoted(file);
            runCommand(command + " 2>/dev/null");
            std::ifstream in(file);
            std::string word, os, arch, id, name;
            if (!(in >> word >> os >> arch >> id >> name) || word != "MODULE") continue;
            in.close();
            std::filesystem::create_directories(folder.file(name + "/" + id));
            std::filesystem::rename(file, folder.file(name + "/" + id + "/" + name + ".sym"));
        }
    }
    return folder.path();
}

// The module names of the crashed thread's frames.
std::vector<std::string> frameModules(const std::string& walk) {
    std::vector<std::string> modules;
    std::istringstream lines(walk.substr(std::min(walk.find("(crashed)"), walk.size())));
    std::string line;
    std::getline(lines, line);
    while (std::getline(lines, line) && !line.empty()) {
        std::istringstream words(line);
        std::string number, frame;
        if (!(words >> number >> frame) || !std::isdigit(static_cast<unsigned char>(number[0]))) {
            continue;
        }
        modules.push_back(frame.substr(0, frame.find_first_of("!+ ")));
    }
    return modules;
}

void checkDump(const FaultCase& fault, const std::string& dumpPath, const std::string& log,
               const ChildResult& child, std::vector<std::string>* modulePaths) {
    auto bytes = readBytes(dumpPath);
    ASSERT_TRUE(bytes.has_value());
    MinidumpReader dump(*bytes);
    ASSERT_EQ(dump.validate(), "");
    for (std::uint32_t type : {3u, 4u, 5u, 6u, 7u, 0x47670003u, 0x47670004u, 0x47670005u,
                               0x47670006u, 0x47670007u, 0x47670008u, 0x47670009u}) {
        EXPECT_TRUE(dump.stream(type).has_value()) << "stream " << std::hex << type;
    }
    // System: x86-64 on Linux.
    const auto system = *dump.stream(7);
    EXPECT_EQ(dump.u16(system.rva), 9);
    EXPECT_EQ(dump.u32(system.rva + 20), 0x8201u);
    EXPECT_EQ(dump.asciiString(dump.u32(system.rva + 24)).substr(0, 6), "Linux ");

    // The exception: signal, address and the thread's registers agree with the log.
    const auto exception = *dump.stream(6);
    ASSERT_EQ(exception.size, 168u);
    const std::uint32_t threadId = dump.u32(exception.rva);
    EXPECT_EQ(dump.u32(exception.rva + 8), signalOfLogCode(fault.exception));
    EXPECT_EQ(dump.u32(exception.rva + 8),
              static_cast<std::uint32_t>(fault.inHandler ? signalOfLogCode(fault.exception)
                                                         : child.signal));
    const std::uint32_t reported = signalOfLogCode(fault.exception);
    if (reported == SIGFPE || reported == SIGILL || reported == SIGABRT) {
        // The faulting instruction, or for a sent signal the interrupted one.
        EXPECT_EQ(dump.u64(exception.rva + 24), hexAfter(log, "RIP:    0x"));
    }
    if (fault.accessLine != nullptr) {
        EXPECT_EQ(dump.u64(exception.rva + 24),
                  hexAfter(log, std::string(fault.accessLine) + " location "));
    }
    const std::uint32_t contextSize = dump.u32(exception.rva + 160);
    const std::uint32_t context = dump.u32(exception.rva + 164);
    ASSERT_EQ(contextSize, 1232u);
    EXPECT_EQ(dump.u32(context + 0x30) & 0x00100000u, 0x00100000u);
    EXPECT_EQ(dump.u64(context + 0xf8), hexAfter(log, "RIP:    0x"));
    EXPECT_EQ(dump.u64(context + 0x98), hexAfter(log, "RSP: 0x"));
    if (std::string(fault.name) == "fault in a second thread") {
        EXPECT_NE(threadId, static_cast<std::uint32_t>(child.pid));
    } else {
        EXPECT_EQ(threadId, static_cast<std::uint32_t>(child.pid));
    }

    // The thread list holds that thread with its stack, which covers the stack pointer.
    const auto threads = *dump.stream(3);
    ASSERT_EQ(dump.u32(threads.rva), 1u);
    EXPECT_EQ(dump.u32(threads.rva + 4), threadId);
    const std::uint64_t stackStart = dump.u64(threads.rva + 4 + 24);
    const std::uint32_t stackSize = dump.u32(threads.rva + 4 + 32);
    EXPECT_GT(stackSize, 0u);
    EXPECT_LE(stackStart, dump.u64(context + 0x98));

    // The module list names the test program.
    const auto modules = *dump.stream(4);
    const std::uint32_t moduleCount = dump.u32(modules.rva);
    ASSERT_EQ(modules.size, 4 + moduleCount * 108);
    bool programListed = false;
    for (std::uint32_t i = 0; i < moduleCount; ++i) {
        const std::uint32_t record = modules.rva + 4 + i * 108;
        if (dump.asciiString(dump.u32(record + 20)) == programPath()) programListed = true;
    }
    EXPECT_TRUE(programListed);
    if (modulePaths != nullptr) {
        for (std::uint32_t i = 0; i < moduleCount; ++i) {
            modulePaths->push_back(dump.asciiString(dump.u32(modules.rva + 4 + i * 108 + 20)));
        }
    }
    EXPECT_NE(dump.streamBytes(0x47670009).find(programPath()), std::string::npos);
}

void checkStackwalk(const FaultCase& fault, const std::string& dumpPath, const std::string& log,
                    const std::vector<std::string>& modules) {
    const std::string tool = minidumpTool("minidump_stackwalk");
    if (::access(tool.c_str(), X_OK) != 0) {
        const char* ci = std::getenv("CI");
        if (ci != nullptr && std::string(ci) == "true") {
            ADD_FAILURE() << "minidump_stackwalk missing at " << tool
                          << " (scripts/install-deps.sh installs it)";
        } else {
            std::printf("[  SKIPPED ] stack walk: %s is not installed\n", tool.c_str());
        }
        return;
    }
    const std::string output =
        runCommand("'" + tool + "' '" + dumpPath + "' '" + symbolFolder(modules) + "' 2>/dev/null");
    static const char* const kSignalNames[] = {
        "", "", "", "", "SIGILL", "SIGTRAP", "SIGABRT", "SIGBUS", "SIGFPE", "", "", "SIGSEGV"};
    const std::uint32_t signal = signalOfLogCode(fault.exception);
    EXPECT_NE(output.find(std::string("Crash reason:  ") + kSignalNames[signal]), std::string::npos)
        << output;
    if (fault.accessLine != nullptr) {
        char address[48];
        std::snprintf(address, sizeof address, "Crash address: 0x%llx\n",
                      hexAfter(log, std::string(fault.accessLine) + " location "));
        EXPECT_NE(output.find(address), std::string::npos) << output;
    }
    // The walk follows the call-frame information through the program and,
    // unless the stack overflowed (its bottom lies beyond the dumped part),
    // down to the C library's start code.
    const std::vector<std::string> frames = frameModules(output);
    const auto has = [&](const std::string& name) {
        return std::find(frames.begin(), frames.end(), name) != frames.end();
    };
    EXPECT_TRUE(has(baseNameOf(programPath()))) << output;
    if (fault.fault != stackOverflow) {
        EXPECT_TRUE(has("libc.so.6")) << output;
    }
    EXPECT_NE(output.find("Found by: call frame info"), std::string::npos) << output;
}

TEST(CrashHandler, EachFaultLeavesLogDumpAndListAndEndsBySignal) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    GTEST_SKIP() << "the sanitizers install their own fault handlers; the crash handler is tested "
                    "in the plain build only";
#endif
    for (const FaultCase& fault : kFaults) {
        SCOPED_TRACE(fault.name);
        ScratchFolder scratch;
        const std::string folder = scratch.file("data/Maltrane");
        const std::string reporter = writeStandInReporter(scratch);
        const ChildResult child = runChild(folder, reporter, scratch.file("config"), fault);
        if (!child.signalled && child.exitCode == kNoFault && fault.signal == SIGBUS) {
            std::printf("[  SKIPPED ] %s: this machine does not fault on unaligned access\n",
                        fault.name);
            continue;
        }
        ASSERT_TRUE(child.signalled) << "exit code " << child.exitCode;
        EXPECT_EQ(child.signal, fault.signal);

        EXPECT_EQ(modeOf(folder), 0700u);
        for (const char* name : {"ERRORLOG.TXT", "CRASH.DMP", "MtCrashReport.ini"}) {
            EXPECT_EQ(modeOf(folder + "/" + name), 0600u) << name;
        }
        const std::string log = readBytes(folder + "/ERRORLOG.TXT").value_or("");
        const std::string program = baseNameOf(programPath());
        EXPECT_EQ(log.rfind(program + " caused " + fault.exception + " \r\nin module ", 0), 0u)
            << log.substr(0, 200);
        const char* const lines[] = {"Exception handler called in ",
                                     "Error occurred at ",
                                     ", run by ",
                                     "   FileVer:    ",
                                     "Operating system:  ",
                                     " processor(s), type 8664.\r\n",
                                     "% memory in use.\r\n",
                                     " MBytes user address space free.\r\n",
                                     "\r\nContext:\r\nRDI:    0x",
                                     "\r\nR8:     0x",
                                     "\r\nEFlags: 0x",
                                     "\r\nBytes at CS:RIP:\r\n",
                                     "\r\n\r\nStack:\r\n",
                                     "\r\nModule 1\r\n",
                                     "\r\nImage Base: 0x",
                                     "\r\nVersion Information:\r\n"};
        std::size_t at = 0;
        for (const char* line : lines) {
            const std::size_t found = log.find(line, at);
            EXPECT_NE(found, std::string::npos) << "missing or out of order: " << line;
            if (found != std::string::npos) at = found;
        }
        EXPECT_NE(log.find("\r\n" + programPath() + "\r\nImage Base"), std::string::npos);
        EXPECT_EQ(log.find(program + " caused ", 1), std::string::npos) << "written twice";
        if (fault.accessLine != nullptr) {
            EXPECT_NE(log.find(std::string(fault.accessLine) +
                               " location 0000000000000000 caused an access violation.\r\n"),
                      std::string::npos);
        } else {
            EXPECT_EQ(log.find("caused an access violation"), std::string::npos);
        }
        if (fault.fault == uncaughtException) {
            EXPECT_NE(
                log.find("Uncaught C++ exception std::runtime_error: the page list ran out\r\n"),
                std::string::npos);
        }
        const std::string ending = "\r\n===== [end of ERRORLOG.TXT] =====\r\n";
        EXPECT_EQ(log.size() >= ending.size() ? log.substr(log.size() - ending.size()) : log,
                  ending);

        EXPECT_EQ(readBytes(folder + "/MtCrashReport.ini").value_or(""),
                  "[FilesToAdd]\r\nFile001=ERRORLOG.TXT,Error description and details,Log file\r\n"
                  "File002=CRASH.DMP,Process memory dump,Debug file\r\n");

        std::vector<std::string> modules;
        checkDump(fault, folder + "/CRASH.DMP", log, child, &modules);
        if (fault.inHandler == nullptr) checkStackwalk(fault, folder + "/CRASH.DMP", log, modules);

        const auto arguments = waitForFile(reporter + ".args", fault.reporterStarts);
        if (fault.reporterStarts) {
            EXPECT_EQ(arguments.value_or("(not started)"), reporter + "\n" + program + "\n");
        } else {
            EXPECT_FALSE(arguments.has_value());
        }
    }
}

TEST(CrashHandler, ListsTheUserSettingsFilesAndSkipsAMissingReporter) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    GTEST_SKIP() << "the sanitizers install their own fault handlers; the crash handler is tested "
                    "in the plain build only";
#endif
    ScratchFolder scratch;
    const std::string configFolder = scratch.file("config/Maltrane/Quorvel");
    std::filesystem::create_directories(configFolder);
    std::ofstream(configFolder + "/Quorvel.chk") << "[SearchEngines]\r\n";
    const std::string folder = scratch.file("data/Maltrane");
    const std::string missingReporter = scratch.file("no-such-reporter");
    const ChildResult child = runChild(folder, missingReporter, scratch.file("config"), kFaults[0]);
    ASSERT_TRUE(child.signalled);
    EXPECT_EQ(child.signal, SIGSEGV);
    EXPECT_EQ(readBytes(folder + "/MtCrashReport.ini").value_or(""),
              "[FilesToAdd]\r\nFile001=ERRORLOG.TXT,Error description and details,Log file\r\n"
              "File002=CRASH.DMP,Process memory dump,Debug file\r\n"
              "File003=" +
                  configFolder + "/Quorvel.chk,Checker File,VEV Settings\r\n");
}

TEST(CrashHandler, WithADebuggerTheFilesAreWrittenButNoReporterStarts) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    GTEST_SKIP() << "the sanitizers install their own fault handlers; the crash handler is tested "
                    "in the plain build only";
#endif
    ScratchFolder scratch;
    const std::string folder = scratch.file("data/Maltrane");
    const std::string reporter = writeStandInReporter(scratch);
    std::fflush(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
        CrashHandlerOptions options;
        options.reportFolder = folder;
        options.reporterPath = reporter;
        installCrashHandler(options);
        // This test process becomes the child's debugger after the handler was
        // installed, so the handler itself must notice it.
        if (::ptrace(PTRACE_TRACEME, 0, nullptr, nullptr) != 0) ::_exit(kNoFault);
        ::raise(SIGSTOP);  // attached from here on
        nullWrite();
        ::_exit(kNoFault);
    }
    // Passes every signal on, as a debugger that does not stop the program.
    int status = 0;
    while (::waitpid(pid, &status, 0) == pid && WIFSTOPPED(status)) {
        const int signal = WSTOPSIG(status) == SIGSTOP ? 0 : WSTOPSIG(status);
        ::ptrace(PTRACE_CONT, pid, nullptr, reinterpret_cast<void*>(static_cast<long>(signal)));
    }
    if (WIFEXITED(status) && WEXITSTATUS(status) == kNoFault) {
        GTEST_SKIP() << "this machine does not allow a process to be traced";
    }
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(WTERMSIG(status), SIGSEGV);
    EXPECT_NE(readBytes(folder + "/ERRORLOG.TXT").value_or("").find("Write to location"),
              std::string::npos);
    EXPECT_TRUE(readBytes(folder + "/CRASH.DMP").has_value());
    EXPECT_FALSE(waitForFile(reporter + ".args", false).has_value());
}

TEST(CrashHandler, CommandLineToolNamesTheLogOnStandardError) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    GTEST_SKIP() << "the sanitizers install their own fault handlers; the crash handler is tested "
                    "in the plain build only";
#endif
    ScratchFolder scratch;
    const std::string cli = std::string(QUORVEL_BINARY_DIR) + "/quorvel-cli";
    // The tool reads a pipe that stays empty; once it has opened the pipe (so
    // the handler is in place) a SIGSEGV from outside ends it.
    const std::string fifo = scratch.file("page.html");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string output = runCommand(
        "cd '" + scratch.path() + "' || exit 1; XDG_DATA_HOME='" + scratch.path() + "' '" + cli +
        "' scan page.html 2>err.txt & pid=$!; exec 3>page.html; kill -SEGV $pid; "
        "wait $pid; "
        "echo status=$?; cat '" +
        scratch.path() + "/err.txt'");
    EXPECT_NE(output.find("quorvel-cli: the program failed; the error log is " + scratch.path() +
                          "/Maltrane/ERRORLOG.TXT\n"),
              std::string::npos)
        << output;
    EXPECT_NE(output.find("status=139"), std::string::npos) << output;
}

}  // namespace
}  // namespace quorvel
