#include "analysis/colours.h"

#include "analysis/char_class.h"

namespace quorvel {

// The extended colour names with their usual values, except Mediumpurple,
// Olivedrab and Palevioletred, which keep the values this checker has always
// used. Only "Lightgrey" is spelt with "grey"; every other grey is "gray".
const std::array<NamedColour, kColourNameCount> kColourNames = {{
    {"Aliceblue", 0xF0F8FF},
    {"Antiquewhite", 0xFAEBD7},
    {"Aqua", 0x00FFFF},
    {"Aquamarine", 0x7FFFD4},
    {"Azure", 0xF0FFFF},
    {"Beige", 0xF5F5DC},
    {"Bisque", 0xFFE4C4},
    {"Black", 0x000000},
    {"Blanchedalmond", 0xFFEBCD},
    {"Blue", 0x0000FF},
    {"Blueviolet", 0x8A2BE2},
    {"Brown", 0xA52A2A},
    {"Burlywood", 0xDEB887},
    {"Cadetblue", 0x5F9EA0},
    {"Chartreuse", 0x7FFF00},
    {"Chocolate", 0xD2691E},
    {"Coral", 0xFF7F50},
    {"Cornflowerblue", 0x6495ED},
    {"Cornsilk", 0xFFF8DC},
    {"Crimson", 0xDC143C},
    {"Cyan", 0x00FFFF},
    {"Darkblue", 0x00008B},
    {"Darkcyan", 0x008B8B},
    {"Darkgoldenrod", 0xB8860B},
    {"Darkgray", 0xA9A9A9},
    {"Darkgreen", 0x006400},
    {"Darkkhaki", 0xBDB76B},
    {"Darkmagenta", 0x8B008B},
    {"Darkolivegreen", 0x556B2F},
    {"Darkorange", 0xFF8C00},
    {"Darkorchid", 0x9932CC},
    {"Darkred", 0x8B0000},
    {"Darksalmon", 0xE9967A},
    {"Darkseagreen", 0x8FBC8F},
    {"Darkslateblue", 0x483D8B},
    {"Darkslategray", 0x2F4F4F},
    {"Darkturquoise", 0x00CED1},
    {"Darkviolet", 0x9400D3},
    {"Deeppink", 0xFF1493},
    {"Deepskyblue", 0x00BFFF},
    {"Dimgray", 0x696969},
    {"Dodgerblue", 0x1E90FF},
    {"Firebrick", 0xB22222},
    {"Floralwhite", 0xFFFAF0},
    {"Forestgreen", 0x228B22},
    {"Fuchsia", 0xFF00FF},
    {"Gainsboro", 0xDCDCDC},
    {"Ghostwhite", 0xF8F8FF},
    {"Gold", 0xFFD700},
    {"Goldenrod", 0xDAA520},
    {"Gray", 0x808080},
    {"Green", 0x008000},
    {"Greenyellow", 0xADFF2F},
    {"Honeydew", 0xF0FFF0},
    {"Hotpink", 0xFF69B4},
    {"Indianred", 0xCD5C5C},
    {"Indigo", 0x4B0082},
    {"Ivory", 0xFFFFF0},
    {"Khaki", 0xF0E68C},
    {"Lavender", 0xE6E6FA},
    {"Lavenderblush", 0xFFF0F5},
    {"Lawngreen", 0x7CFC00},
    {"Lemonchiffon", 0xFFFACD},
    {"Lightblue", 0xADD8E6},
    {"Lightcoral", 0xF08080},
    {"Lightcyan", 0xE0FFFF},
    {"Lightgoldenrodyellow", 0xFAFAD2},
    {"Lightgreen", 0x90EE90},
    {"Lightgrey", 0xD3D3D3},
    {"Lightpink", 0xFFB6C1},
    {"Lightsalmon", 0xFFA07A},
    {"Lightseagreen", 0x20B2AA},
    {"Lightskyblue", 0x87CEFA},
    {"Lightslategray", 0x778899},
    {"Lightsteelblue", 0xB0C4DE},
    {"Lightyellow", 0xFFFFE0},
    {"Lime", 0x00FF00},
    {"Limegreen", 0x32CD32},
    {"Linen", 0xFAF0E6},
    {"Magenta", 0xFF00FF},
    {"Maroon", 0x800000},
    {"Mediumaquamarine", 0x66CDAA},
    {"Mediumblue", 0x0000CD},
    {"Mediumorchid", 0xBA55D3},
    {"Mediumpurple", 0x9370D8},
    {"Mediumseagreen", 0x3CB371},
    {"Mediumslateblue", 0x7B68EE},
    {"Mediumspringgreen", 0x00FA9A},
    {"Mediumturquoise", 0x48D1CC},
    {"Mediumvioletred", 0xC71585},
    {"Midnightblue", 0x191970},
    {"Mintcream", 0xF5FFFA},
    {"Mistyrose", 0xFFE4E1},
    {"Moccasin", 0xFFE4B5},
    {"Navajowhite", 0xFFDEAD},
    {"Navy", 0x000080},
    {"Oldlace", 0xFDF5E6},
    {"Olive", 0x808000},
    {"Olivedrab", 0x688E23},
    {"Orange", 0xFFA500},
    {"Orangered", 0xFF4500},
    {"Orchid", 0xDA70D6},
    {"Palegoldenrod", 0xEEE8AA},
    {"Palegreen", 0x98FB98},
    {"Paleturquoise", 0xAFEEEE},
    {"Palevioletred", 0xD87093},
    {"Papayawhip", 0xFFEFD5},
    {"Peachpuff", 0xFFDAB9},
    {"Peru", 0xCD853F},
    {"Pink", 0xFFC0CB},
    {"Plum", 0xDDA0DD},
    {"Powderblue", 0xB0E0E6},
    {"Purple", 0x800080},
    {"Red", 0xFF0000},
    {"Rosybrown", 0xBC8F8F},
    {"Royalblue", 0x4169E1},
    {"Saddlebrown", 0x8B4513},
    {"Salmon", 0xFA8072},
    {"Sandybrown", 0xF4A460},
    {"Seagreen", 0x2E8B57},
    {"Seashell", 0xFFF5EE},
    {"Sienna", 0xA0522D},
    {"Silver", 0xC0C0C0},
    {"Skyblue", 0x87CEEB},
    {"Slateblue", 0x6A5ACD},
    {"Slategray", 0x708090},
    {"Snow", 0xFFFAFA},
    {"Springgreen", 0x00FF7F},
    {"Steelblue", 0x4682B4},
    {"Tan", 0xD2B48C},
    {"Teal", 0x008080},
    {"Thistle", 0xD8BFD8},
    {"Tomato", 0xFF6347},
    {"Turquoise", 0x40E0D0},
    {"Violet", 0xEE82EE},
    {"Wheat", 0xF5DEB3},
    {"White", 0xFFFFFF},
    {"Whitesmoke", 0xF5F5F5},
    {"Yellow", 0xFFFF00},
    {"YellowGreen", 0x9ACD32},
}};

Colour parseColour(std::string_view value) {
    std::size_t i = 0;
    while (i < value.size() && (value[i] == kDoubleQuote || value[i] == kSingleQuote))
        ++i;
    value.remove_prefix(i);
    if (value.empty()) return kNoColour;
    if (value[0] == kHash) {
        // "#FFF" is 0x000FFF: the digits are one number, never expanded.
        Colour colour = 0;
        std::size_t digits = 0;
        for (std::size_t j = 1; j < value.size() && asciiHexDigitValue(value[j]) >= 0;
             ++j, ++digits) {
            colour = colour * 16u + static_cast<Colour>(asciiHexDigitValue(value[j]));
        }
        return digits == 0 ? kNoColour : colour;
    }
    for (const NamedColour& named : kColourNames) {
        if (equalsIgnoringAsciiCase(value, named.name)) return named.value;
    }
    return kNoColour;
}

void ColourState::push() {
    if (textDepth_ < kStackDepth) textStack_[textDepth_++] = text;
    if (backgroundDepth_ < kStackDepth) backgroundStack_[backgroundDepth_++] = background;
    if (linkDepth_ < kStackDepth) linkStack_[linkDepth_++] = link;
}

void ColourState::pop() {
    if (textDepth_ > 0) text = textStack_[--textDepth_];
    if (backgroundDepth_ > 0) background = backgroundStack_[--backgroundDepth_];
    if (linkDepth_ > 0) link = linkStack_[--linkDepth_];
}

}  // namespace quorvel
