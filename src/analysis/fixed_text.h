#pragma once

#include <cstddef>
#include <string_view>

namespace quorvel {

// A text copied from a page: at most Capacity - 1 bytes, always zero
// terminated. Bytes appended beyond that are dropped, so copying never
// allocates.
template <std::size_t Capacity>
class FixedText {
public:
    static constexpr std::size_t kMaxLength = Capacity - 1;

    void clear() {
        length_ = 0;
        bytes_[0] = '\0';
    }
    // Appends one byte when there is room; returns whether it was stored.
    bool push(char byte) {
        if (length_ >= kMaxLength) return false;
        bytes_[length_++] = byte;
        bytes_[length_] = '\0';
        return true;
    }
    // Replaces the content with at most kMaxLength bytes of text.
    void assign(std::string_view text) {
        length_ = text.size() < kMaxLength ? text.size() : kMaxLength;
        for (std::size_t i = 0; i < length_; ++i) bytes_[i] = text[i];
        bytes_[length_] = '\0';
    }
    std::string_view view() const { return {bytes_, length_}; }
    const char* c_str() const { return bytes_; }
    std::size_t size() const { return length_; }
    bool empty() const { return length_ == 0; }

private:
    char bytes_[Capacity] = {};
    std::size_t length_ = 0;
};

// Texts of the page scan record hold at most 2047 bytes.
using ScanText = FixedText<2048>;

}  // namespace quorvel
