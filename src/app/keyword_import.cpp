#include "app/keyword_import.h"

namespace quorvel::app {

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

bool isBlankOrLineEnd(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isBlankOrLineEnd(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlankOrLineEnd(text.back()))
        text.remove_suffix(1);
    return text;
}

}  // namespace

std::vector<std::string> keywordLines(std::string_view content) {
    if (content.substr(0, kUtf8Mark.size()) == kUtf8Mark) content.remove_prefix(kUtf8Mark.size());
    std::vector<std::string> keywords;
    while (!content.empty()) {
        const std::size_t end = content.find('\n');
        const std::string_view line = content.substr(0, end);
        content.remove_prefix(end == std::string_view::npos ? content.size() : end + 1);
        const std::string_view keyword = trimmed(line);
        if (!keyword.empty()) keywords.emplace_back(keyword);
    }
    return keywords;
}

}  // namespace quorvel::app
