#include "report/html_colorizer.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace quorvel {

namespace {

// Known tags; a trailing '*' marks a tag that has no closing form.
constexpr std::string_view kTagNames[] = {
    "a",        "abbr",     "acronym",  "address",    "applet",   "area*",    "b",      "base*",
    "basefont", "bdo",      "big",      "blockquote", "body",     "br*",      "button", "caption",
    "center",   "cite",     "code",     "col*",       "colgroup", "dd*",      "del",    "dfn",
    "dir",      "div",      "dl",       "dt",         "em",       "fieldset", "font",   "form",
    "frame*",   "frameset", "h1",       "h2",         "h3",       "h4",       "h5",     "h6",
    "head",     "hr*",      "html",     "i",          "iframe",   "img*",     "input*", "ins",
    "isindex*", "kbd",      "label",    "legend",     "li",       "link*",    "map",    "menu",
    "meta*",    "noframes", "noscript", "object",     "ol",       "optgroup", "option", "p",
    "param*",   "pre",      "q",        "s",          "samp",     "script",   "select", "small",
    "span",     "strike",   "strong",   "style",      "sub",      "sup",      "table",  "tbody",
    "td",       "textarea", "tfoot",    "th",         "thead",    "title",    "tr",     "tt",
    "u",        "ul",       "var",
};
constexpr char kNoClosingForm = '*';

constexpr unsigned char kDoubleQuote = '"';
constexpr unsigned char kSingleQuote = '\'';
constexpr unsigned char kTagOpen = '<';
constexpr unsigned char kTagClose = '>';
constexpr unsigned char kDeclarationMark = '!';
constexpr unsigned char kDash = '-';

std::string toUpper(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return upper;
}

// The keyword list with, per first byte, the range of keywords that start with it.
class KeywordTable {
public:
    KeywordTable() {
        std::vector<std::string> lower;
        for (std::string_view entry : kTagNames) {
            const bool hasClosingForm = entry.back() != kNoClosingForm;
            const std::string_view name =
                hasClosingForm ? entry : entry.substr(0, entry.size() - 1);
            lower.emplace_back(name);
            if (hasClosingForm) {
                std::string closing = "/";
                closing += name;
                lower.push_back(std::move(closing));
            }
        }
        for (const std::string& name : lower)
            keywords_.push_back(toUpper(name));
        keywords_.insert(keywords_.end(), lower.begin(), lower.end());
        keywords_.push_back("csscriptdict");
        keywords_.push_back("/csscriptdict");
        // std::string orders by unsigned byte value.
        std::sort(keywords_.begin(), keywords_.end());
        keywords_.erase(std::unique(keywords_.begin(), keywords_.end()), keywords_.end());

        for (std::size_t k = 0; k < keywords_.size(); ++k) {
            Range& range = byFirstByte_[static_cast<unsigned char>(keywords_[k][0])];
            if (range.begin == range.end) range.begin = static_cast<std::uint16_t>(k);
            range.end = static_cast<std::uint16_t>(k + 1);
        }
        for (unsigned char c : std::string_view("\0\t\n\r &()*;<=>[]{}", 18))
            delimiter_[c] = true;
    }

    const std::vector<std::string>& keywords() const { return keywords_; }
    bool isDelimiter(unsigned char c) const { return delimiter_[c]; }

    // Length of the first keyword (in ascending order) that stands at `at`
    // between delimiters; 0 when there is none.
    std::size_t match(std::string_view text, std::size_t at) const {
        const Range range = byFirstByte_[static_cast<unsigned char>(text[at])];
        if (range.begin == range.end) return 0;
        if (at > 0 && !isDelimiter(static_cast<unsigned char>(text[at - 1]))) return 0;
        const std::size_t remaining = text.size() - at;
        for (std::size_t k = range.begin; k < range.end; ++k) {
            const std::string& keyword = keywords_[k];
            if (keyword.size() > remaining) continue;
            if (std::memcmp(keyword.data(), text.data() + at, keyword.size()) != 0) continue;
            const std::size_t after = at + keyword.size();
            if (after == text.size() || isDelimiter(static_cast<unsigned char>(text[after]))) {
                return keyword.size();
            }
        }
        return 0;
    }

private:
    struct Range {
        std::uint16_t begin = 0;
        std::uint16_t end = 0;
    };
    std::vector<std::string> keywords_;
    std::array<Range, 256> byFirstByte_{};
    std::array<bool, 256> delimiter_{};
};

const KeywordTable& keywordTable() {
    static const KeywordTable table;
    return table;
}

enum class State { Text, DoubleQuoted, SingleQuoted, Declaration };

}  // namespace

RgbColour colourOf(ColourKind kind) {
    switch (kind) {
        case ColourKind::TagName:
            return {0, 0, 220};
        case ColourKind::QuotedValue:
            return {255, 0, 0};
        case ColourKind::DeclarationOrComment:
            return {0, 180, 0};
    }
    return kDefaultCodeColour;
}

const std::vector<std::string>& htmlTagKeywords() {
    return keywordTable().keywords();
}

std::vector<ColourSpan> colorizeHtml(std::string_view text) {
    const KeywordTable& keywords = keywordTable();
    std::vector<ColourSpan> spans;
    State state = State::Text;
    std::size_t start = 0;
    const std::size_t size = text.size();
    for (std::size_t i = 0; i < size; ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        switch (state) {
            case State::Text:
                if (c == kDoubleQuote) {
                    start = i;
                    state = State::DoubleQuoted;
                } else if (c == kSingleQuote) {
                    start = i;
                    state = State::SingleQuoted;
                } else if (c == kTagOpen && i + 1 < size &&
                           static_cast<unsigned char>(text[i + 1]) == kDeclarationMark) {
                    start = i;
                    ++i;
                    state = State::Declaration;
                } else if (const std::size_t length = keywords.match(text, i); length > 0) {
                    spans.push_back({i, i + length, ColourKind::TagName});
                    i += length - 1;
                }
                break;
            case State::DoubleQuoted:
                if (c == kDoubleQuote) {
                    spans.push_back({start, i + 1, ColourKind::QuotedValue});
                    state = State::Text;
                }
                break;
            case State::SingleQuoted:
                if (c == kSingleQuote) {
                    spans.push_back({start, i + 1, ColourKind::QuotedValue});
                    state = State::Text;
                } else if (c == kTagOpen || c == kTagClose) {
                    state = State::Text;
                }
                break;
            case State::Declaration:
                if (c == kDash || c == kTagClose) {
                    while (i + 1 < size && static_cast<unsigned char>(text[i + 1]) == kDash)
                        ++i;
                    bool closed = static_cast<unsigned char>(text[i]) == kTagClose;
                    if (!closed && i + 1 < size &&
                        static_cast<unsigned char>(text[i + 1]) == kTagClose) {
                        ++i;
                        closed = true;
                    }
                    if (closed) {
                        spans.push_back({start, i + 1, ColourKind::DeclarationOrComment});
                        state = State::Text;
                    }
                }
                break;
        }
    }
    if (state == State::DoubleQuoted || state == State::SingleQuoted) {
        spans.push_back({start, size, ColourKind::QuotedValue});
    } else if (state == State::Declaration) {
        spans.push_back({start, size, ColourKind::DeclarationOrComment});
    }
    return spans;
}

}  // namespace quorvel
