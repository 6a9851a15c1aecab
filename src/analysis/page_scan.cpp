#include "analysis/page_scan.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "analysis/html_scanner.h"

namespace quorvel {

namespace {

constexpr std::size_t kUnknownSizeChunk = 64 * 1024;

// Closes a file descriptor when it goes out of scope.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

}  // namespace

PageScan::PageScan() {
    stopWords_.setFinalSRule(false);
    resetForPage(0);
}

bool PageScan::load(const std::string& path) {
    resetForPage(0);
    if (path.empty()) return fail(ENOENT);
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.get() < 0) return fail(errno);
    if (!readFile(file.get())) return false;
    loadError_ = 0;
    return true;
}

bool PageScan::readFile(int fd) {
    struct stat info {};
    if (::fstat(fd, &info) != 0) return fail(errno);
    if (S_ISDIR(info.st_mode)) return fail(EISDIR);
    // The size a regular file announces is where reading starts; it reads
    // on to the end, since some files (under /proc) announce 0.
    std::size_t capacity = kUnknownSizeChunk;
    if (S_ISREG(info.st_mode)) {
        if (static_cast<std::uintmax_t>(info.st_size) > sizeLimit_) return fail(EFBIG);
        capacity = std::max(capacity, static_cast<std::size_t>(info.st_size) + 1);
    }
    // One byte beyond the limit is read to know that the file exceeds it.
    const std::size_t mostRead = sizeLimit_ + 1;
    capacity = std::min(capacity, mostRead);
    if (!reserve(capacity + 1)) return fail(ENOMEM);

    std::size_t used = 0;
    for (;;) {
        if (used == capacity) {
            if (capacity == mostRead) return fail(EFBIG);
            capacity = capacity > mostRead / 2 ? mostRead : capacity * 2;
            if (!reserve(capacity + 1, true)) return fail(ENOMEM);
        }
        const ssize_t got = ::read(fd, buffer_.get() + used, capacity - used);
        if (got < 0) {
            if (errno == EINTR) continue;
            return fail(errno);
        }
        if (got == 0) break;
        used += static_cast<std::size_t>(got);
    }
    if (used > sizeLimit_) return fail(EFBIG);
    resetForPage(used);
    return true;
}

void PageScan::setSizeLimit(std::size_t bytes) {
    sizeLimit_ = std::min(bytes, kMaxPageBytes);
}

void PageScan::FreeBuffer::operator()(char* buffer) const {
    std::free(buffer);
}

void PageScan::loadBytes(std::string_view bytes) {
    loadError_ = 0;
    if (!reserve(bytes.size() + 1)) {
        fail(ENOMEM);
        resetForPage(0);
        return;
    }
    if (!bytes.empty()) std::memcpy(buffer_.get(), bytes.data(), bytes.size());
    resetForPage(bytes.size());
}

bool PageScan::reserve(std::size_t bytes, bool keepContent) {
    if (bytes <= capacity_) return true;
    if (!keepContent) {
        buffer_.reset();
        capacity_ = 0;
    }
    // A file of unknown size is read in steps: what was read so far stays.
    char* larger = static_cast<char*>(std::realloc(buffer_.get(), bytes));
    if (larger == nullptr) return false;
    static_cast<void>(buffer_.release());
    buffer_.reset(larger);
    capacity_ = bytes;
    return true;
}

void PageScan::resetForPage(std::size_t length) {
    length_ = length;
    if (buffer_) buffer_.get()[length_] = '\0';
    cursor_ = buffer_ ? buffer_.get() : nullptr;
    minWordLength_ = 0;

    // Every fact back to its initial value; the repeated-word list keeps its
    // capacity for the next page.
    std::string repeated = std::move(repeatedWords);
    static_cast<PageFacts&>(*this) = PageFacts{};
    repeated.clear();
    repeatedWords = std::move(repeated);
    state_.reset();
}

bool PageScan::fail(int error) {
    loadError_ = error;
    resetForPage(0);
    return false;
}

void PageScan::scan() {
    if (!buffer_) return;
    const char* begin = buffer_.get();
    const ScanContext context{*this,        state_,         keyword_, stopWords_,
                              stopWordList, minWordLength_, begin,    begin + length_};
    HtmlScanner(context).run();
    cursor_ = begin + length_;
}

void PageScan::release() {
    length_ = 0;
    if (buffer_) buffer_.get()[0] = '\0';
    cursor_ = buffer_ ? buffer_.get() : nullptr;
}

void PageScan::setMinWordLength(std::uint16_t length) {
    minWordLength_ = length;
}
std::uint16_t PageScan::minWordLength() const {
    return minWordLength_;
}

KeywordMatcher& PageScan::keywordMatcher() {
    return keyword_;
}
const KeywordMatcher& PageScan::keywordMatcher() const {
    return keyword_;
}

std::string_view PageScan::bytes() const {
    return buffer_ ? std::string_view(buffer_.get(), length_) : std::string_view();
}

int PageScan::loadError() const {
    return loadError_;
}

}  // namespace quorvel
