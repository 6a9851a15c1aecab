#include "crash/safe_text.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/uio.h>
#include <unistd.h>

namespace quorvel::crash {

SafeText& SafeText::text(const char* value) {
    return text(value, safeLength(value));
}

SafeText& SafeText::text(const char* value, std::size_t length) {
    for (std::size_t i = 0; i < length && size_ < capacity_; ++i)
        data_[size_++] = value[i];
    return *this;
}

SafeText& SafeText::byte(char value) {
    if (size_ < capacity_) data_[size_++] = value;
    return *this;
}

SafeText& SafeText::hex(std::uint64_t value, int width) {
    static const char kDigits[] = "0123456789abcdef";
    char digits[16];
    int count = 0;
    do {
        digits[count++] = kDigits[value & 0xf];
        value >>= 4;
    } while (value != 0);
    for (int i = count; i < width; ++i)
        byte('0');
    while (count > 0)
        byte(digits[--count]);
    return *this;
}

SafeText& SafeText::dec(std::int64_t value, int width, bool leftAlign) {
    char digits[24];
    int count = 0;
    const bool negative = value < 0;
    // Works on the magnitude as unsigned so that the lowest value survives.
    std::uint64_t magnitude =
        negative ? ~static_cast<std::uint64_t>(value) + 1 : static_cast<std::uint64_t>(value);
    do {
        digits[count++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    const int length = count + (negative ? 1 : 0);
    if (!leftAlign) spaces(width - length);
    if (negative) byte('-');
    while (count > 0)
        byte(digits[--count]);
    if (leftAlign) spaces(width - length);
    return *this;
}

SafeText& SafeText::dec0(std::uint64_t value, int width) {
    char digits[24];
    int count = 0;
    do {
        digits[count++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0);
    for (int i = count; i < width; ++i)
        byte('0');
    while (count > 0)
        byte(digits[--count]);
    return *this;
}

SafeText& SafeText::spaces(int count) {
    for (int i = 0; i < count; ++i)
        byte(' ');
    return *this;
}

const char* SafeText::c_str() {
    if (capacity_ == 0) return "";
    if (size_ == capacity_) --size_;
    data_[size_] = '\0';
    return data_;
}

std::size_t safeLength(const char* value) {
    std::size_t length = 0;
    if (value == nullptr) return 0;
    while (value[length] != '\0')
        ++length;
    return length;
}

bool safeEqual(const char* a, const char* b, std::size_t length) {
    for (std::size_t i = 0; i < length; ++i) {
        if (a[i] != b[i]) return false;
    }
    return true;
}

bool writeAll(int fd, const void* data, std::size_t size) {
    const char* bytes = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t written = ::write(fd, bytes, size);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        bytes += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

int createPrivateFile(const char* path) {
    const int fd = ::open(path, O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600);
    // An older file keeps its mode through O_TRUNC; a dump must not stay readable by others.
    if (fd >= 0) ::fchmod(fd, 0600);
    return fd;
}

namespace {

std::size_t readThroughProcMem(std::uint64_t address, void* out, std::size_t size) {
    const int fd = ::open("/proc/self/mem", O_RDONLY | O_CLOEXEC);
    if (fd < 0) return 0;
    std::size_t done = 0;
    if (::lseek(fd, static_cast<off_t>(address), SEEK_SET) == static_cast<off_t>(address)) {
        while (done < size) {
            const ssize_t got = ::read(fd, static_cast<char*>(out) + done, size - done);
            if (got < 0 && errno == EINTR) continue;
            if (got <= 0) break;
            done += static_cast<std::size_t>(got);
        }
    }
    ::close(fd);
    return done;
}

}  // namespace

std::size_t readOwnMemory(std::uint64_t address, void* out, std::size_t size) {
    if (size == 0) return 0;
    iovec local{out, size};
    iovec remote{reinterpret_cast<void*>(address), size};
    const ssize_t got = ::process_vm_readv(::getpid(), &local, 1, &remote, 1, 0);
    if (got >= 0) return static_cast<std::size_t>(got);
    // Some sandboxes forbid the call; the memory file gives the same bytes.
    if (errno == EPERM || errno == ENOSYS) return readThroughProcMem(address, out, size);
    return 0;
}

std::size_t readSmallFile(const char* path, char* out, std::size_t capacity) {
    if (capacity == 0) return 0;
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
    std::size_t done = 0;
    if (fd >= 0) {
        while (done + 1 < capacity) {
            const ssize_t got = ::read(fd, out + done, capacity - 1 - done);
            if (got < 0 && errno == EINTR) continue;
            if (got <= 0) break;
            done += static_cast<std::size_t>(got);
        }
        ::close(fd);
    }
    out[done] = '\0';
    return done;
}

int currentThreadId() {
    return static_cast<int>(::syscall(SYS_gettid));
}

}  // namespace quorvel::crash
