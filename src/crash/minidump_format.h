#pragma once

#include <cstdint>

// The published minidump file layout: the records this program writes and
// the tests read. All values are little-endian; records are packed.

namespace quorvel::crash::minidump {

inline constexpr std::uint32_t kSignature = 0x504d444d;  // "MDMP"
inline constexpr std::uint32_t kVersion = 0xa793;

enum StreamType : std::uint32_t {
    kThreadListStream = 3,
    kModuleListStream = 4,
    kMemoryListStream = 5,
    kExceptionStream = 6,
    kSystemInfoStream = 7,
    kLinuxCpuInfo = 0x47670003,
    kLinuxProcStatus = 0x47670004,
    kLinuxLsbRelease = 0x47670005,
    kLinuxCmdLine = 0x47670006,
    kLinuxEnviron = 0x47670007,
    kLinuxAuxv = 0x47670008,
    kLinuxMaps = 0x47670009,
};

inline constexpr std::uint16_t kArchitectureAmd64 = 9;
inline constexpr std::uint32_t kPlatformLinux = 0x8201;
inline constexpr std::uint32_t kContextAmd64 = 0x00100000;
// Control, integer, segment and floating-point registers.
inline constexpr std::uint32_t kContextFull = kContextAmd64 | 0x1 | 0x2 | 0x4 | 0x8;
inline constexpr std::uint32_t kCvSignatureElf = 0x4270454c;  // "LEpB": a build id follows

#pragma pack(push, 1)
struct Header {
    std::uint32_t signature;
    std::uint32_t version;
    std::uint32_t streamCount;
    std::uint32_t streamDirectoryRva;
    std::uint32_t checksum;
    std::uint32_t timeDateStamp;
    std::uint64_t flags;
};

struct Location {
    std::uint32_t dataSize;
    std::uint32_t rva;
};

struct Directory {
    std::uint32_t streamType;
    Location location;
};

struct MemoryDescriptor {
    std::uint64_t startOfMemoryRange;
    Location memory;
};

struct SystemInfo {
    std::uint16_t processorArchitecture;
    std::uint16_t processorLevel;
    std::uint16_t processorRevision;
    std::uint8_t numberOfProcessors;
    std::uint8_t productType;
    std::uint32_t majorVersion;
    std::uint32_t minorVersion;
    std::uint32_t buildNumber;
    std::uint32_t platformId;
    std::uint32_t csdVersionRva;
    std::uint16_t suiteMask;
    std::uint16_t reserved2;
    std::uint32_t vendorId[3];
    std::uint32_t versionInformation;
    std::uint32_t featureInformation;
    std::uint32_t amdExtendedCpuFeatures;
};

struct ExceptionRecord {
    std::uint32_t exceptionCode;
    std::uint32_t exceptionFlags;
    std::uint64_t exceptionRecord;
    std::uint64_t exceptionAddress;
    std::uint32_t numberParameters;
    std::uint32_t unusedAlignment;
    std::uint64_t exceptionInformation[15];
};

struct ExceptionStream {
    std::uint32_t threadId;
    std::uint32_t alignment;
    ExceptionRecord exceptionRecord;
    Location threadContext;
};

struct Thread {
    std::uint32_t threadId;
    std::uint32_t suspendCount;
    std::uint32_t priorityClass;
    std::uint32_t priority;
    std::uint64_t teb;
    MemoryDescriptor stack;
    Location threadContext;
};

struct FixedFileInfo {
    std::uint32_t signature;
    std::uint32_t structVersion;
    std::uint32_t fileVersionHigh;
    std::uint32_t fileVersionLow;
    std::uint32_t productVersionHigh;
    std::uint32_t productVersionLow;
    std::uint32_t fileFlagsMask;
    std::uint32_t fileFlags;
    std::uint32_t fileOs;
    std::uint32_t fileType;
    std::uint32_t fileSubtype;
    std::uint32_t fileDateHigh;
    std::uint32_t fileDateLow;
};

struct ModuleRecord {
    std::uint64_t baseOfImage;
    std::uint32_t sizeOfImage;
    std::uint32_t checksum;
    std::uint32_t timeDateStamp;
    std::uint32_t moduleNameRva;
    FixedFileInfo versionInfo;
    Location cvRecord;
    Location miscRecord;
    std::uint64_t reserved0;
    std::uint64_t reserved1;
};

// The processor context of x86-64.
struct ContextAmd64 {
    std::uint64_t homes[6];
    std::uint32_t contextFlags;
    std::uint32_t mxCsr;
    std::uint16_t segCs, segDs, segEs, segFs, segGs, segSs;
    std::uint32_t eflags;
    std::uint64_t dr0, dr1, dr2, dr3, dr6, dr7;
    std::uint64_t rax, rcx, rdx, rbx, rsp, rbp, rsi, rdi;
    std::uint64_t r8, r9, r10, r11, r12, r13, r14, r15;
    std::uint64_t rip;
    std::uint8_t floatSave[512];
    std::uint8_t vectorRegisters[26 * 16];
    std::uint64_t vectorControl;
    std::uint64_t debugControl;
    std::uint64_t lastBranchToRip, lastBranchFromRip;
    std::uint64_t lastExceptionToRip, lastExceptionFromRip;
};
#pragma pack(pop)

static_assert(sizeof(Header) == 32);
static_assert(sizeof(Directory) == 12);
static_assert(sizeof(SystemInfo) == 56);
static_assert(sizeof(ExceptionStream) == 168);
static_assert(sizeof(Thread) == 48);
static_assert(sizeof(ModuleRecord) == 108);
static_assert(sizeof(ContextAmd64) == 1232);

}  // namespace quorvel::crash::minidump
