#include "platform/temp_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <vector>

namespace quorvel {

namespace {

constexpr std::size_t kReadPieceSize = 65536;

}  // namespace

std::string temporaryFolder() {
    const char* value = std::getenv("TMPDIR");
    struct stat info {};
    if (value != nullptr && value[0] != '\0' && ::stat(value, &info) == 0 &&
        S_ISDIR(info.st_mode)) {
        return value;
    }
    return "/tmp";
}

int openAnonymousTemporaryFile(FileCalls& calls) {
    const std::string folder = temporaryFolder();
    // O_TMPFILE never gives the file a name; file systems without it get a
    // named file that is removed at once.
    const int fd = calls.open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (fd >= 0) return fd;

    std::string pattern = folder;
    if (pattern.back() != '/') pattern += '/';
    pattern += "quorvel-XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int named = ::mkostemp(name.data(), O_CLOEXEC);
    if (named < 0) return -1;
    calls.unlink(name.data());
    return named;
}

SpillBuffer::SpillBuffer(std::size_t memoryLimit, FileCalls& calls)
    : memoryLimit_(memoryLimit), calls_(calls) {}

SpillBuffer::~SpillBuffer() {
    if (fd_ >= 0) calls_.close(fd_);
}

void SpillBuffer::append(std::string_view bytes) {
    memory_ += bytes;
    if (memory_.size() >= memoryLimit_ && !keepInMemory_) spill();
}

void SpillBuffer::spill() {
    if (fd_ < 0) fd_ = openAnonymousTemporaryFile(calls_);
    if (fd_ >= 0 && writeAll(fd_, memory_, calls_)) {
        fileBytes_ += memory_.size();
        memory_.clear();
        return;
    }
    // A part written before a failure lies beyond fileBytes_ and is never
    // read; the bytes stay here.
    keepInMemory_ = true;
}

bool SpillBuffer::readBack(const Consumer& consume) const {
    std::string piece;
    std::uint64_t offset = 0;
    while (offset < fileBytes_) {
        const std::size_t kept = piece.size();
        // A piece the consumer could not use grows until it can.
        const std::size_t wanted = static_cast<std::size_t>(
            std::min<std::uint64_t>(std::max(kReadPieceSize, kept), fileBytes_ - offset));
        piece.resize(kept + wanted);
        const ssize_t got =
            calls_.pread(fd_, piece.data() + kept, wanted, static_cast<off_t>(offset));
        if (got < 0 && errno == EINTR) {
            piece.resize(kept);
            continue;
        }
        if (got <= 0) return false;
        piece.resize(kept + static_cast<std::size_t>(got));
        offset += static_cast<std::uint64_t>(got);
        piece.erase(0, consume(piece));
    }
    if (piece.empty()) return consume(memory_) == memory_.size();
    piece += memory_;
    return consume(piece) == piece.size();
}

}  // namespace quorvel
