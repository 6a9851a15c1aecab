#include "analysis/keyword_matcher.h"

#include <cstring>

#include "analysis/char_class.h"

namespace quorvel {

namespace {

bool isFinalS(char c) {
    return c == 's' || c == 'S';
}

}  // namespace

void KeywordMatcher::setFinalSRule(bool on) {
    finalSRule_ = on;
}
bool KeywordMatcher::finalSRule() const {
    return finalSRule_;
}

bool KeywordMatcher::loadPhrase(std::string_view phrase, bool caseSensitive) {
    return load(phrase, caseSensitive, Split::AtBlanks);
}

bool KeywordMatcher::loadList(std::string_view list, bool caseSensitive) {
    return load(list, caseSensitive, Split::AtNonWordBytes);
}

bool KeywordMatcher::load(std::string_view text, bool caseSensitive, Split split) {
    // The text is a C string: a zero byte ends it.
    text = text.substr(0, text.find(kZero));
    if (text.size() >= kCapacity) return false;
    if (!text.empty()) std::memcpy(buffer_, text.data(), text.size());  // data() may be null
    buffer_[text.size()] = kZero;
    caseSensitive_ = caseSensitive;
    wordCount_ = 0;
    mayStartWith_.fill(false);

    char* p = buffer_;
    while (*p == kBlank)
        ++p;
    while (*p != kZero) {
        char* begin = p;
        if (split == Split::AtBlanks) {
            while (*p != kZero && *p != kBlank)
                ++p;
        } else {
            while (*p != kZero && isWordByte(*p))
                ++p;
        }
        char* end = p;
        if (*p != kZero) *p++ = kZero;  // the separator ends the word in place
        storeWord(begin, end);
        while (*p == kBlank)
            ++p;
    }

    // A phrase can start only where its first word does; a list where any word does.
    const std::size_t starters = wordCount_ < 2 ? wordCount_ : 1;
    for (std::size_t i = 0; i < starters; ++i) {
        const char first = words_[i][0];
        mayStartWith_[static_cast<unsigned char>(first)] = true;
        if (!caseSensitive_ && isAsciiLetter(first)) {
            mayStartWith_[static_cast<unsigned char>(toAsciiUpper(first))] = true;
            mayStartWith_[static_cast<unsigned char>(toAsciiUpper(first) + ('a' - 'A'))] = true;
        }
    }
    return true;
}

void KeywordMatcher::storeWord(char* begin, char* end) {
    // The final-s rule drops a trailing s, but never empties a word: a word
    // of nothing would match at every byte that is not a letter or digit.
    if (finalSRule_ && end - begin > 1 && isFinalS(end[-1])) *--end = kZero;
    if (end == begin || wordCount_ >= kMaxWords) return;
    words_[wordCount_] = begin;
    wordLengths_[wordCount_] = static_cast<std::uint16_t>(end - begin);
    ++wordCount_;
}

bool KeywordMatcher::wordEqualsAt(std::size_t index, const char* pos, const char* end) const {
    const std::size_t length = wordLengths_[index];
    if (static_cast<std::size_t>(end - pos) < length) return false;
    const char* word = words_[index];
    if (caseSensitive_) return std::memcmp(word, pos, length) == 0;
    for (std::size_t i = 0; i < length; ++i) {
        if (!equalsIgnoringAsciiCase(word[i], pos[i])) return false;
    }
    return true;
}

bool KeywordMatcher::matchSingleWord(const char* pos, const char* end) {
    for (std::size_t i = 0; i < wordCount_; ++i) {
        if (!wordEqualsAt(i, pos, end)) continue;
        const char* after = pos + wordLengths_[i];
        // The word must end here; a following s is taken when the rule is on.
        if (after < end && isWordByte(*after) && !(finalSRule_ && isFinalS(*after))) continue;
        lastMatchIndex_ = static_cast<int>(i);
        lastMatchOffset_ = 0;
        return true;
    }
    return false;
}

bool KeywordMatcher::matchPhrase(const char* pos, const char* end) {
    const char* t = pos;
    for (std::size_t i = 0; i < wordCount_; ++i) {
        const char* word = words_[i];
        const std::size_t length = wordLengths_[i];
        const char* spanStart = t;
        for (std::size_t k = 0; k < length; ++k) {
            // Line breaks and tabs inside the text are passed over.
            if (k > 0) {
                while (t < end && isTabCrLf(*t))
                    ++t;
            }
            if (t >= end) return false;
            if (caseSensitive_ ? *t != word[k] : !equalsIgnoringAsciiCase(*t, word[k]))
                return false;
            ++t;
        }
        if (t < end && isWordByte(*t)) {
            if (!(finalSRule_ && isFinalS(*t))) return false;
            ++t;
        }
        lastMatchIndex_ = static_cast<int>(i);
        lastMatchOffset_ = static_cast<std::uint32_t>(t - spanStart);
        // Blanks, punctuation and line breaks may stand between the words.
        while (t < end && *t != kZero && !isWordByte(*t))
            ++t;
    }
    return wordCount_ > 0;
}

std::uint16_t KeywordMatcher::countMatches(std::string_view text, std::uint16_t* firstOffset) {
    lastMatchIndex_ = -1;
    lastMatchOffset_ = 0;
    const char* begin = text.data();
    const char* end = begin + text.size();
    std::uint16_t count = 0;
    bool first = true;
    for (const char* p = begin; p < end;) {
        while (p < end && !isWordByte(*p))
            ++p;
        if (p >= end) break;
        if (match(p, end)) {
            ++count;
            if (first && firstOffset != nullptr)
                *firstOffset = static_cast<std::uint16_t>(p - begin);
            first = false;
        }
        while (p < end && isWordByte(*p))
            ++p;
    }
    return count;
}

std::uint16_t KeywordMatcher::countListMatches(std::string_view text) {
    lastMatchIndex_ = -1;
    lastMatchOffset_ = 0;
    const char* begin = text.data();
    const char* end = begin + text.size();
    std::uint16_t count = 0;
    std::uint32_t lastOffset = 0;
    for (const char* p = begin; p < end;) {
        while (p < end && !isWordByte(*p))
            ++p;
        if (p >= end) break;
        if (matchSingleWord(p, end)) {
            ++count;
            lastOffset = static_cast<std::uint32_t>(p - begin);
        }
        while (p < end && isWordByte(*p))
            ++p;
    }
    lastMatchOffset_ = lastOffset;
    return count;
}

std::uint16_t KeywordMatcher::keywordLetterCount() const {
    std::uint16_t letters = 0;
    for (std::size_t i = 0; i < wordCount_; ++i)
        letters += wordLengths_[i];
    return letters;
}

std::size_t KeywordMatcher::wordCount() const {
    return wordCount_;
}

std::string_view KeywordMatcher::word(std::size_t index) const {
    if (index >= wordCount_) return {};
    return {words_[index], wordLengths_[index]};
}

bool KeywordMatcher::caseSensitive() const {
    return caseSensitive_;
}
int KeywordMatcher::lastMatchIndex() const {
    return lastMatchIndex_;
}
std::uint32_t KeywordMatcher::lastMatchOffset() const {
    return lastMatchOffset_;
}

}  // namespace quorvel
