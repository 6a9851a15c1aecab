#pragma once

#include <cstdint>
#include <cstring>
#include <map>
#include <optional>
#include <string>

namespace quorvel::testing {

// Reads a minidump by the byte offsets of the published format, apart from
// the writer's own record definitions.
class MinidumpReader {
public:
    struct Stream {
        std::uint32_t size = 0;
        std::uint32_t rva = 0;
    };

    explicit MinidumpReader(std::string bytes) : bytes_(std::move(bytes)) {}

    // Checks the header and that every directory entry lies inside the file;
    // the first problem found, or empty.
    std::string validate() {
        if (bytes_.size() < 32) return "shorter than a header";
        if (u32(0) != 0x504d444d) return "no MDMP signature";
        if ((u32(4) & 0xffff) != 0xa793) return "wrong version";
        const std::uint32_t count = u32(8);
        const std::uint32_t directory = u32(12);
        if (std::uint64_t{directory} + std::uint64_t{count} * 12 > bytes_.size()) {
            return "directory outside the file";
        }
        for (std::uint32_t i = 0; i < count; ++i) {
            const std::uint32_t at = directory + i * 12;
            Stream stream{u32(at + 4), u32(at + 8)};
            if (std::uint64_t{stream.rva} + stream.size > bytes_.size()) {
                return "stream " + std::to_string(u32(at)) + " outside the file";
            }
            if (streams_.count(u32(at)) != 0) return "stream " + std::to_string(u32(at)) + " twice";
            streams_[u32(at)] = stream;
        }
        return {};
    }

    const std::map<std::uint32_t, Stream>& streams() const { return streams_; }
    std::optional<Stream> stream(std::uint32_t type) const {
        auto it = streams_.find(type);
        if (it == streams_.end()) return std::nullopt;
        return it->second;
    }
    std::string streamBytes(std::uint32_t type) const {
        const auto found = stream(type);
        return found ? bytes_.substr(found->rva, found->size) : std::string();
    }

    std::uint16_t u16(std::uint64_t at) const { return read<std::uint16_t>(at); }
    std::uint32_t u32(std::uint64_t at) const { return read<std::uint32_t>(at); }
    std::uint64_t u64(std::uint64_t at) const { return read<std::uint64_t>(at); }
    std::size_t size() const { return bytes_.size(); }

    // A length-prefixed UTF-16 string of ASCII characters.
    std::string asciiString(std::uint32_t rva) const {
        const std::uint32_t length = u32(rva);
        std::string text;
        for (std::uint32_t i = 0; i + 1 < length; i += 2)
            text += static_cast<char>(u16(rva + 4 + i));
        return text;
    }

private:
    template <typename T>
    T read(std::uint64_t at) const {
        T value{};
        if (at + sizeof(T) <= bytes_.size()) std::memcpy(&value, bytes_.data() + at, sizeof(T));
        return value;
    }

    std::string bytes_;
    std::map<std::uint32_t, Stream> streams_;
};

}  // namespace quorvel::testing
