#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "platform/file_io.h"

namespace quorvel {

// The folder for temporary files: $TMPDIR when it names a folder, else /tmp.
std::string temporaryFolder();

// A temporary file without a name, opened for reading and writing, that
// disappears when it is closed (also when the program dies). Returns the
// file descriptor, or -1 with errno set when none can be made.
int openAnonymousTemporaryFile(FileCalls& calls = systemFileCalls());

// Bytes appended in order and read back in order: held in memory up to
// `memoryLimit` bytes, beyond that moved to a temporary file without a name,
// so that a long stream does not stay in memory. When the file cannot be
// made or written, the bytes stay in memory from then on.
class SpillBuffer {
public:
    explicit SpillBuffer(std::size_t memoryLimit, FileCalls& calls = systemFileCalls());
    ~SpillBuffer();
    SpillBuffer(const SpillBuffer&) = delete;
    SpillBuffer& operator=(const SpillBuffer&) = delete;

    void append(std::string_view bytes);
    // Whether some bytes live in the temporary file.
    bool spilled() const { return fileBytes_ > 0; }

    // Returns how many bytes at the start of the piece it has used; the rest
    // comes again at the front of the next, longer piece.
    using Consumer = std::function<std::size_t(std::string_view piece)>;
    // Hands all bytes to `consume` in pieces, in order. False when the file
    // cannot be read back, or when bytes are left unused at the end.
    bool readBack(const Consumer& consume) const;

private:
    void spill();

    std::size_t memoryLimit_;
    FileCalls& calls_;
    std::string memory_;  // the bytes after those in the file
    int fd_ = -1;
    std::uint64_t fileBytes_ = 0;
    bool keepInMemory_ = false;
};

}  // namespace quorvel
