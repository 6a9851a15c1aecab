#include "analysis/page_scan.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <new>

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
    const bool sizeKnown = S_ISREG(info.st_mode);
    std::size_t limit = sizeKnown ? static_cast<std::size_t>(info.st_size) : kUnknownSizeChunk;
    if (!reserve(limit + 1)) return fail(ENOMEM);

    std::size_t used = 0;
    for (;;) {
        if (used == limit) {
            if (sizeKnown) break;  // a file that grows while read is taken as it was
            limit *= 2;
            if (!reserve(limit + 1, true)) return fail(ENOMEM);
        }
        const ssize_t got = ::read(fd, buffer_.get() + used, limit - used);
        if (got < 0) {
            if (errno == EINTR) continue;
            return fail(errno);
        }
        if (got == 0) break;
        used += static_cast<std::size_t>(got);
    }
    resetForPage(used);
    return true;
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
    std::unique_ptr<char[]> larger(new (std::nothrow) char[bytes]);
    if (!larger) return false;
    // A file of unknown size is read in steps: what was read so far stays.
    if (capacity_ > 0) std::memcpy(larger.get(), buffer_.get(), capacity_);
    buffer_ = std::move(larger);
    capacity_ = bytes;
    return true;
}

void PageScan::resetForPage(std::size_t length) {
    length_ = length;
    if (buffer_) buffer_[length_] = '\0';
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
    if (buffer_) buffer_[0] = '\0';
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
