#pragma once

#include <cstddef>
#include <cstdint>

// What the handler works from: facts prepared when the handler is installed
// (all in fixed arrays, so nothing needs to be allocated or looked up after a
// fault) and the record of one fault.

namespace quorvel::crash {

inline constexpr std::size_t kPathCapacity = 4096;
inline constexpr std::size_t kTextCapacity = 256;

// The version lines of a module in the error log.
struct VersionFacts {
    char company[kTextCapacity] = {};
    char product[kTextCapacity] = {};
    char fileDescription[kTextCapacity] = {};
    std::uint16_t fileVersion[4] = {};
    std::uint16_t productVersion[4] = {};
};

struct CrashSetup {
    char programPath[kPathCapacity] = {};  // "Unknown" when it cannot be read
    char programName[kTextCapacity] = {};  // file name without folder
    char userName[kTextCapacity] = {};     // "Unknown" when there is none
    char osName[1024] = {};                // for "Operating system:"
    char kernelDescription[1024] = {};     // uname's fields, for the dump
    std::uint32_t osVersion[3] = {};       // kernel release numbers
    int processors = 1;
    std::uint32_t cpuVendor[3] = {};
    std::uint32_t cpuVersion = 0;   // cpuid leaf 1, eax
    std::uint32_t cpuFeatures = 0;  // cpuid leaf 1, edx
    std::uint32_t cpuAmdFeatures = 0;
    long utcOffsetSeconds = 0;  // local time = UTC + this
    VersionFacts programVersion;

    char reportFolder[kPathCapacity] = {};
    char logPath[kPathCapacity] = {};
    char dumpPath[kPathCapacity] = {};
    char listPath[kPathCapacity] = {};
    // Where the settings and checker files may be, the program's folder first.
    char settingsCandidates[2][kPathCapacity] = {};
    char checkerCandidates[2][kPathCapacity] = {};

    char reporterPath[kPathCapacity] = {};
    bool startReporter = false;
    char logNotice[kPathCapacity + 256] = {};  // written to standard error after a report
    char failureNotice[512] = {};
    bool printLogPath = false;
    void (*afterReportWritten)() = nullptr;
};

// Registers of the faulting thread (x86-64).
struct CpuState {
    std::uint64_t rax = 0, rbx = 0, rcx = 0, rdx = 0, rsi = 0, rdi = 0, rbp = 0, rsp = 0;
    std::uint64_t r8 = 0, r9 = 0, r10 = 0, r11 = 0, r12 = 0, r13 = 0, r14 = 0, r15 = 0;
    std::uint64_t rip = 0;
    std::uint32_t eflags = 0;
    std::uint16_t cs = 0, ss = 0, ds = 0, es = 0, fs = 0, gs = 0;
    bool hasFloatState = false;
    unsigned char floatState[512] = {};  // the FXSAVE area
};

struct FaultRecord {
    int signal = 0;
    int signalCode = 0;
    std::uint32_t code = 0;          // exception code of the log
    const char* name = "";           // exception name of the log
    std::uint64_t faultAddress = 0;  // si_addr
    bool accessViolation = false;
    bool writeAccess = false;
    const char* tag = "Default";
    const char* exceptionText = nullptr;  // type and what() of an uncaught C++ exception
    int threadId = 0;
    std::int64_t time = 0;  // seconds since the epoch
    CpuState cpu;
};

}  // namespace quorvel::crash
