#include "checks/check_entry.h"

#include <gtest/gtest.h>

#include <string>

namespace quorvel {
namespace {

// The list goes by the first letter of a "Cat" text, the detailed
// description by the whole text: both through the one letter mapping.
TEST(ImportanceClass, FirstLetterForTheListWholeTextForTheDetails) {
    struct Case {
        std::string catText;
        ImportanceClass byFirstLetter;
        ImportanceClass byWholeText;
    };
    const Case cases[] = {
        {"W", ImportanceClass::Warning, ImportanceClass::Warning},
        {"w", ImportanceClass::Warning, ImportanceClass::Warning},
        {"S", ImportanceClass::Suggestion, ImportanceClass::Suggestion},
        {"s", ImportanceClass::Suggestion, ImportanceClass::Suggestion},
        {"T", ImportanceClass::Tip, ImportanceClass::Tip},
        {"t", ImportanceClass::Tip, ImportanceClass::Tip},
        {"E", ImportanceClass::Error, ImportanceClass::Error},
        {"x", ImportanceClass::Error, ImportanceClass::Error},
        {"Warn", ImportanceClass::Warning, ImportanceClass::Error},
        {"tip", ImportanceClass::Tip, ImportanceClass::Error},
        {"*", ImportanceClass::Separator, ImportanceClass::Error},
        {"", ImportanceClass::Error, ImportanceClass::Error},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("Cat text '" + c.catText + "'");
        // An empty text gives the terminating zero as its first letter.
        EXPECT_EQ(importanceClassOf(c.catText.c_str()[0]), c.byFirstLetter);
        EXPECT_EQ(importanceClassOfCatText(c.catText), c.byWholeText);
    }
}

}  // namespace
}  // namespace quorvel
