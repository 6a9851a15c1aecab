#include "crash/minidump_writer.h"

#include <elf.h>
#include <errno.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstring>

#include "crash/minidump_format.h"
#include "crash/safe_text.h"

namespace quorvel::crash {

namespace md = minidump;

namespace {

constexpr std::uint64_t kStackLimit = 512 * 1024;
constexpr std::uint64_t kRedZone = 128;
constexpr std::uint64_t kGuardReach = 64 * 1024;
constexpr std::uint64_t kCodeAround = 128;
constexpr std::size_t kChunk = 4096;
constexpr std::size_t kMaxBuildId = 64;

// Appends records to the dump and remembers where each one went.
class DumpFile {
public:
    explicit DumpFile(int fd) : fd_(fd) {}

    md::Location append(const void* data, std::size_t size) {
        align(8);
        const md::Location where{static_cast<std::uint32_t>(size), position_};
        raw(data, size);
        return where;
    }
    void raw(const void* data, std::size_t size) {
        if (!writeAll(fd_, data, size)) ok_ = false;
        position_ += static_cast<std::uint32_t>(size);
    }
    void align(std::size_t boundary) {
        static const char kZeros[16] = {};
        const std::size_t pad = (boundary - position_ % boundary) % boundary;
        if (pad > 0) raw(kZeros, pad);
    }
    bool overwrite(std::uint32_t offset, const void* data, std::size_t size) {
        if (::lseek(fd_, offset, SEEK_SET) != static_cast<off_t>(offset)) return ok_ = false;
        if (!writeAll(fd_, data, size)) ok_ = false;
        ::lseek(fd_, position_, SEEK_SET);
        return ok_;
    }
    std::uint32_t position() const { return position_; }
    bool ok() const { return ok_; }

private:
    int fd_;
    std::uint32_t position_ = 0;
    bool ok_ = true;
};

unsigned char gChunk[kChunk];

// Copies memory into the dump page by page; unreadable pages become zeros.
md::Location appendMemory(DumpFile& dump, std::uint64_t start, std::uint64_t size) {
    dump.align(8);
    const md::Location where{static_cast<std::uint32_t>(size), dump.position()};
    for (std::uint64_t done = 0; done < size;) {
        // Whole pages, so that one unreadable page does not blank its neighbour.
        const std::uint64_t toPageEnd = kChunk - (start + done) % kChunk;
        const std::uint64_t left = size - done;
        const std::size_t part = static_cast<std::size_t>(left < toPageEnd ? left : toPageEnd);
        const std::size_t got = readOwnMemory(start + done, gChunk, part);
        if (got < part) std::memset(gChunk + got, 0, part - got);
        dump.raw(gChunk, part);
        done += part;
    }
    return where;
}

// Copies a file (a /proc file has no size until read) into the dump.
md::Location appendFile(DumpFile& dump, const char* path) {
    dump.align(8);
    md::Location where{0, dump.position()};
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0) return where;
    for (;;) {
        const ssize_t got = ::read(fd, gChunk, kChunk);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        dump.raw(gChunk, static_cast<std::size_t>(got));
        where.dataSize += static_cast<std::uint32_t>(got);
    }
    ::close(fd);
    return where;
}

// A length-prefixed UTF-16 string with a terminating zero; bytes that are
// not UTF-8 become U+FFFD.
std::uint32_t appendString(DumpFile& dump, const char* text) {
    static std::uint16_t units[kPathCapacity * 2 + 2];
    std::size_t count = 0;
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
    while (*p != 0 && count + 2 < sizeof units / sizeof units[0]) {
        std::uint32_t cp = 0xFFFD;
        int extra = 0;
        if (*p < 0x80) {
            cp = *p;
        } else if ((*p & 0xE0) == 0xC0) {
            cp = *p & 0x1F, extra = 1;
        } else if ((*p & 0xF0) == 0xE0) {
            cp = *p & 0x0F, extra = 2;
        } else if ((*p & 0xF8) == 0xF0) {
            cp = *p & 0x07, extra = 3;
        }
        ++p;
        for (int i = 0; i < extra; ++i, ++p) {
            if ((*p & 0xC0) != 0x80) {
                cp = 0xFFFD;
                break;
            }
            cp = (cp << 6) | (*p & 0x3F);
        }
        if (cp >= 0x10000) {
            cp -= 0x10000;
            units[count++] = static_cast<std::uint16_t>(0xD800 + (cp >> 10));
            units[count++] = static_cast<std::uint16_t>(0xDC00 + (cp & 0x3FF));
        } else {
            units[count++] = static_cast<std::uint16_t>(cp);
        }
    }
    units[count] = 0;
    dump.align(4);
    const std::uint32_t rva = dump.position();
    const std::uint32_t length = static_cast<std::uint32_t>(count * 2);
    dump.raw(&length, sizeof length);
    dump.raw(units, count * 2 + 2);
    return rva;
}

// The GNU build id of a loaded image, read from its program headers in memory.
std::size_t readBuildId(std::uint64_t base, unsigned char* out) {
    Elf64_Ehdr header;
    if (readOwnMemory(base, &header, sizeof header) != sizeof header ||
        header.e_ident[EI_CLASS] != ELFCLASS64 || header.e_phentsize != sizeof(Elf64_Phdr) ||
        header.e_phnum > 64) {
        return 0;
    }
    Elf64_Phdr programHeaders[64];
    const std::size_t tableSize = header.e_phnum * sizeof(Elf64_Phdr);
    if (readOwnMemory(base + header.e_phoff, programHeaders, tableSize) != tableSize) return 0;
    std::uint64_t bias = base;
    for (int i = 0; i < header.e_phnum; ++i) {
        if (programHeaders[i].p_type == PT_LOAD) {
            bias = base - (programHeaders[i].p_vaddr & ~std::uint64_t{0xfff});
            break;
        }
    }
    for (int i = 0; i < header.e_phnum; ++i) {
        const Elf64_Phdr& note = programHeaders[i];
        if (note.p_type != PT_NOTE) continue;
        const std::size_t size = note.p_memsz < kChunk ? note.p_memsz : kChunk;
        if (readOwnMemory(bias + note.p_vaddr, gChunk, size) != size) continue;
        for (std::size_t at = 0; at + sizeof(Elf64_Nhdr) <= size;) {
            Elf64_Nhdr entry;
            std::memcpy(&entry, gChunk + at, sizeof entry);
            const std::size_t nameAt = at + sizeof entry;
            const std::size_t descAt = nameAt + ((entry.n_namesz + 3) & ~3u);
            const std::size_t next = descAt + ((entry.n_descsz + 3) & ~3u);
            if (next > size) break;
            if (entry.n_type == NT_GNU_BUILD_ID && entry.n_namesz == 4 &&
                safeEqual(reinterpret_cast<const char*>(gChunk + nameAt), "GNU", 4) &&
                entry.n_descsz <= kMaxBuildId) {
                std::memcpy(out, gChunk + descAt, entry.n_descsz);
                return entry.n_descsz;
            }
            at = next;
        }
    }
    return 0;
}

void fillContext(md::ContextAmd64& context, const CpuState& cpu) {
    std::memset(&context, 0, sizeof context);
    context.contextFlags = md::kContextFull;
    context.segCs = cpu.cs;
    context.segDs = cpu.ds;
    context.segEs = cpu.es;
    context.segFs = cpu.fs;
    context.segGs = cpu.gs;
    context.segSs = cpu.ss;
    context.eflags = cpu.eflags;
    context.rax = cpu.rax;
    context.rcx = cpu.rcx;
    context.rdx = cpu.rdx;
    context.rbx = cpu.rbx;
    context.rsp = cpu.rsp;
    context.rbp = cpu.rbp;
    context.rsi = cpu.rsi;
    context.rdi = cpu.rdi;
    context.r8 = cpu.r8;
    context.r9 = cpu.r9;
    context.r10 = cpu.r10;
    context.r11 = cpu.r11;
    context.r12 = cpu.r12;
    context.r13 = cpu.r13;
    context.r14 = cpu.r14;
    context.r15 = cpu.r15;
    context.rip = cpu.rip;
    if (cpu.hasFloatState) {
        std::memcpy(context.floatSave, cpu.floatState, sizeof context.floatSave);
        std::memcpy(&context.mxCsr, cpu.floatState + 24, sizeof context.mxCsr);
    }
}

void fillSystemInfo(md::SystemInfo& info, const CrashSetup& setup) {
    std::memset(&info, 0, sizeof info);
    const std::uint32_t v = setup.cpuVersion;
    std::uint32_t family = (v >> 8) & 0xf;
    std::uint32_t model = (v >> 4) & 0xf;
    if (family == 0xf) family += (v >> 20) & 0xff;
    if (family == 0x6 || family >= 0xf) model += ((v >> 16) & 0xf) << 4;
    info.processorArchitecture = md::kArchitectureAmd64;
    info.processorLevel = static_cast<std::uint16_t>(family);
    info.processorRevision = static_cast<std::uint16_t>((model << 8) | (v & 0xf));
    info.numberOfProcessors =
        static_cast<std::uint8_t>(setup.processors > 255 ? 255 : setup.processors);
    info.majorVersion = setup.osVersion[0];
    info.minorVersion = setup.osVersion[1];
    info.buildNumber = setup.osVersion[2];
    info.platformId = md::kPlatformLinux;
    std::memcpy(info.vendorId, setup.cpuVendor, sizeof info.vendorId);
    info.versionInformation = setup.cpuVersion;
    info.featureInformation = setup.cpuFeatures;
    info.amdExtendedCpuFeatures = setup.cpuAmdFeatures;
}

// The directory, filled as the streams are written.
struct StreamList {
    static constexpr std::size_t kMax = 16;
    md::Directory entries[kMax];
    std::uint32_t count = 0;
    void add(std::uint32_t type, md::Location where) {
        if (count < kMax) entries[count++] = md::Directory{type, where};
    }
};

// Static rather than on the signal stack; constant-initialised, so that no
// guard (and no lock) is needed.
StreamList gStreams;

}  // namespace

