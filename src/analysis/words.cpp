#include <algorithm>

#include "analysis/entities.h"
#include "analysis/html_scanner.h"

namespace quorvel {

namespace {

constexpr std::size_t kMaxWordBytes = ScannerState::kMaxWordBytes;

bool endsWordCopy(char c) {
    return c == kBlank || c == kTab || c == kTagOpen || c == kCr || c == kLf;
}

bool sameWord(std::string_view a, std::string_view b, bool caseSensitive) {
    return caseSensitive ? a == b : equalsIgnoringAsciiCase(a, b);
}

}  // namespace

// The word that began at state_.wordStart ends before `wordEnd`: count it and
// compare it with the word counted before it.
void HtmlScanner::completeWord(const char* wordEnd) {
    // A word is letters and digits, and any entities between them, which are
    // left out of its text.
    const char* start = state_.wordStart;
    const auto span = static_cast<std::size_t>(wordEnd - start);
    char* const copy = state_.wordCopies[state_.freeWordCopy];
    std::string_view text;
    if (!state_.wordHasEntity) {
        text = std::string_view(start, std::min(span, kMaxWordBytes));
    } else {
        std::size_t length = 0;
        for (const char* q = start; q < wordEnd && length < kMaxWordBytes;) {
            if (const std::size_t entity = entityLength(q, wordEnd)) {
                q += entity;  // the letters on both sides of an entity join
                continue;
            }
            if (endsWordCopy(*q)) break;
            copy[length++] = *q++;
        }
        text = std::string_view(copy, length);
    }
    const std::size_t length = text.size();
    if (length < minWordLength_) return;  // too short to count or to compare

    if (state_.insideHeading) {
        ++facts_.headingWordCount;
    } else if (state_.insideLink) {
        ++facts_.linkWordCount;
    } else {
        ++facts_.bodyWordCount;
    }

    if (sameWord(text, state_.previousWord, caseSensitiveWords_) &&
        std::none_of(text.begin(), text.end(), isAsciiDigit)) {
        ++facts_.repeatedWordCount;
        if (!state_.repeatedWordSeen) {
            facts_.repeatedWordPos = pos(state_.wordStart);
            state_.repeatedWordSeen = true;
        }
        if (!facts_.repeatedWords.empty()) facts_.repeatedWords += ',';
        facts_.repeatedWords += text;
    }
    state_.previousWord = text;
    if (text.data() == copy) state_.freeWordCopy ^= 1;
}

}  // namespace quorvel
