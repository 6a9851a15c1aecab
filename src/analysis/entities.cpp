#include "analysis/entities.h"

#include <cstdint>

#include "analysis/char_class.h"

namespace quorvel {

const std::array<std::string_view, kEntityNameCount> kEntityNames = {
    // Latin-1
    "nbsp", "iexcl", "cent", "pound", "curren", "yen", "brvbar", "sect", "uml", "copy", "ordf",
    "laquo", "not", "shy", "reg", "macr", "deg", "plusmn", "sup2", "sup3", "acute", "micro", "para",
    "middot", "cedil", "sup1", "ordm", "raquo", "frac14", "frac12", "frac34", "iquest", "Agrave",
    "Aacute", "Acirc", "Atilde", "Auml", "Aring", "AElig", "Ccedil", "Egrave", "Eacute", "Ecirc",
    "Euml", "Igrave", "Iacute", "Icirc", "Iuml", "ETH", "Ntilde", "Ograve", "Oacute", "Ocirc",
    "Otilde", "Ouml", "times", "Oslash", "Ugrave", "Uacute", "Ucirc", "Uuml", "Yacute", "THORN",
    "szlig", "agrave", "aacute", "acirc", "atilde", "auml", "aring", "aelig", "ccedil", "egrave",
    "eacute", "ecirc", "euml", "igrave", "iacute", "icirc", "iuml", "eth", "ntilde", "ograve",
    "oacute", "ocirc", "otilde", "ouml", "divide", "oslash", "ugrave", "uacute", "ucirc", "uuml",
    "yacute", "thorn", "yuml",
    // Symbols and Greek letters
    "fnof", "Alpha", "Beta", "Gamma", "Delta", "Epsilon", "Zeta", "Eta", "Theta", "Iota", "Kappa",
    "Lambda", "Mu", "Nu", "Xi", "Omicron", "Pi", "Rho", "Sigma", "Tau", "Upsilon", "Phi", "Chi",
    "Psi", "Omega", "alpha", "beta", "gamma", "delta", "epsilon", "zeta", "eta", "theta", "iota",
    "kappa", "lambda", "mu", "nu", "xi", "omicron", "pi", "rho", "sigmaf", "sigma", "tau",
    "upsilon", "phi", "chi", "psi", "omega", "thetasym", "upsih", "piv", "bull", "hellip", "prime",
    "Prime", "oline", "frasl", "weierp", "image", "real", "trade", "alefsym", "larr", "uarr",
    "rarr", "darr", "harr", "crarr", "lArr", "uArr", "rArr", "dArr", "hArr", "forall", "part",
    "exist", "empty", "nabla", "isin", "notin", "ni", "prod", "sum", "minus", "lowast", "radic",
    "prop", "infin", "ang", "and", "or", "cap", "cup", "int", "there4", "sim", "cong", "asymp",
    "ne", "equiv", "le", "ge", "sub", "sup", "nsub", "sube", "supe", "oplus", "otimes", "perp",
    "sdot", "lceil", "rceil", "lfloor", "rfloor", "lang", "rang", "loz", "spades", "clubs",
    "hearts", "diams",
    // Special characters
    "quot", "amp", "lt", "gt", "OElig", "oelig", "Scaron", "scaron", "Yuml", "circ", "tilde",
    "ensp", "emsp", "thinsp", "zwnj", "zwj", "lrm", "rlm", "ndash", "mdash", "lsquo", "rsquo",
    "sbquo", "ldquo", "rdquo", "bdquo", "dagger", "Dagger", "permil", "lsaquo", "rsaquo", "euro",
    // Numeric character references
    "#"};

namespace {

// The table's entries grouped by their folded first byte, each group in table
// order, so that a lookup compares only the names that can match.
struct EntityIndex {
    std::array<std::uint16_t, kEntityNameCount> order{};
    std::array<std::uint16_t, 257> groupStart{};
};

EntityIndex buildEntityIndex() {
    EntityIndex index;
    std::array<std::uint16_t, 256> groupSize{};
    for (std::string_view name : kEntityNames) {
        ++groupSize[static_cast<unsigned char>(toAsciiUpper(name[0]))];
    }
    for (std::size_t b = 0; b < 256; ++b) {
        index.groupStart[b + 1] = static_cast<std::uint16_t>(index.groupStart[b] + groupSize[b]);
    }
    std::array<std::uint16_t, 256> filled{};
    for (std::size_t i = 0; i < kEntityNames.size(); ++i) {
        const auto b = static_cast<unsigned char>(toAsciiUpper(kEntityNames[i][0]));
        index.order[index.groupStart[b] + filled[b]++] = static_cast<std::uint16_t>(i);
    }
    return index;
}

const EntityIndex& entityIndex() {
    static const EntityIndex index = buildEntityIndex();
    return index;
}

}  // namespace

std::size_t entityLengthSlow(const char* p, const char* end) {
    if (p >= end || *p != kAmpersand || p + 1 >= end) return 0;
    const EntityIndex& index = entityIndex();
    const auto first = static_cast<unsigned char>(toAsciiUpper(p[1]));
    bool named = false;
    for (std::size_t i = index.groupStart[first]; i < index.groupStart[first + 1u]; ++i) {
        if (startsWithNoCase(p + 1, end, kEntityNames[index.order[i]])) {
            named = true;
            break;
        }
    }
    if (!named) return 0;
    // The entity runs through the next ';', wherever it stands.
    for (const char* q = p + 1; q < end && *q != kZero; ++q) {
        if (*q == kSemicolon) return static_cast<std::size_t>(q + 1 - p);
    }
    return static_cast<std::size_t>(end - p);
}

}  // namespace quorvel
