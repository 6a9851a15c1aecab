#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/page_scan.h"
#include "analysis/page_scan_fields.h"

namespace quorvel::test {

// How a page is scanned in a test: as the analysis run sets up a scan.
struct ScanOptions {
    std::string keyword;
    bool caseSensitive = true;
    bool finalS = false;
    std::uint16_t minWordLength = 0;
    std::string stopWords = "a,an,and,the,for,if";
};

inline std::unique_ptr<PageScan> scanHtml(std::string_view html, const ScanOptions& options = {}) {
    auto scan = std::make_unique<PageScan>();
    scan->keywordMatcher().setFinalSRule(options.finalS);
    scan->keywordMatcher().loadPhrase(options.keyword, options.caseSensitive);
    scan->loadBytes(html);
    scan->stopWordList = options.stopWords;
    scan->setMinWordLength(options.minWordLength);
    scan->scan();
    return scan;
}

// An expected fact: a number, a text, or the offset in the page of the first
// occurrence of a marker text plus a delta.
struct Fact {
    enum class Kind { Number, Text, Offset };

    Fact(std::string_view f, std::uint32_t n) : field(f), kind(Kind::Number), number(n) {}
    Fact(std::string_view f, std::string t) : field(f), kind(Kind::Text), text(std::move(t)) {}
    static Fact at(std::string_view f, std::string marker, std::int64_t delta = 0) {
        Fact fact(f, std::move(marker));
        fact.kind = Kind::Offset;
        fact.delta = delta;
        return fact;
    }

    std::string_view field;
    Kind kind;
    std::uint32_t number = 0;
    std::string text;
    std::int64_t delta = 0;
};

// Checks each expected fact of a scanned page, naming the field in failures.
inline void expectFacts(const PageScan& scan, std::string_view html,
                        const std::vector<Fact>& facts) {
    for (const Fact& fact : facts) {
        SCOPED_TRACE(std::string(fact.field));
        const PageField* field = findPageField(fact.field);
        ASSERT_NE(field, nullptr) << "no such field";
        switch (fact.kind) {
            case Fact::Kind::Number:
                EXPECT_EQ(numericFieldValue(scan, *field), fact.number);
                break;
            case Fact::Kind::Text:
                EXPECT_EQ(textFieldValue(scan, *field), fact.text);
                break;
            case Fact::Kind::Offset: {
                const std::size_t marker = html.find(fact.text);
                ASSERT_NE(marker, std::string_view::npos) << "marker not in page: " << fact.text;
                EXPECT_EQ(
                    numericFieldValue(scan, *field),
                    static_cast<std::uint32_t>(static_cast<std::int64_t>(marker) + fact.delta));
                break;
            }
        }
    }
}

// One page and what its scan must give.
struct ScanCase {
    std::string name;
    std::string html;
    std::vector<Fact> facts;
    ScanOptions options = {};
};

inline void runScanCases(const std::vector<ScanCase>& cases) {
    for (const ScanCase& c : cases) {
        SCOPED_TRACE(c.name);
        const auto scan = scanHtml(c.html, c.options);
        expectFacts(*scan, c.html, c.facts);
    }
}

}  // namespace quorvel::test
