// Scans every input of the public html5lib test data (about 8,700 pages of
// odd, broken and hostile markup) and checks that each scan ends with a sane
// record. The data lives outside the repository and is read at test time.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "../../fuzz/html5lib_inputs.h"
#include "../../fuzz/scan_invariants.h"
#include "analysis/page_scan.h"
#include "shared_data.h"

namespace quorvel {
namespace {

struct ScanSetup {
    const char* label;
    const char* keyword;
    bool caseSensitive;
    bool finalS;
    std::uint16_t minWordLength;
    const char* stopWords;
};

const ScanSetup kSetups[] = {
    {"one letter, any case", "a", false, false, 0, "a,an,and,the,for,if"},
    {"phrase, case sensitive, final s", "hiking boots", true, true, 3, "a,an,and,the,for,if"},
    {"entity-like keyword, short words skipped", "amp lt", false, false, 4, "amp,lt,gt,quot"},
};

std::filesystem::path corpusFolder() {
    return testing::html5libCorpusFolder();
}

TEST(Html5libCorpus, EveryInputScansToASaneRecord) {
    QUORVEL_NEEDS_SHARED_FOLDER(corpusFolder());

    const auto corpus = html5lib::readInputs(corpusFolder());
    for (const std::string& problem : corpus.problems)
        ADD_FAILURE() << problem;
    ASSERT_GT(corpus.inputs.size(), 8000u);

    std::size_t failures = 0;
    for (const ScanSetup& setup : kSetups) {
        SCOPED_TRACE(setup.label);
        for (const auto& input : corpus.inputs) {
            // A fresh record per page, so that its buffer is exactly the
            // page's size and the sanitizer build sees any read past it.
            auto scan = std::make_unique<PageScan>();
            scan->keywordMatcher().setFinalSRule(setup.finalS);
            ASSERT_TRUE(scan->keywordMatcher().loadPhrase(setup.keyword, setup.caseSensitive));
            scan->loadBytes(input.bytes);
            scan->stopWordList = setup.stopWords;
            scan->setMinWordLength(setup.minWordLength);
            scan->scan();

            const auto problems = invariants::violations(*scan, input.bytes.size());
            for (const std::string& problem : problems)
                ADD_FAILURE() << input.origin << ": " << problem;
            failures += problems.empty() ? 0 : 1;
            ASSERT_LT(failures, 20u) << "too many broken inputs; stopping";
        }
    }
}

// The extraction itself: the escapes of doubleEscaped tests and the #data
// blocks must come out byte for byte.
TEST(Html5libCorpus, DecodesDoubleEscapedInputs) {
    const struct {
        const char* label;
        std::string escaped;
        std::string expected;
    } cases[] = {
        {"plain text", "a<b", "a<b"},
        {"NUL", "\\u0000", std::string(1, '\0')},
        {"two-byte", "\\u00e9", "\xC3\xA9"},
        {"surrogate pair", "\\uD83D\\uDE00", "\xF0\x9F\x98\x80"},
        {"lone high surrogate as WTF-8", "x\\uD800y", "x\xED\xA0\x80y"},
        {"lone low surrogate as WTF-8", "\\uDFFF", "\xED\xBF\xBF"},
        {"short escape kept", "\\u12", "\\u12"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(html5lib::decodeEscapes(c.escaped), c.expected);
    }
}

}  // namespace
}  // namespace quorvel
