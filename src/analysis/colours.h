#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "analysis/page_facts.h"

namespace quorvel {

// The value that stands for "no colour": what parseColour gives for a value
// it cannot read.
inline constexpr Colour kNoColour = 0xFFFFFFFFu;

struct NamedColour {
    std::string_view name;
    Colour value;
};
inline constexpr std::size_t kColourNameCount = 140;
extern const std::array<NamedColour, kColourNameCount> kColourNames;

// Reads a colour attribute value: leading quote characters are skipped; "#"
// and the hexadecimal digits that follow, as far as they go (no digit: no
// colour); otherwise one of the 140 colour names, compared with the whole
// value without regard to case. Anything else is kNoColour.
Colour parseColour(std::string_view value);

// (|dR| + |dG| + |dB|) / 3, rounded down: 0 for equal colours, 255 for black
// against white.
inline std::uint32_t colourDistance(Colour a, Colour b) {
    auto channel = [](Colour c, int shift) { return static_cast<int>((c >> shift) & 0xFFu); };
    auto diff = [&](int shift) {
        const int d = channel(a, shift) - channel(b, shift);
        return d < 0 ? -d : d;
    };
    return static_cast<std::uint32_t>((diff(16) + diff(8) + diff(0)) / 3);
}

// The colours in force while the body is scanned, with the stacks that tags
// such as FONT and TD push and their end tags pop.
class ColourState {
public:
    static constexpr std::size_t kStackDepth = 32;

    Colour text = 0x000000;
    Colour background = 0xFFFFFF;
    Colour link = 0;  // 0: no link colour set
    Colour visited = 0;

    // Saves text, background and link colour, each on its stack while that
    // stack has room; beyond 32 levels nothing more is saved.
    void push();
    // Restores text, background and link colour from each non-empty stack.
    // The visited-link colour has no stack.
    void pop();

    std::size_t textDepth() const { return textDepth_; }
    std::size_t backgroundDepth() const { return backgroundDepth_; }
    std::size_t linkDepth() const { return linkDepth_; }

private:
    std::array<Colour, kStackDepth> textStack_{};
    std::array<Colour, kStackDepth> backgroundStack_{};
    std::array<Colour, kStackDepth> linkStack_{};
    std::size_t textDepth_ = 0;
    std::size_t backgroundDepth_ = 0;
    std::size_t linkDepth_ = 0;
};

}  // namespace quorvel
