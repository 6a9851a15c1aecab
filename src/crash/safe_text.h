#pragma once

#include <cstddef>
#include <cstdint>

// Text building and file output for code that runs inside a signal handler:
// fixed storage, no allocation, no locale, no locks, only write(2).

namespace quorvel::crash {

// Appends to a caller-owned byte array; what does not fit is dropped.
class SafeText {
public:
    SafeText(char* storage, std::size_t capacity) : data_(storage), capacity_(capacity) {}

    SafeText& text(const char* value);
    SafeText& text(const char* value, std::size_t length);
    SafeText& byte(char value);
    // Lower-case hexadecimal, zero-padded to at least `width` digits.
    SafeText& hex(std::uint64_t value, int width);
    // Decimal; `width` pads with spaces on the left, or on the right when
    // `leftAlign` is set.
    SafeText& dec(std::int64_t value, int width = 0, bool leftAlign = false);
    // Decimal, zero-padded to at least `width` digits.
    SafeText& dec0(std::uint64_t value, int width);
    SafeText& spaces(int count);

    const char* data() const { return data_; }
    std::size_t size() const { return size_; }
    void clear() { size_ = 0; }
    // Keeps a terminating zero after the text (inside the capacity).
    const char* c_str();

private:
    char* data_;
    std::size_t capacity_;
    std::size_t size_ = 0;
};

// A SafeText with its own storage.
template <std::size_t N>
class FixedText : public SafeText {
public:
    FixedText() : SafeText(storage_, N) {}
    FixedText(const FixedText&) = delete;
    FixedText& operator=(const FixedText&) = delete;

private:
    char storage_[N];
};

std::size_t safeLength(const char* value);
bool safeEqual(const char* a, const char* b, std::size_t length);

// Writes all bytes, retrying after interruptions; false on any error.
bool writeAll(int fd, const void* data, std::size_t size);

// Creates or replaces a file for writing with mode 0600, never through a
// symbolic link; -1 on failure.
int createPrivateFile(const char* path);

// Reads up to `size` bytes of this process's memory at `address` without
// faulting: through process_vm_readv, else through /proc/self/mem. Returns
// the number of bytes read from the start of the range (0 when unreadable).
std::size_t readOwnMemory(std::uint64_t address, void* out, std::size_t size);

// Reads a whole small file into `out` (zero-terminated); the number of bytes
// read, 0 when it cannot be opened.
std::size_t readSmallFile(const char* path, char* out, std::size_t capacity);

// The current thread's kernel id.
int currentThreadId();

}  // namespace quorvel::crash