bool writeMinidump(int fd, const CrashSetup& setup, const FaultRecord& fault,
                   const MapsSnapshot& maps) {
    static constexpr std::uint32_t kStreamCount = 12;
    DumpFile dump(fd);
    StreamList& streams = gStreams;
    streams.count = 0;
    md::Header header{};
    dump.raw(&header, sizeof header);
    const std::uint32_t directoryRva = dump.position();
    const md::Directory kEmpty[kStreamCount] = {};
    dump.raw(kEmpty, sizeof kEmpty);

    static md::ContextAmd64 context;
    fillContext(context, fault.cpu);
    const md::Location contextAt = dump.append(&context, sizeof context);

    // The thread's stack from just below the stack pointer to the stack's top.
    std::uint64_t stackStart = fault.cpu.rsp >= kRedZone ? fault.cpu.rsp - kRedZone : 0;
    std::uint64_t stackEnd = fault.cpu.rsp;
    if (const Mapping* stack = maps.stackMapping(fault.cpu.rsp, kGuardReach)) {
        if (stack->start > stackStart && stack->start <= fault.cpu.rsp) stackStart = stack->start;
        stackEnd = stack->end;
    }
    if (stackEnd - stackStart > kStackLimit) stackEnd = stackStart + kStackLimit;
    const md::MemoryDescriptor stackMemory{stackStart,
                                           appendMemory(dump, stackStart, stackEnd - stackStart)};
    // The code around the instruction pointer, inside its mapping.
    unsigned char code[2 * kCodeAround];
    std::uint64_t codeFrom = 0;
    std::size_t codeSize = 0;
    if (const Mapping* text = maps.find(fault.cpu.rip); text != nullptr && text->readable) {
        codeFrom =
            fault.cpu.rip - text->start > kCodeAround ? fault.cpu.rip - kCodeAround : text->start;
        std::uint64_t codeEnd = fault.cpu.rip + kCodeAround;
        if (codeEnd > text->end) codeEnd = text->end;
        codeSize = readOwnMemory(codeFrom, code, static_cast<std::size_t>(codeEnd - codeFrom));
    }
    const md::MemoryDescriptor codeMemory{codeFrom, dump.append(code, codeSize)};

    const md::Thread thread{
        static_cast<std::uint32_t>(fault.threadId), 0, 0, 0, 0, stackMemory, contextAt};
    dump.align(8);
    const std::uint32_t threadListRva = dump.position();
    const std::uint32_t threadCount = 1;
    dump.raw(&threadCount, sizeof threadCount);
    dump.raw(&thread, sizeof thread);
    streams.add(md::kThreadListStream,
                {static_cast<std::uint32_t>(sizeof threadCount + sizeof thread), threadListRva});

    // The signal, its si_code and its address, as Linux minidump readers expect them.
    md::ExceptionStream exception{};
    exception.threadId = static_cast<std::uint32_t>(fault.threadId);
    exception.exceptionRecord.exceptionCode = static_cast<std::uint32_t>(fault.signal);
    exception.exceptionRecord.exceptionFlags = static_cast<std::uint32_t>(fault.signalCode);
    exception.exceptionRecord.exceptionAddress = fault.faultAddress;
    exception.threadContext = contextAt;
    streams.add(md::kExceptionStream, dump.append(&exception, sizeof exception));

    md::SystemInfo system;
    fillSystemInfo(system, setup);
    system.csdVersionRva = appendString(dump, setup.kernelDescription);
    streams.add(md::kSystemInfoStream, dump.append(&system, sizeof system));

    // Module names and build ids first, then the list that points to them.
    static md::ModuleRecord modules[MapsSnapshot::kMaxModules];
    const std::size_t moduleCount = maps.moduleCount();
    for (std::size_t i = 0; i < moduleCount; ++i) {
        const Module& module = maps.module(i);
        md::ModuleRecord& record = modules[i];
        std::memset(&record, 0, sizeof record);
        record.baseOfImage = module.base;
        record.sizeOfImage = static_cast<std::uint32_t>(module.end - module.base);
        record.moduleNameRva = appendString(dump, module.path);
        unsigned char cv[4 + kMaxBuildId];
        const std::uint32_t signature = md::kCvSignatureElf;
        std::memcpy(cv, &signature, 4);
        const std::size_t idSize = readBuildId(module.base, cv + 4);
        if (idSize > 0) record.cvRecord = dump.append(cv, 4 + idSize);
    }
    dump.align(8);
    const std::uint32_t moduleListRva = dump.position();
    const std::uint32_t moduleCount32 = static_cast<std::uint32_t>(moduleCount);
    dump.raw(&moduleCount32, sizeof moduleCount32);
    dump.raw(modules, moduleCount * sizeof(md::ModuleRecord));
    streams.add(
        md::kModuleListStream,
        {static_cast<std::uint32_t>(4 + moduleCount * sizeof(md::ModuleRecord)), moduleListRva});

    dump.align(8);
    const std::uint32_t memoryListRva = dump.position();
    const std::uint32_t memoryCount = codeSize > 0 ? 2 : 1;
    dump.raw(&memoryCount, sizeof memoryCount);
    dump.raw(&stackMemory, sizeof stackMemory);
    if (codeSize > 0) dump.raw(&codeMemory, sizeof codeMemory);
    streams.add(md::kMemoryListStream,
                {static_cast<std::uint32_t>(4 + memoryCount * sizeof(md::MemoryDescriptor)),
                 memoryListRva});

    const struct {
        std::uint32_t type;
        const char* path;
    } files[] = {
        {md::kLinuxCpuInfo, "/proc/cpuinfo"},      {md::kLinuxProcStatus, "/proc/self/status"},
        {md::kLinuxLsbRelease, "/etc/os-release"}, {md::kLinuxCmdLine, "/proc/self/cmdline"},
        {md::kLinuxEnviron, "/proc/self/environ"}, {md::kLinuxAuxv, "/proc/self/auxv"},
        {md::kLinuxMaps, "/proc/self/maps"},
    };
    for (const auto& file : files)
        streams.add(file.type, appendFile(dump, file.path));

    header.signature = md::kSignature;
    header.version = md::kVersion;
    header.streamCount = streams.count;
    header.streamDirectoryRva = directoryRva;
    header.timeDateStamp = static_cast<std::uint32_t>(fault.time);
    dump.overwrite(directoryRva, streams.entries, streams.count * sizeof(md::Directory));
    dump.overwrite(0, &header, sizeof header);
    return dump.ok() && streams.count == kStreamCount;
}

}  // namespace quorvel::crash
