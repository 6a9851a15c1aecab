// Fuzzes the HTML colouriser: on any text its spans must lie inside the text,
// come in ascending order without overlap, and each must be what its kind
// says it is.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "report/html_colorizer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quorvel;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto& keywords = htmlTagKeywords();

    std::size_t previousEnd = 0;
    for (const ColourSpan& span : colorizeHtml(text)) {
        FUZZ_CHECK(span.begin < span.end, "empty span at %zu", span.begin);
        FUZZ_CHECK(span.end <= size, "span [%zu, %zu) beyond the text of %zu bytes", span.begin,
                   span.end, size);
        FUZZ_CHECK(span.begin >= previousEnd, "span at %zu overlaps the one before", span.begin);
        previousEnd = span.end;
        const std::string_view piece = text.substr(span.begin, span.end - span.begin);
        switch (span.kind) {
            case ColourKind::TagName:
                FUZZ_CHECK(std::find(keywords.begin(), keywords.end(), piece) != keywords.end(),
                           "tag-name span [%zu, %zu) is no tag keyword", span.begin, span.end);
                break;
            case ColourKind::QuotedValue:
                FUZZ_CHECK(piece.front() == '"' || piece.front() == '\'',
                           "quoted span at %zu does not start with a quote", span.begin);
                break;
            case ColourKind::DeclarationOrComment:
                FUZZ_CHECK(piece.substr(0, 2) == "<!",
                           "declaration span at %zu does not start with <!", span.begin);
                break;
        }
    }
    return 0;
}
