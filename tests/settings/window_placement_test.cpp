#include "settings/window_placement.h"

#include <gtest/gtest.h>

namespace quorvel {
namespace {

TEST(FitIntoDesktop, MovedInTheOrderRightLeftTopBottomNeverResized) {
    const Rect desktop{0, 0, 1920, 1080};
    struct Case {
        const char* name;
        Rect window;
        Rect expected;
    };
    const Case cases[] = {
        {"inside stays", {100, 100, 900, 700, 1}, {100, 100, 900, 700, 1}},
        {"beyond the right edge", {1500, 100, 2100, 500}, {1320, 100, 1920, 500}},
        {"left of the left edge", {-50, 10, 250, 110}, {0, 10, 300, 110}},
        {"above the top", {10, -40, 110, 60}, {10, 0, 110, 100}},
        {"below the bottom", {10, 1000, 110, 1200}, {10, 880, 110, 1080}},
        {"wider than the desktop ends at the left edge", {100, 0, 2500, 100}, {0, 0, 2400, 100}},
        {"taller than the desktop ends at the bottom", {0, -100, 100, 1300}, {0, -320, 100, 1080}},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        EXPECT_EQ(fitIntoDesktop(test.window, desktop), test.expected);
    }
}

}  // namespace
}  // namespace quorvel
