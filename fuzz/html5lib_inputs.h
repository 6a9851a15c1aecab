#pragma once

// The inputs of the html5lib test data (tokenizer JSON and the #data blocks
// of the .dat files), read at run time from a copy of that data. Used by the
// bad-input corpus test and to build fuzz seeds.

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel::html5lib {

struct Input {
    std::string origin;  // file and test number, for messages
    std::string bytes;
};

struct ReadResult {
    std::vector<Input> inputs;
    std::vector<std::string> problems;  // files that could not be read or parsed
};

// Appends a code point in UTF-8; a lone surrogate is written the same way
// (WTF-8), which gives a byte sequence that is invalid UTF-8, as wanted.
inline void appendUtf8(std::string& out, std::uint32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// Reads the four hex digits of a \uHHHH escape at text[at]; -1 when there is none.
inline long escapedUnit(std::string_view text, std::size_t at) {
    if (at + 6 > text.size() || text[at] != '\\' || text[at + 1] != 'u') return -1;
    long value = 0;
    for (std::size_t i = at + 2; i < at + 6; ++i) {
        const char c = text[i];
        const int digit = c >= '0' && c <= '9'   ? c - '0'
                          : c >= 'a' && c <= 'f' ? c - 'a' + 10
                          : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                 : -1;
        if (digit < 0) return -1;
        value = value * 16 + digit;
    }
    return value;
}

// Decodes the \uHHHH escapes that a doubleEscaped test keeps in its strings;
// a surrogate pair becomes one code point.
inline std::string decodeEscapes(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        const long unit = escapedUnit(text, i);
        if (unit < 0) {
            out += text[i++];
            continue;
        }
        i += 6;
        if (unit >= 0xD800 && unit <= 0xDBFF) {
            const long low = escapedUnit(text, i);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                i += 6;
                appendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
                continue;
            }
        }
        appendUtf8(out, static_cast<std::uint32_t>(unit));
    }
    return out;
}

inline bool readFile(const std::filesystem::path& path, std::string& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

inline void readTokenizerFile(const std::filesystem::path& path, ReadResult& result) {
    std::string text;
    if (!readFile(path, text)) {
        result.problems.push_back("cannot read " + path.string());
        return;
    }
    const nlohmann::json document = nlohmann::json::parse(text, nullptr, false);
    if (document.is_discarded() || !document.is_object()) {
        result.problems.push_back("cannot parse " + path.string());
        return;
    }
    for (const auto& [group, tests] : document.items()) {
        if (!tests.is_array()) continue;
        std::size_t number = 0;
        for (const auto& test : tests) {
            ++number;
            if (!test.is_object() || !test.contains("input") || !test["input"].is_string())
                continue;
            std::string input = test["input"].get<std::string>();
            if (test.value("doubleEscaped", false)) input = decodeEscapes(input);
            result.inputs.push_back(
                {path.filename().string() + " " + group + " #" + std::to_string(number),
                 std::move(input)});
        }
    }
}

// A #data block is the lines after "#data" up to the next line starting with '#'.
inline void readDataFile(const std::filesystem::path& path, ReadResult& result) {
    std::string text;
    if (!readFile(path, text)) {
        result.problems.push_back("cannot read " + path.string());
        return;
    }
    std::vector<std::string_view> lines;
    for (std::size_t start = 0; start <= text.size();) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        lines.push_back(std::string_view(text).substr(start, end - start));
        start = end + 1;
    }
    std::size_t number = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i] != "#data") continue;
        std::string input;
        std::size_t j = i + 1;
        for (; j < lines.size() && (lines[j].empty() || lines[j].front() != '#'); ++j) {
            if (j > i + 1) input += '\n';
            input += lines[j];
        }
        result.inputs.push_back(
            {path.filename().string() + " #data " + std::to_string(++number), std::move(input)});
        i = j - 1;
    }
}

// Every input below root: tokenizer/*.test, and the .dat files under
// tree-construction and encoding. Files are taken in path order.
inline ReadResult readInputs(const std::filesystem::path& root) {
    namespace fs = std::filesystem;
    ReadResult result;
    std::vector<fs::path> files;
    std::error_code error;
    for (const char* folder : {"tokenizer", "tree-construction", "encoding"}) {
        if (!fs::is_directory(root / folder, error)) continue;
        for (const auto& entry : fs::recursive_directory_iterator(root / folder, error))
            if (entry.is_regular_file()) files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    for (const fs::path& file : files) {
        if (file.extension() == ".test")
            readTokenizerFile(file, result);
        else if (file.extension() == ".dat")
            readDataFile(file, result);
    }
    return result;
}

}  // namespace quorvel::html5lib
