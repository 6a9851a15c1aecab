#include "crash/error_log.h"

#include <sys/stat.h>

#include "crash/exception_names.h"

namespace quorvel::crash {

namespace {

constexpr std::size_t kFlushThreshold = 7168;
constexpr std::size_t kMaxStackWords = 3072;
constexpr std::size_t kWordsPerLine = 4;
// x86-64 user space below the non-canonical hole.
constexpr std::uint64_t kUserAddressSpace = 0x00007ffffffff000ull;
constexpr std::uint64_t kMegabyte = 1024 * 1024;

// The log's buffer; lines are added after `beginLine` made room.
class LogOutput {
public:
    explicit LogOutput(int fd) : fd_(fd) {}

    SafeText& beginLine() {
        if (text_.size() > kFlushThreshold) flush();
        return text_;
    }
    void flush() {
        if (!writeAll(fd_, text_.data(), text_.size())) ok_ = false;
        text_.clear();
    }
    bool ok() const { return ok_; }

private:
    int fd_;
    bool ok_ = true;
    FixedText<16384> text_;
};

std::int64_t floorDiv(std::int64_t a, std::int64_t b) {
    return (a - (((a % b) + b) % b)) / b;
}

// Days since 1970-01-01 to a civil date (proleptic Gregorian calendar).
void civilFromDays(std::int64_t days, int& year, int& month, int& day) {
    days += 719468;
    const std::int64_t era = floorDiv(days, 146097);
    const std::int64_t dayOfEra = days - era * 146097;
    const std::int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t mp = (5 * dayOfYear + 2) / 153;
    day = static_cast<int>(dayOfYear - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
}

std::uint64_t megabytesRoundedUp(std::uint64_t bytes) {
    return (bytes + kMegabyte - 1) / kMegabyte;
}

void appendVersion(SafeText& out, const char* label, const std::uint16_t (&parts)[4]) {
    out.text(label);
    for (int i = 0; i < 4; ++i) {
        if (i > 0) out.byte('.');
        out.dec(parts[i]);
    }
    out.text("\r\n");
}

void writeVersionLines(LogOutput& log, const VersionFacts& version) {
    log.beginLine().text("   Company:    ").text(version.company).text("\r\n");
    log.beginLine().text("   Product:    ").text(version.product).text("\r\n");
    log.beginLine().text("   FileDesc:   ").text(version.fileDescription).text("\r\n");
    appendVersion(log.beginLine(), "   FileVer:    ", version.fileVersion);
    appendVersion(log.beginLine(), "   ProdVer:    ", version.productVersion);
}

// The value of one "Key:   123 kB" line of /proc/meminfo, in bytes.
std::uint64_t meminfoValue(const char* text, const char* key) {
    const std::size_t keyLength = safeLength(key);
    for (const char* line = text; *line != '\0';) {
        if (safeEqual(line, key, keyLength) && line[keyLength] == ':') {
            const char* p = line + keyLength + 1;
            while (*p == ' ')
                ++p;
            std::uint64_t value = 0;
            while (*p >= '0' && *p <= '9')
                value = value * 10 + static_cast<std::uint64_t>(*p++ - '0');
            return value * 1024;
        }
        while (*line != '\0' && *line != '\n')
            ++line;
        if (*line == '\n') ++line;
    }
    return 0;
}

void writeSystemLines(LogOutput& log, const CrashSetup& setup, const MapsSnapshot& maps) {
    static char meminfo[16384];
    readSmallFile("/proc/meminfo", meminfo, sizeof meminfo);
    const std::uint64_t total = meminfoValue(meminfo, "MemTotal");
    const std::uint64_t available = meminfoValue(meminfo, "MemAvailable");
    const std::uint64_t swapTotal = meminfoValue(meminfo, "SwapTotal");
    const std::uint64_t swapFree = meminfoValue(meminfo, "SwapFree");
    const std::uint64_t mapped = maps.mappedBytes();
    const std::uint64_t load =
        total > 0 && available <= total ? (total - available) * 100 / total : 0;

    log.beginLine().text("Operating system:  ").text(setup.osName).text(".\r\n");
    // 8664 is the processor type number of x86-64.
    log.beginLine().dec(setup.processors).text(" processor(s), type 8664.\r\n");
    log.beginLine().dec(static_cast<std::int64_t>(load)).text("% memory in use.\r\n");
    struct {
        std::uint64_t bytes;
        const char* label;
    } const amounts[] = {
        {total, " MBytes physical memory.\r\n"},
        {available, " MBytes physical memory free.\r\n"},
        {swapTotal, " MBytes paging file.\r\n"},
        {swapFree, " MBytes paging file free.\r\n"},
        {kUserAddressSpace, " MBytes user address space.\r\n"},
        {mapped < kUserAddressSpace ? kUserAddressSpace - mapped : 0,
         " MBytes user address space free.\r\n"},
    };
    for (const auto& amount : amounts) {
        log.beginLine()
            .dec(static_cast<std::int64_t>(megabytesRoundedUp(amount.bytes)))
            .text(amount.label);
    }
}

void writeRegisters(LogOutput& log, const CpuState& cpu) {
    struct Row {
        const char* names[3];
        std::uint64_t values[3];
        int count;
    } const rows[] = {
        {{"RDI:    0x", "  RSI: 0x", "  RAX:   0x"}, {cpu.rdi, cpu.rsi, cpu.rax}, 3},
        {{"RBX:    0x", "  RCX: 0x", "  RDX:   0x"}, {cpu.rbx, cpu.rcx, cpu.rdx}, 3},
        {{"R8:     0x", "  R9:  0x", "  R10:   0x"}, {cpu.r8, cpu.r9, cpu.r10}, 3},
        {{"R11:    0x", "  R12: 0x", "  R13:   0x"}, {cpu.r11, cpu.r12, cpu.r13}, 3},
        {{"R14:    0x", "  R15: 0x", ""}, {cpu.r14, cpu.r15, 0}, 2},
    };
    log.beginLine().text("\r\n");
    log.beginLine().text("Context:\r\n");
    for (const Row& row : rows) {
        SafeText& line = log.beginLine();
        for (int i = 0; i < row.count; ++i)
            line.text(row.names[i]).hex(row.values[i], 16);
        line.text("\r\n");
    }
    log.beginLine()
        .text("RIP:    0x")
        .hex(cpu.rip, 16)
        .text("  RBP: 0x")
        .hex(cpu.rbp, 16)
        .text("  SegCs: 0x")
        .hex(cpu.cs, 8)
        .text("\r\n");
    log.beginLine()
        .text("EFlags: 0x")
        .hex(cpu.eflags, 8)
        .text("  RSP: 0x")
        .hex(cpu.rsp, 16)
        .text("  SegSs: 0x")
        .hex(cpu.ss, 8)
        .text("\r\n");

    SafeText& bytes = log.beginLine().text("\r\nBytes at CS:RIP:\r\n");
    unsigned char code[16];
    const std::size_t readable = readOwnMemory(cpu.rip, code, sizeof code);
    for (std::size_t i = 0; i < sizeof code; ++i) {
        if (i < readable) {
            bytes.hex(code[i], 2).byte(' ');
        } else {
            bytes.text("?? ");
        }
    }
}

void writeStack(LogOutput& log, const CpuState& cpu, const MapsSnapshot& maps) {
    log.beginLine().text("\r\n\r\nStack:\r\n");
    const Mapping* stack = maps.find(cpu.rsp);
    std::uint64_t top = stack != nullptr ? stack->end : cpu.rsp + kWordsPerLine * 8;
    if ((top - cpu.rsp) / 8 > kMaxStackWords) top = cpu.rsp + kMaxStackWords * 8;
    for (std::uint64_t address = cpu.rsp; address + 8 <= top; address += kWordsPerLine * 8) {
        std::uint64_t words[kWordsPerLine] = {};
        std::size_t count = static_cast<std::size_t>((top - address) / 8);
        if (count > kWordsPerLine) count = kWordsPerLine;
        if (readOwnMemory(address, words, count * 8) != count * 8) {
            log.beginLine().text("Exception encountered during stack dump.\r\n");
            return;
        }
        SafeText& line = log.beginLine().text("0x").hex(address, 16).text(": ");
        for (std::size_t i = 0; i < count; ++i)
            line.hex(words[i], 16).byte(' ');
        // Each missing word is as wide as a written one.
        for (std::size_t i = count; i < kWordsPerLine; ++i)
            line.spaces(17);
        const unsigned char* bytes = reinterpret_cast<const unsigned char*>(words);
        for (std::size_t i = 0; i < count * 8; ++i) {
            const unsigned char c = bytes[i];
            line.byte(c < 32 || c == 127 ? '.' : static_cast<char>(c));
        }
        line.text("\r\n");
    }
    log.beginLine().text("\r\n");
}

void writeModules(LogOutput& log, const CrashSetup& setup, const MapsSnapshot& maps) {
    static const VersionFacts kNoVersion;
    int number = 0;
    for (std::size_t i = 0; i < maps.moduleCount(); ++i) {
        const Module& module = maps.module(i);
        struct stat facts {};
        const bool known = ::stat(module.path, &facts) == 0;
        log.beginLine().text("Module ").dec(++number).text("\r\n");
        log.beginLine().text(module.path).text("\r\n");
        log.beginLine()
            .text("Image Base: 0x")
            .hex(module.base, 16)
            .text("  Image Size: 0x")
            .hex(module.end - module.base, 8)
            .text("\r\n");
        // An ELF image has no checksum; its time stamp is the file's.
        log.beginLine()
            .text("Checksum:   0x")
            .hex(0, 8)
            .text("  Time Stamp: 0x")
            .hex(known ? static_cast<std::uint32_t>(facts.st_mtime) : 0, 8)
            .text("\r\n");
        SafeText& line = log.beginLine()
                             .text("File Size:  ")
                             .dec(known ? static_cast<std::int64_t>(facts.st_size) : 0, 10, true)
                             .text("  File Time:  ");
        if (known) {
            appendLocalTime(line, facts.st_mtime, setup.utcOffsetSeconds);
        } else {
            line.text("Unknown");
        }
        line.text("\r\n");
        log.beginLine().text("Version Information:\r\n");
        const bool isProgram = safeLength(module.path) == safeLength(setup.programPath) &&
                               safeEqual(module.path, setup.programPath, safeLength(module.path));
        writeVersionLines(log, isProgram ? setup.programVersion : kNoVersion);
        log.beginLine().text("\r\n");
    }
}

}  // namespace

void appendLocalTime(SafeText& out, std::int64_t utcSeconds, long utcOffsetSeconds) {
    const std::int64_t local = utcSeconds + utcOffsetSeconds;
    const std::int64_t days = floorDiv(local, 86400);
    const std::int64_t secondOfDay = local - days * 86400;
    int year = 0, month = 0, day = 0;
    civilFromDays(days, year, month, day);
    out.dec(month).byte('/').dec(day).byte('/').dec(year).byte(' ');
    out.dec0(static_cast<std::uint64_t>(secondOfDay / 3600), 2).byte(':');
    out.dec0(static_cast<std::uint64_t>(secondOfDay / 60 % 60), 2).byte(':');
    out.dec0(static_cast<std::uint64_t>(secondOfDay % 60 / 2 * 2), 2);
}

bool writeErrorLog(int fd, const CrashSetup& setup, const FaultRecord& fault,
                   const MapsSnapshot& maps) {
    LogOutput log(fd);
    const Module* module = maps.findModule(fault.cpu.rip);
    SafeText& first = log.beginLine()
                          .text(setup.programName)
                          .text(" caused ")
                          .text(fault.name)
                          .text(" (0x")
                          .hex(fault.code, 8)
                          .text(") \r\nin module ");
    if (module != nullptr) {
        first.text(baseName(module->path))
            .text(" at offset 0x")
            .hex(fault.cpu.rip - module->base, 16);
    } else {
        first.text("Unknown at 0x").hex(fault.cpu.rip, 16);
    }
    first.text(".\r\n\r\n");
    log.beginLine().text("Exception handler called in ").text(fault.tag).text(".\r\n");
    if (fault.exceptionText != nullptr) {
        log.beginLine().text("Uncaught C++ exception ").text(fault.exceptionText).text("\r\n");
    }
    appendLocalTime(log.beginLine().text("Error occurred at "), fault.time, setup.utcOffsetSeconds);
    log.beginLine().text(".\r\n");
    log.beginLine().text(setup.programPath).text(", run by ").text(setup.userName).text(".\r\n");
    writeVersionLines(log, setup.programVersion);
    writeSystemLines(log, setup, maps);
    if (fault.accessViolation) {
        log.beginLine()
            .text(fault.writeAccess ? "Write to" : "Read from")
            .text(" location ")
            .hex(fault.faultAddress, 16)
            .text(" caused an access violation.\r\n");
    }
    writeRegisters(log, fault.cpu);
    writeStack(log, fault.cpu, maps);
    writeModules(log, setup, maps);
    log.beginLine().text("\r\n===== [end of ERRORLOG.TXT] =====\r\n");
    log.flush();
    return log.ok();
}

}  // namespace quorvel::crash
