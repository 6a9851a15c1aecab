// Fuzzes the page scanner. Input layout: one options byte (bit 0 case
// sensitive, bit 1 final-s rule, bit 2 use the keyword as the stop-word list
// too), one byte whose low three bits are minWordLength, the keyword phrase
// up to a NUL byte, and the page itself as the rest.
//
// Every scan must end, stay inside the page and give a sane record; a page
// scanned by a reused PageScan must give the same record as a fresh one.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "analysis/page_scan.h"
#include "analysis/page_scan_fields.h"
#include "fuzz_support.h"
#include "scan_invariants.h"

namespace {

using namespace quorvel;

struct ScanOptions {
    bool caseSensitive = false;
    bool finalS = false;
    bool keywordAsStopWords = false;
    std::uint16_t minWordLength = 0;
    std::string_view keyword;
};

void scanPage(PageScan& scan, const ScanOptions& options, std::string_view page) {
    scan.keywordMatcher().setFinalSRule(options.finalS);
    // A refused phrase (over 2047 bytes) keeps the matcher's earlier words; a
    // run starts with a fresh matcher, so clear what an earlier input left.
    if (!scan.keywordMatcher().loadPhrase(options.keyword, options.caseSensitive))
        scan.keywordMatcher().loadPhrase({}, options.caseSensitive);
    scan.loadBytes(page);
    // A stop-word list over 2047 bytes is refused and the matcher keeps the
    // list of the page before; a run keeps one list for all its pages, so
    // such lists are left to the unit tests.
    if (options.keywordAsStopWords && options.keyword.size() < KeywordMatcher::kCapacity)
        scan.stopWordList = std::string(options.keyword);
    else
        scan.stopWordList = "a,an,and,the,for,if";
    scan.setMinWordLength(options.minWordLength);
    scan.scan();
}

// Every fact of the two records must be equal.
void expectSameRecord(const PageFacts& fresh, const PageFacts& reused) {
    for (const PageField& field : pageFields()) {
        const bool same = numericFieldValue(fresh, field) == numericFieldValue(reused, field) &&
                          textFieldValue(fresh, field) == textFieldValue(reused, field);
        FUZZ_CHECK(same, "%.*s differs between a fresh and a reused record",
                   static_cast<int>(field.name.size()), field.name.data());
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::InputReader input(data, size);
    ScanOptions options;
    const std::uint8_t flags = input.byte();
    options.caseSensitive = flags & 1;
    options.finalS = flags & 2;
    options.keywordAsStopWords = flags & 4;
    options.minWordLength = input.byte() & 7;
    options.keyword = input.until('\0');
    const std::string_view page = input.rest();

    // A fresh record per input, so its buffer has exactly the page's size and
    // AddressSanitizer sees any read past the end.
    auto fresh = std::make_unique<PageScan>();
    scanPage(*fresh, options, page);
    FUZZ_CHECK(fresh->bytes() == page, "the loaded bytes differ from the page");
    for (const std::string& problem : invariants::violations(*fresh, page.size()))
        FUZZ_CHECK(false, "%s", problem.c_str());

    // The run reuses one record for every file; the previous page must leave
    // nothing behind.
    static PageScan reused;
    scanPage(reused, options, page);
    expectSameRecord(*fresh, reused);
    return 0;
}
