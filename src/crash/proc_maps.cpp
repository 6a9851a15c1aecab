#include "crash/proc_maps.h"

#include "crash/safe_text.h"
#include "platform/ascii_text.h"

namespace quorvel::crash {

namespace {

std::uint64_t parseHex(char*& p, char* end) {
    std::uint64_t value = 0;
    for (; p < end; ++p) {
        const char c = *p;
        if (isAsciiDigit(c)) {
            value = value * 16 + static_cast<std::uint64_t>(c - '0');
        } else if (c >= 'a' && c <= 'f') {
            value = value * 16 + static_cast<std::uint64_t>(c - 'a' + 10);
        } else {
            break;
        }
    }
    return value;
}

std::uint64_t parseDec(char*& p, char* end) {
    std::uint64_t value = 0;
    for (; p < end && isAsciiDigit(*p); ++p)
        value = value * 10 + static_cast<std::uint64_t>(*p - '0');
    return value;
}

void skipSpaces(char*& p, char* end) {
    while (p < end && *p == ' ')
        ++p;
}

void skipField(char*& p, char* end) {
    while (p < end && *p != ' ')
        ++p;
    skipSpaces(p, end);
}

bool sameFile(const Mapping& a, const Mapping& b) {
    return a.inode == b.inode && safeLength(a.path) == safeLength(b.path) &&
           safeEqual(a.path, b.path, safeLength(a.path));
}

}  // namespace

bool MapsSnapshot::read(const char* path) {
    const std::size_t size = readSmallFile(path, text_, kTextCapacity);
    if (size == 0) return false;
    parse(text_, size);
    return true;
}

void MapsSnapshot::parse(char* text, std::size_t size) {
    mappingCount_ = 0;
    char* p = text;
    char* const end = text + size;
    while (p < end && mappingCount_ < kMaxMappings) {
        char* lineEnd = p;
        while (lineEnd < end && *lineEnd != '\n')
            ++lineEnd;
        Mapping& m = mappings_[mappingCount_];
        m = Mapping{};
        // start-end perms offset dev inode path
        m.start = parseHex(p, lineEnd);
        if (p < lineEnd && *p == '-') ++p;
        m.end = parseHex(p, lineEnd);
        skipSpaces(p, lineEnd);
        if (lineEnd - p >= 4) {
            m.readable = p[0] == 'r';
            m.writable = p[1] == 'w';
            m.executable = p[2] == 'x';
        }
        skipField(p, lineEnd);
        m.offset = parseHex(p, lineEnd);
        skipSpaces(p, lineEnd);
        skipField(p, lineEnd);  // device
        m.inode = parseDec(p, lineEnd);
        skipSpaces(p, lineEnd);
        if (p < lineEnd) m.path = p;
        if (lineEnd < end) *lineEnd = '\0';
        if (m.end > m.start) ++mappingCount_;
        p = lineEnd + 1;
    }
    collectModules();
}

void MapsSnapshot::collectModules() {
    moduleCount_ = 0;
    for (std::size_t i = 0; i < mappingCount_ && moduleCount_ < kMaxModules; ++i) {
        const Mapping& first = mappings_[i];
        if (first.path[0] != '/' || first.offset != 0 || !first.readable) continue;
        char magic[4] = {};
        if (readOwnMemory(first.start, magic, 4) != 4 || !safeEqual(magic,
                                                                    "\x7f"
                                                                    "ELF",
                                                                    4))
            continue;
        Module& module = modules_[moduleCount_++];
        module.base = first.start;
        module.end = first.end;
        module.path = first.path;
        // The later segments of the image, with gaps of reserved memory between them.
        for (std::size_t j = i + 1; j < mappingCount_; ++j) {
            const Mapping& next = mappings_[j];
            if (sameFile(next, first) && next.offset != 0) {
                module.end = next.end;
            } else if (next.path[0] != '\0' && !sameFile(next, first)) {
                break;
            }
        }
    }
}

const Mapping* MapsSnapshot::find(std::uint64_t address) const {
    for (std::size_t i = 0; i < mappingCount_; ++i) {
        if (address >= mappings_[i].start && address < mappings_[i].end) return &mappings_[i];
    }
    return nullptr;
}

const Mapping* MapsSnapshot::stackMapping(std::uint64_t stackPointer, std::uint64_t reach) const {
    if (const Mapping* holder = find(stackPointer)) return holder;
    for (std::size_t i = 0; i < mappingCount_; ++i) {
        const Mapping& m = mappings_[i];
        if (m.start > stackPointer && m.start - stackPointer <= reach && m.writable) return &m;
    }
    return nullptr;
}

const Module* MapsSnapshot::findModule(std::uint64_t address) const {
    for (std::size_t i = 0; i < moduleCount_; ++i) {
        if (address >= modules_[i].base && address < modules_[i].end) return &modules_[i];
    }
    return nullptr;
}

std::uint64_t MapsSnapshot::mappedBytes() const {
    std::uint64_t total = 0;
    for (std::size_t i = 0; i < mappingCount_; ++i)
        total += mappings_[i].end - mappings_[i].start;
    return total;
}

const char* baseName(const char* path) {
    const char* name = path;
    for (const char* p = path; *p != '\0'; ++p) {
        if (*p == '/') name = p + 1;
    }
    return name;
}

}  // namespace quorvel::crash
