#include "analysis/colours.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "analysis/char_class.h"

namespace quorvel {
namespace {

TEST(ColoursTest, ParsesHexValuesAndNames) {
    struct Case {
        const char* value;
        Colour colour;
    };
    const Case cases[] = {
        {"", kNoColour},           {"#FFF", 0x000FFF},
        {"#ffffff", 0xFFFFFF},     {"#00ff00 size=2", 0x00FF00},
        {"#12zz", 0x12},           {"#", kNoColour},
        {"#xyz", kNoColour},       {"ffffff", kNoColour},
        {"red", 0xFF0000},         {"RED", 0xFF0000},
        {"\"'red", 0xFF0000},      {"red\"", kNoColour},
        {"red size=2", kNoColour}, {"Lightgrey", 0xD3D3D3},
        {"lightgray", kNoColour},  {"darkgrey", kNoColour},
        {"Darkgray", 0xA9A9A9},    {"Mediumpurple", 0x9370D8},
        {"olivedrab", 0x688E23},   {"PaleVioletRed", 0xD87093},
        {"yellowgreen", 0x9ACD32}, {"white", 0xFFFFFF},
        {"black", 0x000000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(parseColour(c.value), c.colour);
    }
}

TEST(ColoursTest, NameTableHas140DistinctNames) {
    std::set<std::string> names;
    for (const NamedColour& named : kColourNames) {
        std::string upper;
        for (char c : named.name)
            upper += toAsciiUpper(c);
        names.insert(upper);
        EXPECT_LE(named.value, 0xFFFFFFu);
    }
    EXPECT_EQ(names.size(), 140u);
}

TEST(ColoursTest, DistanceIsMeanChannelDifferenceRoundedDown) {
    struct Case {
        Colour a;
        Colour b;
        std::uint32_t distance;
    };
    const Case cases[] = {
        {0x000000, 0xFFFFFF, 255}, {0xFFFFFF, 0x000000, 255}, {0x123456, 0x123456, 0},
        {0x000FFF, 0x000000, 90},  {0x010100, 0x000000, 0},   {0x020100, 0x000000, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.a << " " << c.b);
        EXPECT_EQ(colourDistance(c.a, c.b), c.distance);
    }
}

TEST(ColoursTest, StacksHold32LevelsAndIgnoreDeeperPushes) {
    ColourState state;
    for (Colour i = 1; i <= 40; ++i) {
        state.push();
        state.text = i;
        state.background = 0x100 + i;
        state.link = 0x200 + i;
        state.visited = 0x300 + i;
    }
    EXPECT_EQ(state.textDepth(), 32u);
    for (int pops = 1; pops <= 8; ++pops)
        state.pop();
    EXPECT_EQ(state.text, 24u);
    EXPECT_EQ(state.background, 0x100u + 24);
    EXPECT_EQ(state.link, 0x200u + 24);
    EXPECT_EQ(state.visited, 0x300u + 40) << "the visited-link colour is never restored";
    for (int pops = 9; pops <= 40; ++pops)
        state.pop();
    EXPECT_EQ(state.text, 0u);
    EXPECT_EQ(state.background, 0xFFFFFFu);
    EXPECT_EQ(state.link, 0u);
    EXPECT_EQ(state.textDepth(), 0u);
}

}  // namespace
}  // namespace quorvel
