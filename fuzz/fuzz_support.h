#pragma once

// Helpers shared by the fuzz targets. Checks abort with a message instead of
// using assert, so they stay active in release builds.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#define FUZZ_CHECK(condition, ...)                                                             \
    do {                                                                                       \
        if (!(condition)) {                                                                    \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
            std::fprintf(stderr, __VA_ARGS__);                                                 \
            std::fputc('\n', stderr);                                                          \
            std::abort();                                                                      \
        }                                                                                      \
    } while (false)

namespace quorvel::fuzz {

// Reads the input from the front: single bytes, then pieces up to a separator.
class InputReader {
public:
    InputReader(const std::uint8_t* data, std::size_t size)
        : rest_(reinterpret_cast<const char*>(data), size) {}

    // The next byte, or 0 when the input is used up.
    std::uint8_t byte() {
        if (rest_.empty()) return 0;
        const auto value = static_cast<std::uint8_t>(rest_.front());
        rest_.remove_prefix(1);
        return value;
    }
    // The bytes up to the next separator (which is consumed), or all the rest.
    std::string_view until(char separator) {
        const std::size_t at = rest_.find(separator);
        const std::string_view piece = rest_.substr(0, at);
        rest_.remove_prefix(at == std::string_view::npos ? rest_.size() : at + 1);
        return piece;
    }
    std::string_view rest() const { return rest_; }

private:
    std::string_view rest_;
};

}  // namespace quorvel::fuzz
