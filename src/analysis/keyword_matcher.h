#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace quorvel {

// A keyword phrase (or a word list such as the stop words) split into at most
// 128 words, and the test of whether it starts at a given byte of a text.
// The matcher owns a private 2048-byte copy of what was loaded; loading never
// allocates.
class KeywordMatcher {
public:
    static constexpr std::size_t kCapacity = 2048;  // including the terminating zero
    static constexpr std::size_t kMaxWords = 128;

    // The final-s rule: a word's trailing s/S is dropped when loading, and an
    // s/S after a matched word does not refuse the match. Set it before loading.
    void setFinalSRule(bool on);
    bool finalSRule() const;

    // Splits the phrase at blanks. Returns false, keeping the earlier words,
    // when the phrase is longer than 2047 bytes.
    bool loadPhrase(std::string_view phrase, bool caseSensitive);
    // Splits the list at every byte that is not an ASCII letter or digit.
    bool loadList(std::string_view list, bool caseSensitive);

    // True when the phrase (for a list: one of its words) starts at `pos`.
    // Never reads at or beyond `end`. Sets lastMatchIndex and lastMatchOffset.
    // With fewer than two words each word is tried alone and the offset is 0;
    // with two or more the words must follow one another, separated by any
    // bytes that are not letters or digits, and the offset is the length of
    // the last word's span.
    bool match(const char* pos, const char* end) {
        if (pos >= end || !mayStartWith_[static_cast<unsigned char>(*pos)]) return false;
        return wordCount_ < 2 ? matchSingleWord(pos, end) : matchPhrase(pos, end);
    }

    // False when no match can begin with byte `c`: match() would refuse at once.
    bool mayStartWith(char c) const { return mayStartWith_[static_cast<unsigned char>(c)]; }

    // Matches tried at word starts only. When `firstOffset` is given it
    // receives the offset of the first match from the start of `text` (it is
    // left alone when nothing matches).
    std::uint16_t countMatches(std::string_view text, std::uint16_t* firstOffset = nullptr);
    // For a word list: matches at word starts; afterwards lastMatchIndex names
    // the word of the last match and lastMatchOffset its offset in `text`.
    std::uint16_t countListMatches(std::string_view text);

    // Sum of the lengths of the loaded words (after the final-s rule).
    std::uint16_t keywordLetterCount() const;

    std::size_t wordCount() const;
    std::string_view word(std::size_t index) const;
    bool caseSensitive() const;
    int lastMatchIndex() const;
    std::uint32_t lastMatchOffset() const;

private:
    enum class Split { AtBlanks, AtNonWordBytes };
    bool load(std::string_view text, bool caseSensitive, Split split);
    void storeWord(char* begin, char* end);
    bool wordEqualsAt(std::size_t index, const char* pos, const char* end) const;
    bool matchSingleWord(const char* pos, const char* end);
    bool matchPhrase(const char* pos, const char* end);

    char buffer_[kCapacity] = {};
    const char* words_[kMaxWords] = {};
    std::uint16_t wordLengths_[kMaxWords] = {};
    std::uint32_t wordCount_ = 0;
    bool caseSensitive_ = true;
    bool finalSRule_ = false;
    int lastMatchIndex_ = -1;
    std::uint32_t lastMatchOffset_ = 0;
    // Bytes at which a match can begin: the first bytes of the words (for a
    // phrase, of its first word), in both cases when matching ignores case.
    std::array<bool, 256> mayStartWith_{};
};

}  // namespace quorvel
