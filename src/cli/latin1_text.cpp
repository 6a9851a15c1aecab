#include "cli/latin1_text.h"

namespace quorvel {

std::string latin1ToUtf8(std::string_view bytes) {
    std::string text;
    text.reserve(bytes.size());
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            text += c;
        } else {
            text += static_cast<char>(0xC0 | (byte >> 6));
            text += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return text;
}

namespace {

void appendJson(std::string& out, std::string_view bytes, bool asUtf8) {
    static constexpr char kHex[] = "0123456789abcdef";
    out += '"';
    // Runs of printable ASCII, most of every report, are copied whole.
    auto plain = [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte >= 0x20 && byte < 0x80 && c != '"' && c != '\\';
    };
    for (std::size_t at = 0; at < bytes.size(); ++at) {
        std::size_t end = at;
        while (end < bytes.size() && plain(bytes[end]))
            ++end;
        out.append(bytes.data() + at, end - at);
        if (end == bytes.size()) break;
        at = end;
        const char c = bytes[at];
        const auto byte = static_cast<unsigned char>(c);
        switch (byte) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\b':
                out += "\\b";
                break;
            case '\f':
                out += "\\f";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (byte < 0x20) {
                    out += "\\u00";
                    out += kHex[byte >> 4];
                    out += kHex[byte & 0x0F];
                } else if (byte < 0x80 || asUtf8) {
                    out += c;
                } else {
                    out += static_cast<char>(0xC0 | (byte >> 6));
                    out += static_cast<char>(0x80 | (byte & 0x3F));
                }
        }
    }
    out += '"';
}

}  // namespace

void appendJsonString(std::string& out, std::string_view bytes) {
    appendJson(out, bytes, false);
}

void appendJsonText(std::string& out, std::string_view bytes) {
    appendJson(out, bytes, isValidUtf8(bytes));
}

}  // namespace quorvel
