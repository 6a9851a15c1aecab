#include <algorithm>

#include "analysis/entities.h"
#include "analysis/html_scanner.h"

namespace quorvel {

namespace {

constexpr std::size_t kMaxWordBytes = 1024;

bool endsWordCopy(char c) {
    return c == kBlank || c == kTab || c == kTagOpen || c == kCr || c == kLf;
}

bool sameWord(std::string_view a, std::string_view b, bool caseSensitive) {
    return caseSensitive ? a == b : equalsNoCase(a, b);
}

}  // namespace

// The word that began at state_.wordStart ends before `wordEnd`: count it and
// compare it with the word counted before it.
void HtmlScanner::completeWord(const char* wordEnd) {
    char word[kMaxWordBytes];
    std::size_t length = 0;
    for (const char* q = state_.wordStart; q < wordEnd && length < kMaxWordBytes;) {
        if (const std::size_t entity = entityLength(q, wordEnd)) {
            q += entity;  // the letters on both sides of an entity join
            continue;
        }
        if (endsWordCopy(*q)) break;
        word[length++] = *q++;
    }
    if (length < minWordLength_) return;  // too short to count or to compare

    if (state_.insideHeading) {
        ++facts_.headingWordCount;
    } else if (state_.insideLink) {
        ++facts_.linkWordCount;
    } else {
        ++facts_.bodyWordCount;
    }

    const std::string_view text(word, length);
    const bool hasDigit = std::any_of(text.begin(), text.end(), isAsciiDigit);
    if (!hasDigit && sameWord(text, state_.previousWord, keyword_.caseSensitive())) {
        ++facts_.repeatedWordCount;
        if (!state_.repeatedWordSeen) {
            facts_.repeatedWordPos = pos(state_.wordStart);
            state_.repeatedWordSeen = true;
        }
        if (!facts_.repeatedWords.empty()) facts_.repeatedWords += ',';
        facts_.repeatedWords += text;
    }
    state_.previousWord.assign(text);
}

}  // namespace quorvel
