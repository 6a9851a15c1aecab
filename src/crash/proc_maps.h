#pragma once

#include <cstddef>
#include <cstdint>

namespace quorvel::crash {

// One line of /proc/self/maps.
struct Mapping {
    std::uint64_t start = 0;
    std::uint64_t end = 0;
    std::uint64_t offset = 0;
    std::uint64_t inode = 0;
    bool readable = false;
    bool writable = false;
    bool executable = false;
    const char* path = "";  // zero-terminated; empty for anonymous memory
};

// A loaded program image: the file's mappings from the one at offset 0 on.
struct Module {
    std::uint64_t base = 0;
    std::uint64_t end = 0;
    const char* path = "";
};

// The process's memory map, read without allocating (fixed storage: the
// object is meant to live in static memory). Lines past the capacity are
// dropped.
class MapsSnapshot {
public:
    static constexpr std::size_t kTextCapacity = 1 << 20;
    static constexpr std::size_t kMaxMappings = 8192;
    static constexpr std::size_t kMaxModules = 1024;

    // Reads /proc/self/maps (or `path`); false when it cannot be read.
    bool read(const char* path = "/proc/self/maps");
    // Parses a maps text in place (lines ending in '\n').
    void parse(char* text, std::size_t size);

    std::size_t mappingCount() const { return mappingCount_; }
    const Mapping& mapping(std::size_t index) const { return mappings_[index]; }
    // The mapping that holds `address`, or null.
    const Mapping* find(std::uint64_t address) const;

    // The stack a stack pointer belongs to: the mapping that holds it or,
    // when the stack overflowed into its guard area, the one just above it
    // (within `reach` bytes); null when there is none.
    const Mapping* stackMapping(std::uint64_t stackPointer, std::uint64_t reach) const;

    // The ELF images among the mappings, in address order: a file mapped at
    // offset 0 whose first bytes are an ELF header, with the mappings of the
    // same file that follow it.
    std::size_t moduleCount() const { return moduleCount_; }
    const Module& module(std::size_t index) const { return modules_[index]; }
    // The module that holds `address`, or null.
    const Module* findModule(std::uint64_t address) const;
    // Sum of the sizes of all mappings.
    std::uint64_t mappedBytes() const;

private:
    void collectModules();

    char text_[kTextCapacity];
    Mapping mappings_[kMaxMappings];
    std::size_t mappingCount_ = 0;
    Module modules_[kMaxModules];
    std::size_t moduleCount_ = 0;
};

// The file name after the last '/' of a path.
const char* baseName(const char* path);

}  // namespace quorvel::crash
