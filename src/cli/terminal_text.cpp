#include "cli/terminal_text.h"

namespace quorvel {

namespace {

constexpr unsigned char kDel = 0x7F;
constexpr unsigned char kC1Lead = 0xC2;  // U+0080 to U+00BF in UTF-8

bool isControlByte(unsigned char byte) {
    return byte < 0x20 || byte == kDel;
}

// The second byte of a UTF-8 C1 control after its lead byte 0xC2.
bool isC1Tail(unsigned char byte) {
    return byte >= 0x80 && byte <= 0x9F;
}

void appendHexEscape(std::string& out, unsigned char byte) {
    static constexpr char kHex[] = "0123456789abcdef";
    out += "\\x";
    out += kHex[byte >> 4];
    out += kHex[byte & 0x0F];
}

}  // namespace

bool hasControls(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (isControlByte(byte)) return true;
        if (byte == kC1Lead && i + 1 < text.size() &&
            isC1Tail(static_cast<unsigned char>(text[i + 1]))) {
            return true;
        }
    }
    return false;
}

std::string escapeControls(std::string_view text) {
    if (!hasControls(text)) return std::string(text);
    std::string out;
    out.reserve(text.size() + 16);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte == kC1Lead && i + 1 < text.size() &&
            isC1Tail(static_cast<unsigned char>(text[i + 1]))) {
            appendHexEscape(out, byte);
            appendHexEscape(out, static_cast<unsigned char>(text[++i]));
        } else if (!isControlByte(byte)) {
            out += text[i];
        } else if (byte == '\n') {
            out += "\\n";
        } else if (byte == '\r') {
            out += "\\r";
        } else if (byte == '\t') {
            out += "\\t";
        } else {
            appendHexEscape(out, byte);
        }
    }
    return out;
}

}  // namespace quorvel
