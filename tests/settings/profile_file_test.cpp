#include "settings/profile_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "platform/faulty_file_calls.h"
#include "platform/scratch_folder.h"
#include "shared_data.h"

namespace quorvel {
namespace {

using testing::FaultyFileCalls;
using testing::readBytes;
using testing::ScratchFolder;
using testing::writeBytes;

ProfileFile fromText(std::string_view text) {
    ProfileFile file;
    file.loadFromText(text);
    return file;
}

// ---------------------------------------------------------------------------
// Reading

TEST(ProfileFileRead, LineEndsGiveTheSameEntries) {
    struct Case {
        const char* name;
        std::string text;
    } cases[] = {
        {"CR LF", "[S]\r\na=1\r\nb=two\r\n"},
        {"LF", "[S]\na=1\nb=two\n"},
        {"no final line end", "[S]\r\na=1\r\nb=two"},
        {"mixed", "[S]\na=1\r\nb=two"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ProfileFile file = fromText(c.text);
        EXPECT_EQ(file.getString("S", "a"), "1");
        EXPECT_EQ(file.getString("S", "b"), "two");
        EXPECT_EQ(file.serialize(), "\r\n[S]\r\na=1\r\nb=two\r\n");
    }
}

TEST(ProfileFileRead, CrAloneDoesNotEndALine) {
    const ProfileFile file = fromText("[S]\ra=1\r\n[T]\r\nb=x\ry=2\r\n");
    // "[S]\ra=1" neither ends with "]" nor lacks "=": it is one odd entry line.
    EXPECT_EQ(file.sectionNames(), std::vector<std::string>{"T"});
    EXPECT_EQ(file.getString("T", "b"), "x\ry=2");
    EXPECT_EQ(file.getString("T", "y", "none"), "none");
}

TEST(ProfileFileRead, LineRules) {
    struct Case {
        const char* name;
        std::string text;
        std::string section, key;
        std::optional<std::string> value;  // nullopt: no such entry
    } cases[] = {
        {"blanks around key and value", "[S]\r\n  key  =  value  \r\n", "S", "  key", "value  "},
        {"trailing blanks of the key do not count", "[S]\r\nkey \t=v\r\n", "S", "key", "v"},
        {"leading tabs of the value go", "[S]\r\nk=\t\t v\r\n", "S", "k", "v"},
        {"value keeps later equals signs", "[S]\r\nk=a=b==\r\n", "S", "k", "a=b=="},
        {"empty value exists", "[S]\r\nk=\r\n", "S", "k", ""},
        {"empty key exists", "[S]\r\n=v\r\n", "S", "", "v"},
        {"comment line ignored", "[S]\r\n;k=v\r\n", "S", ";k", std::nullopt},
        {"comment after key kept in value", "[S]\r\nk=v ;c\r\n", "S", "k", "v ;c"},
        {"line without equals ignored", "[S]\r\njust text\r\nk=v\r\n", "S", "just text",
         std::nullopt},
        {"entry before any section dropped", "k=v\r\n[S]\r\n", "S", "k", std::nullopt},
        {"unclosed bracket ignored, entries stay in the section before", "[A]\r\n[B\r\nk=v\r\n",
         "A", "k", "v"},
        {"unclosed bracket names no section", "[A]\r\n[B\r\nk=v\r\n", "B", "k", std::nullopt},
        {"empty section name", "[]\r\nk=v\r\n", "", "k", "v"},
        {"section name not trimmed", "[ S ]\r\nk=v\r\n", " S ", "k", "v"},
        {"section name with brackets", "[a]b]\r\nk=v\r\n", "a]b", "k", "v"},
        {"section names ignore case", "[Options]\r\nk=v\r\n", "OPTIONS", "k", "v"},
        {"keys ignore case", "[S]\r\nMinWordLength=4\r\n", "S", "minwordlength", "4"},
        {"values stay exact", "[S]\r\nk=MiXeD\r\n", "S", "K", "MiXeD"},
        {"first duplicate key wins", "[S]\r\nk=1\r\nK=2\r\n", "S", "k", "1"},
        {"first duplicate section wins", "[S]\r\nk=1\r\n[s]\r\nk=2\r\n", "S", "k", "1"},
        {"later duplicate section still read for other keys", "[S]\r\nk=1\r\n[S]\r\nj=2\r\n", "S",
         "j", std::nullopt},
        {"several line ends at the end", "[S]\r\nk=v\r\r\n", "S", "k", "v"},
        {"NUL bytes are ordinary bytes", std::string("[S\0]\r\nk\0=v\0w\r\n", 14),
         std::string("S\0", 2), std::string("k\0", 2), std::string("v\0w", 3)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ProfileFile file = fromText(c.text);
        if (c.value) {
            EXPECT_EQ(file.getString(c.section, c.key, "(missing)"), *c.value);
        } else {
            EXPECT_EQ(file.getString(c.section, c.key, "(missing)"), "(missing)");
        }
    }
}

TEST(ProfileFileRead, NamesFoldEveryAsciiLetterAndNothingElse) {
    struct Case {
        std::string stored, asked;
        bool same;
    };
    std::vector<Case> cases;
    for (char upper = 'A'; upper <= 'Z'; ++upper) {
        const char lower = static_cast<char>(upper - 'A' + 'a');
        cases.push_back({std::string("S") + upper, std::string("s") + lower, true});
        cases.push_back({std::string("s") + lower, std::string("S") + upper, true});
    }
    // The bytes next to the letters are no letters: @ [ ` { and bytes above 127.
    cases.push_back({"S@", "S`", false});
    cases.push_back({"S[", "S{", false});
    cases.push_back({"S`", "S@", false});
    cases.push_back({"S{", "S[", false});
    cases.push_back({"S\xC9", "S\xE9", false});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored + " asked as " + c.asked);
        const ProfileFile file = fromText("[" + c.stored + "]\r\n" + c.stored + "=v\r\n");
        EXPECT_EQ(file.getString(c.asked, c.stored, "none"), c.same ? "v" : "none");
        EXPECT_EQ(file.getString(c.stored, c.asked, "none"), c.same ? "v" : "none");
    }
}

TEST(ProfileFileRead, DuplicatesAreKeptAndWrittenBack) {
    const std::string text = "\r\n[S]\r\nk=1\r\nK=2\r\n\r\n[s]\r\nk=3\r\n";
    ProfileFile file = fromText(text);
    EXPECT_EQ(file.serialize(), text);
    ASSERT_TRUE(file.writeString("S", "k", "9"));
    EXPECT_EQ(file.serialize(), "\r\n[S]\r\nk=9\r\nK=2\r\n\r\n[s]\r\nk=3\r\n");
}

TEST(ProfileFileRead, LongKeysAreCutTo64) {
    const std::string key70(70, 'k');
    const std::string key64(64, 'k');
    ProfileFile file = fromText("[S]\r\n" + key70 + "=v\r\n");
    EXPECT_EQ(file.serialize(), "\r\n[S]\r\n" + key64 + "=v\r\n");
    EXPECT_EQ(file.getString("S", key64), "v");
    EXPECT_EQ(file.getString("S", key70), "v");  // a long name reaches the cut key
    EXPECT_EQ(file.getString("S", std::string(63, 'k'), "none"), "none");

    ASSERT_TRUE(file.writeString("S", std::string(80, 'k'), "w"));
    EXPECT_EQ(file.serialize(), "\r\n[S]\r\n" + key64 + "=w\r\n");
}

TEST(ProfileFileRead, LongLinesAreReadInPiecesOf8256Bytes) {
    struct Case {
        const char* name;
        std::size_t valueLength;  // after "k="
        std::string lineEnd;
        std::size_t expectedLength;
    } cases[] = {
        {"line of 8256 bytes and CR LF", 8254, "\r\n", 8254},
        {"line of 8256 bytes and LF", 8254, "\n", 8254},
        {"line of 8256 bytes at the end of the file", 8254, "", 8254},
        {"line of 8257 bytes: the last byte is a line without '='", 8255, "\r\n", 8254},
        {"line of 9000 bytes", 8998, "\n", 8254},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string value(c.valueLength, 'v');
        const ProfileFile file = fromText("[S]\r\nz=1\r\nk=" + value + c.lineEnd);
        EXPECT_EQ(file.serialize(),
                  "\r\n[S]\r\nz=1\r\nk=" + std::string(c.expectedLength, 'v') + "\r\n");
    }
    // The piece beyond the limit is a line of its own: here an entry.
    const std::string head(8256, 'h');
    const ProfileFile file = fromText("[S]\r\n" + head + "x=1\r\n");
    EXPECT_EQ(file.getString("S", "x"), "1");
    EXPECT_EQ(file.serialize(), "\r\n[S]\r\nx=1\r\n");  // the head alone has no "="
}

TEST(ProfileFileRead, ReadValuesAreCutTo4095Bytes) {
    const std::string stored(5000, 'v');
    const ProfileFile file = fromText("[S]\r\nk=" + stored + "\r\n");
    EXPECT_EQ(file.getString("S", "k"), stored.substr(0, 4095));
    EXPECT_NE(file.serialize().find(stored), std::string::npos);  // nothing lost on save
}

TEST(ProfileFileRead, Integers) {
    struct Case {
        const char* name;
        std::string stored;  // written with writeString; empty: key absent
        int expected;
    } cases[] = {
        {"plain", "42", 42},
        {"negative", "-17", -17},
        {"plus sign", "+8", 8},
        {"leading blanks", "  12", 12},
        {"trailing text", "12abc", 12},
        {"trailing blanks", "7  ", 7},
        {"no digits", "abc", 0},
        {"only blanks", " ", 0},
        {"sign without digits", "-x", 0},
        {"decimal point", "3.9", 3},
        {"too large saturates", "99999999999", INT_MAX},
        {"too small saturates", "-99999999999", INT_MIN},
        {"largest", "2147483647", INT_MAX},
        {"smallest", "-2147483648", INT_MIN},
        {"digits after 63 bytes are not read", std::string(63, ' ') + "5", 0},
        {"digits within 63 bytes are read", std::string(62, ' ') + "5", 5},
        {"missing gives the default", "", -3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ProfileFile file;
        file.writeString("S", "other", "x");
        if (!c.stored.empty()) {
            ASSERT_TRUE(file.writeString("S", "k", c.stored));
        }
        EXPECT_EQ(file.getInt("S", "k", -3), c.expected);
    }
    EXPECT_EQ(fromText("[S]\r\nk=\r\n").getInt("S", "k", 9), 9);  // stored empty: the default
}

TEST(ProfileFileRead, Rectangles) {
    struct Case {
        const char* name;
        std::string stored;
        bool withShowState;
        bool expectedResult;
        Rect expected;
    } cases[] = {
        {"four numbers", "10,20,300,400", false, true, {10, 20, 300, 400, 0}},
        {"negative numbers", "-8,-8,1288,1008", false, true, {-8, -8, 1288, 1008, 0}},
        {"fifth number ignored unless asked", "1,2,3,4,5", false, true, {1, 2, 3, 4, 0}},
        {"fifth number", "1,2,3,4,5", true, true, {1, 2, 3, 4, 5}},
        {"fifth number missing", "1,2,3,4", true, true, {1, 2, 3, 4, 0}},
        {"missing numbers stay zero", "1,2", false, true, {1, 2, 0, 0, 0}},
        {"blanks before numbers", "1, 2, 3, 4", false, true, {1, 2, 3, 4, 0}},
        {"blank before a comma stops", "1 ,2,3,4", false, true, {1, 0, 0, 0, 0}},
        {"text", "abc", false, true, {}},
        {"empty", "", false, false, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ProfileFile file = fromText("[S]\r\nk=" + c.stored + "\r\n");
        Rect rect{9, 9, 9, 9, 9};
        EXPECT_EQ(file.getRect("S", "k", rect, c.withShowState), c.expectedResult);
        EXPECT_EQ(rect, c.expected);
    }
    EXPECT_EQ(formatRect({-8, 0, 1288, 1008, 0}), "-8,0,1288,1008");
    EXPECT_EQ(formatRect({1, 2, 3, 4, 1}, true), "1,2,3,4,1");
}

// ---------------------------------------------------------------------------
// Writing

TEST(ProfileFileWrite, WriteString) {
    const std::string base = "\r\n[S]\r\na=1\r\nb=2\r\n";
    struct Case {
        const char* name;
        std::string section, key, value;
        bool expectedResult;
        bool expectedModified;
        std::string expectedText;
    } cases[] = {
        {"replace", "S", "a", "x", true, true, "\r\n[S]\r\na=x\r\nb=2\r\n"},
        {"same value changes nothing", "S", "a", "1", true, false, base},
        {"key matched ignoring case keeps its stored name", "s", "A", "x", true, true,
         "\r\n[S]\r\na=x\r\nb=2\r\n"},
        {"append key", "S", "c", "3", true, true, base + "c=3\r\n"},
        {"empty value deletes", "S", "a", "", true, true, "\r\n[S]\r\nb=2\r\n"},
        {"empty value for a missing key changes nothing", "S", "z", "", true, false, base},
        {"new section", "T", "k", "v", true, true, base + "\r\n[T]\r\nk=v\r\n"},
        {"empty value in a missing section", "T", "k", "", false, false, base},
        {"CR LF become spaces", "S", "a", "x\r\ny", true, true, "\r\n[S]\r\na=x  y\r\nb=2\r\n"},
        {"lone CR and LF become spaces", "S", "a", "\rx\n", true, true,
         "\r\n[S]\r\na= x \r\nb=2\r\n"},
        {"value of 4095 bytes accepted", "S", "a", std::string(4095, 'v'), true, true,
         "\r\n[S]\r\na=" + std::string(4095, 'v') + "\r\nb=2\r\n"},
        {"value of 4096 bytes refused", "S", "a", std::string(4096, 'v'), false, false, base},
        {"new section name with a line end is stored with a space", "T\r\nU", "k", "v", true, true,
         base + "\r\n[T  U]\r\nk=v\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ProfileFile file = fromText(base);
        EXPECT_EQ(file.writeString(c.section, c.key, c.value), c.expectedResult);
        EXPECT_EQ(file.isModified(), c.expectedModified);
        EXPECT_EQ(file.serialize(), c.expectedText);
    }
}

TEST(ProfileFileWrite, ChangeOfLetterCaseOnlyMarksModified) {
    ProfileFile file = fromText("[S]\r\nk=value\r\n");
    ASSERT_TRUE(file.writeString("S", "k", "Value"));
    EXPECT_TRUE(file.isModified());
    EXPECT_EQ(file.getString("S", "k"), "Value");
}

TEST(ProfileFileWrite, WriteIntFormatsSignedDecimal) {
    ProfileFile file;
    file.writeInt("S", "a", -12);
    file.writeInt("S", "b", 0);
    file.writeInt("S", "c", INT_MIN);
    EXPECT_EQ(file.serialize(), "\r\n[S]\r\na=-12\r\nb=0\r\nc=-2147483648\r\n");
}

TEST(ProfileFileWrite, SectionWithoutEntriesIsNotWrittenAndVanishes) {
    ProfileFile file = fromText("[A]\r\nk=v\r\n[B]\r\nj=w\r\n[C]\r\n");
    ASSERT_TRUE(file.writeString("A", "k", ""));
    EXPECT_EQ(file.sectionNames(), (std::vector<std::string>{"A", "B", "C"}));
    const std::string saved = file.serialize();
    EXPECT_EQ(saved, "\r\n[B]\r\nj=w\r\n");
    EXPECT_EQ(fromText(saved).sectionNames(), std::vector<std::string>{"B"});
}

TEST(ProfileFileWrite, CommentsAreDroppedAndEmptyLinesInserted) {
    const ProfileFile file = fromText("; settings\r\n[A]\r\n; note\r\nk=v\r\n[B]\r\nj=w\r\n");
    EXPECT_EQ(file.serialize(), "\r\n[A]\r\nk=v\r\n\r\n[B]\r\nj=w\r\n");
}

TEST(ProfileFileWrite, DeleteAndRenameSection) {
    ProfileFile file = fromText("[A]\r\nk=1\r\n[B]\r\nk=2\r\n[a]\r\nk=3\r\n");
    EXPECT_FALSE(file.deleteSection("missing"));
    EXPECT_FALSE(file.isModified());
    EXPECT_FALSE(file.renameSection("missing", "X"));
    EXPECT_FALSE(file.isModified());

    ASSERT_TRUE(file.renameSection("b", "Renamed"));
    EXPECT_TRUE(file.isModified());
    EXPECT_EQ(file.getString("renamed", "k"), "2");
    EXPECT_EQ(file.getString("B", "k", "none"), "none");

    ASSERT_TRUE(file.deleteSection("A"));  // the first of two sections named alike
    EXPECT_EQ(file.serialize(), "\r\n[Renamed]\r\nk=2\r\n\r\n[a]\r\nk=3\r\n");
}

// ---------------------------------------------------------------------------
// Lists

// The entries of one section as "key=value" lines, for comparing list states.
std::string sectionText(const ProfileFile& file) {
    std::string text = file.serialize();
    const std::size_t start = text.find("]\r\n");
    return start == std::string::npos ? std::string() : text.substr(start + 3);
}

ProfileFile listOf(std::vector<std::string> items) {
    ProfileFile file;
    for (const std::string& item : items)
        file.listAdd("S", item, "Key");
    return file;
}

TEST(ProfileFileList, Add) {
    ProfileFile file;
    EXPECT_EQ(file.listAdd("S", "x", "Key"), 0);  // first item: old count 0
    EXPECT_EQ(file.listAdd("S", "y", "Key"), 1);
    EXPECT_EQ(file.listAdd("S", "x", "Key"), 0);  // present: nothing changes
    EXPECT_EQ(file.listAdd("S", "X", "Key"), 2);  // case differs: a new item
    EXPECT_EQ(file.listCount("S", "Key"), 3);
    EXPECT_EQ(sectionText(file), "Key1=x\r\nKeyCount=3\r\nKey2=y\r\nKey3=X\r\n");
    EXPECT_EQ(file.listAdd("S", std::string(4096, 'v'), "Key"), -1);
    EXPECT_EQ(file.listCount("S", "Key"), 3);
    EXPECT_EQ(file.listAdd("S", "a\r\nb", "Key"), 3);
    EXPECT_EQ(file.listAdd("S", "a\n\rb", "Key"), 0);  // stored alike: "a  b"
    EXPECT_EQ(file.listItem("S", 4, "Key"), "a  b");
    EXPECT_EQ(file.listCount("S", "Key"), 4);
}

TEST(ProfileFileList, DefaultListNameIsItemAndCount) {
    ProfileFile file;
    file.listAdd("Projects", "Default");
    file.listAdd("Projects", "Site");
    EXPECT_EQ(sectionText(file), "Item1=Default\r\nCount=2\r\nItem2=Site\r\n");
    EXPECT_EQ(file.listItem("Projects", 2), "Site");
    EXPECT_EQ(file.listFind("projects", "Site"), 2);
}

TEST(ProfileFileList, RemoveAt) {
    struct Case {
        const char* name;
        std::vector<std::string> items;
        int index;
        bool expectedResult;
        std::string expectedText;
    } cases[] = {
        {"middle of three", {"x", "y", "z"}, 2, true, "Key1=x\r\nKeyCount=2\r\nKey2=z\r\n"},
        {"first of three", {"x", "y", "z"}, 1, true, "Key1=y\r\nKeyCount=2\r\nKey2=z\r\n"},
        {"last of three", {"x", "y", "z"}, 3, true, "Key1=x\r\nKeyCount=2\r\nKey2=y\r\n"},
        {"only item leaves count 0", {"x"}, 1, true, "KeyCount=0\r\n"},
        {"index 0", {"x", "y"}, 0, false, "Key1=x\r\nKeyCount=2\r\nKey2=y\r\n"},
        {"index beyond count", {"x", "y"}, 3, false, "Key1=x\r\nKeyCount=2\r\nKey2=y\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ProfileFile file = listOf(c.items);
        EXPECT_EQ(file.listRemoveAt("S", c.index, "Key"), c.expectedResult);
        EXPECT_EQ(sectionText(file), c.expectedText);
    }
}

TEST(ProfileFileList, RemoveAtWithGapsMovesEmptyItemsToo) {
    // Item 2 has no key: it reads as empty and moves down as an absent key.
    // Each move is a write: Item2 did not exist, so it is appended, while
    // Item3 keeps its place.
    ProfileFile file = fromText("[S]\r\nCount=4\r\nItem1=a\r\nItem3=c\r\nItem4=d\r\n");
    ASSERT_TRUE(file.listRemoveAt("S", 1));
    EXPECT_EQ(file.serialize(), "\r\n[S]\r\nCount=3\r\nItem3=d\r\nItem2=c\r\n");
    EXPECT_EQ(file.listItem("S", 1), "");
    EXPECT_EQ(file.listFind("S", ""), 1);
}

TEST(ProfileFileList, FindRemoveSetReplace) {
    ProfileFile file = listOf({"alpha", "beta", "gamma"});
    EXPECT_EQ(file.listFind("S", "beta", "Key"), 2);
    EXPECT_EQ(file.listFind("S", "BETA", "Key"), 0);
    EXPECT_EQ(file.listFind("S", "delta", "Key"), 0);
    EXPECT_EQ(file.listItem("S", 0, "Key"), "");
    EXPECT_EQ(file.listItem("S", 4, "Key"), "");

    EXPECT_TRUE(file.listReplace("S", "beta", "BETA", "Key"));
    EXPECT_FALSE(file.listReplace("S", "beta", "x", "Key"));
    EXPECT_EQ(file.listItem("S", 2, "Key"), "BETA");

    EXPECT_TRUE(file.listRemove("S", "alpha", "Key"));
    EXPECT_FALSE(file.listRemove("S", "alpha", "Key"));
    EXPECT_EQ(file.listItem("S", 1, "Key"), "BETA");

    EXPECT_TRUE(file.listSet("S", 7, "far", "Key"));  // whatever the count
    EXPECT_EQ(file.getString("S", "Key7"), "far");
    EXPECT_EQ(file.listCount("S", "Key"), 2);
    EXPECT_FALSE(file.listSet("S", 0, "x", "Key"));
}

TEST(ProfileFileList, EmptySectionNameDoesNothing) {
    ProfileFile file;
    EXPECT_EQ(file.listAdd("", "x"), 0);
    EXPECT_EQ(file.listCount(""), 0);
    EXPECT_EQ(file.listFind("", "x"), 0);
    EXPECT_FALSE(file.listRemoveAt("", 1));
    EXPECT_FALSE(file.listSet("", 1, "x"));
    EXPECT_EQ(file.listItem("", 1), "");
    EXPECT_FALSE(file.isModified());
}

TEST(ProfileFileList, FirstOfDuplicateItemKeysIsTheItem) {
    const ProfileFile file = fromText("[S]\r\nCount=2\r\nItem1=a\r\nITEM1=b\r\nItem2=c\r\n");
    EXPECT_EQ(file.listFind("S", "b"), 0);
    EXPECT_EQ(file.listFind("S", "c"), 2);
    // Leading zeros name another key.
    EXPECT_EQ(fromText("[S]\r\nCount=1\r\nItem01=a\r\n").listFind("S", "a"), 0);
}

TEST(ProfileFileList, StoredCountsAreBelievedOnlyAsFarAsItemsArePresent) {
    const std::string longItem = std::string(5000, 'v');
    struct Case {
        const char* name;
        std::string text;
        std::vector<std::string> items;
    };
    const Case cases[] = {
        {"count as stored", "[S]\r\nCount=2\r\nItem1=a\r\nItem2=b\r\n", {"a", "b"}},
        {"a gap reads as empty", "[S]\r\nCount=3\r\nItem1=a\r\nItem3=c\r\n", {"a", "", "c"}},
        {"items beyond the count are not read", "[S]\r\nCount=1\r\nItem1=a\r\nItem2=b\r\n", {"a"}},
        {"missing last items are not listed",
         "[S]\r\nCount=9\r\nItem1=a\r\nItem2=b\r\n",
         {"a", "b"}},
        {"huge count, few items", "[S]\r\nCount=100000000\r\nItem1=a\r\nItem2=b\r\n", {"a", "b"}},
        {"no more items than the section has keys",
         "[S]\r\nCount=2147483647\r\nItem1=a\r\nItem3=c\r\nItem2000000000=z\r\n",
         {"a", "", "c"}},
        {"long items are cut",
         "[S]\r\nCount=3\r\nItem2=" + longItem + "\r\nItem3=c\r\n",
         {"", std::string(4095, 'v'), "c"}},
        {"negative", "[S]\r\nCount=-4\r\nItem1=a\r\n", {}},
        {"no count", "[S]\r\nItem1=a\r\n", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ProfileFile file = fromText(c.text);
        EXPECT_EQ(file.listCount("S"), static_cast<int>(c.items.size()));
        EXPECT_EQ(file.listItems("S"), c.items);
        EXPECT_EQ(file.listItem("S", static_cast<int>(c.items.size()) + 1), "");
    }

    // Changes follow the count as read.
    ProfileFile huge = fromText("[S]\r\nCount=2147483647\r\nItem1=a\r\nItem2=b\r\n");
    EXPECT_EQ(huge.listAdd("S", "new"), 2);
    ASSERT_TRUE(huge.listRemoveAt("S", 1));
    EXPECT_EQ(huge.serialize(), "\r\n[S]\r\nCount=2\r\nItem1=b\r\nItem2=new\r\n");

    ProfileFile negative = fromText("[S]\r\nCount=-4\r\n");
    EXPECT_TRUE(negative.listItems("Missing").empty());
    EXPECT_EQ(negative.listAdd("S", "a"), 0);
    EXPECT_EQ(negative.serialize(), "\r\n[S]\r\nCount=1\r\nItem1=a\r\n");
}

// The list operations written plainly over single reads and writes, item by
// item: the reference that the one-pass versions must match byte for byte.
int referenceFind(const ProfileFile& file, const std::string& text) {
    const int count = file.listCount("S");
    for (int i = 1; i <= count; ++i) {
        if (file.getString("S", "Item" + std::to_string(i)) == text) return i;
    }
    return 0;
}

bool referenceRemoveAt(ProfileFile& file, int index) {
    const int count = file.listCount("S");
    if (index < 1 || index > count) return false;
    for (int i = index; i < count; ++i) {
        file.writeString("S", "Item" + std::to_string(i),
                         file.getString("S", "Item" + std::to_string(i + 1)));
    }
    file.writeString("S", "Item" + std::to_string(count), "");
    file.writeInt("S", "Count", count - 1);
    return true;
}

TEST(ProfileFileList, OnePassOperationsMatchThePlainOnes) {
    std::mt19937 random(20240607);
    const std::string texts[] = {"", "a", "b", "A", "c"};
    for (int round = 0; round < 400; ++round) {
        // A list with gaps, empty items, duplicate keys, odd numbering and
        // unrelated keys, in shuffled order.
        const int count = static_cast<int>(random() % 7);
        std::vector<std::string> lines = {"Count=" + std::to_string(count), "Other=1", "Item0=z",
                                          "Item01=z", "ItemX=z"};
        for (int i = 1; i <= count + 2; ++i) {
            const unsigned copies = random() % 4 == 0 ? 2 : (random() % 3 == 0 ? 0 : 1);
            for (unsigned copy = 0; copy < copies; ++copy) {
                lines.push_back((random() % 2 ? "Item" : "ITEM") + std::to_string(i) + "=" +
                                texts[random() % std::size(texts)]);
            }
        }
        std::shuffle(lines.begin(), lines.end(), random);
        std::string text = "[S]\r\n";
        for (const std::string& line : lines)
            text += line + "\r\n";
        SCOPED_TRACE(text);

        const ProfileFile original = fromText(text);
        const std::vector<std::string> items = original.listItems("S");
        ASSERT_EQ(items.size(), static_cast<std::size_t>(original.listCount("S")));
        for (int index = 1; index <= original.listCount("S"); ++index) {
            EXPECT_EQ(items[static_cast<std::size_t>(index - 1)], original.listItem("S", index))
                << index;
        }
        for (const std::string& wanted : texts) {
            EXPECT_EQ(original.listFind("S", wanted), referenceFind(original, wanted)) << wanted;
        }
        for (int index = 0; index <= count + 1; ++index) {
            SCOPED_TRACE(index);
            ProfileFile onePass = original;
            ProfileFile plain = original;
            EXPECT_EQ(onePass.listRemoveAt("S", index), referenceRemoveAt(plain, index));
            EXPECT_EQ(onePass.serialize(), plain.serialize());
            EXPECT_EQ(onePass.isModified(), plain.isModified());
        }
    }
}

// ---------------------------------------------------------------------------
// Files on disk

const std::string kRealisticSettings =
    "\r\n[Projects]\r\n"
    "Item1=Default\r\n"
    "Count=3\r\n"
    "Item2=Shop Site\r\n"
    "Item3=Blog - 2004\r\n"
    "Current=Shop Site\r\n"
    "\r\n[Default]\r\n"
    "CurrentSearchEngine=Generic Engine (Template Page)\r\n"
    "\r\n[Shop Site]\r\n"
    "Folder=/home/ann/sites/shop\r\n"
    "Home Url=http://www.example.com/\r\n"
    "Key1=garden tools\r\n"
    "KeyCount=2\r\n"
    "Key2=Rasenm\xe4her g\xfcnstig\r\n"
    "CurrentKey=garden tools\r\n"
    "File1=index.html\r\n"
    "FileCount=3\r\n"
    "File2=*products/list.htm\r\n"
    "File3=/srv/other/about.html\r\n"
    "CurrentSearchEngine=Engine A=B\r\n"
    "\r\n[Options]\r\n"
    "EnableToolTips=0\r\n"
    "MinWordLength=4\r\n"
    "OpenRunApplication=/usr/bin/firefox\r\n"
    "MainWindowRect=-8,-8,1288,1008\r\n"
    "DetailedDescriptionWindowSize=10,10,600,500,1\r\n";

TEST(ProfileFileDisk, RealisticFileRoundTripsByteForByte) {
    ScratchFolder folder;
    const std::string path = folder.file("Quorvel.hc");
    ASSERT_TRUE(writeBytes(path, kRealisticSettings));

    ProfileFile file;
    ASSERT_TRUE(file.open(path, true));
    EXPECT_EQ(file.serialize(), kRealisticSettings);
    EXPECT_EQ(file.getString("Shop Site", "File2"), "*products/list.htm");
    EXPECT_EQ(file.getString("Shop Site", "CurrentSearchEngine"), "Engine A=B");

    // A change and its undoing: the save writes the same bytes.
    ASSERT_TRUE(file.writeString("Options", "MinWordLength", "5"));
    ASSERT_TRUE(file.writeString("Options", "MinWordLength", "4"));
    ASSERT_TRUE(file.save());
    EXPECT_FALSE(file.isModified());
    EXPECT_EQ(readBytes(path), kRealisticSettings);
}

TEST(ProfileFileDisk, UnmodifiedSaveLeavesTheFileAlone) {
    ScratchFolder folder;
    const std::string path = folder.file("a.hc");
    const std::string text = "; hand-written\n[S]\nk = v\n";
    ASSERT_TRUE(writeBytes(path, text));
    ProfileFile file;
    ASSERT_TRUE(file.open(path, true));
    ASSERT_TRUE(file.save());
    EXPECT_EQ(readBytes(path), text);

    ASSERT_TRUE(file.writeString("S", "k", "w"));
    ASSERT_TRUE(file.save());
    EXPECT_EQ(readBytes(path), "\r\n[S]\r\nk=w\r\n");
}

TEST(ProfileFileDisk, MissingFileLoadsEmptyAndSaveCreatesItWithItsFolders) {
    ScratchFolder folder;
    const std::string path = folder.file("config/Maltrane/Quorvel/Quorvel.hc");
    ProfileFile file;
    EXPECT_FALSE(file.open(path, true));
    EXPECT_TRUE(file.sectionNames().empty());
    EXPECT_EQ(file.fileName(), path);
    ASSERT_TRUE(file.writeString("Options", "EnableToolTips", "1"));
    ASSERT_TRUE(file.save());
    EXPECT_EQ(readBytes(path), "\r\n[Options]\r\nEnableToolTips=1\r\n");
}

TEST(ProfileFileDisk, SaveWithoutNameFails) {
    ProfileFile file;
    file.writeString("S", "k", "v");
    EXPECT_FALSE(file.save());
    EXPECT_TRUE(file.isModified());
}

TEST(ProfileFileDisk, LoadKeepsTheModifiedFlag) {
    ScratchFolder folder;
    const std::string path = folder.file("a.hc");
    ASSERT_TRUE(writeBytes(path, "[S]\r\nk=disk\r\n"));
    ProfileFile file;
    ASSERT_TRUE(file.open(path, false));
    file.writeString("S", "k", "memory");
    ASSERT_TRUE(file.load());
    EXPECT_TRUE(file.isModified());
    EXPECT_EQ(file.getString("S", "k"), "disk");
}

TEST(ProfileFileDisk, ReadsNeverReloadOnlyLoadDoes) {
    ScratchFolder folder;
    const std::string path = folder.file("Quorvel.chk");
    ProfileFile file;
    EXPECT_FALSE(file.open(path, true));
    // The file appears later (another program or an update wrote it): reads
    // keep what is in memory, so a reader on another thread sees no change.
    ASSERT_TRUE(writeBytes(path, "[SearchEngines]\r\nCount=1\r\nItem1=Engine\r\n"));
    EXPECT_EQ(file.listItem("SearchEngines", 1), "");
    EXPECT_TRUE(file.sectionNames().empty());
    EXPECT_FALSE(file.isModified());
    ASSERT_TRUE(file.load());
    EXPECT_EQ(file.listItem("SearchEngines", 1), "Engine");
}

TEST(ProfileFileDisk, UnsavedDeletionsAreNotUndoneByAReload) {
    ScratchFolder folder;
    const std::string path = folder.file("a.hc");
    ASSERT_TRUE(writeBytes(path, "[S]\r\nk=v\r\n"));
    ProfileFile file;
    ASSERT_TRUE(file.open(path, true));
    ASSERT_TRUE(file.deleteSection("S"));
    EXPECT_EQ(file.getString("S", "k", "gone"), "gone");
    EXPECT_TRUE(file.isModified());
    ASSERT_TRUE(file.save());
    EXPECT_EQ(readBytes(path), "");
    EXPECT_EQ(file.getString("S", "k", "gone"), "gone");
}

TEST(ProfileFileDisk, FailedSaveKeepsTheOldFileAndTheModifiedFlag) {
    using Fault = FaultyFileCalls::Fault;
    const Fault faults[] = {Fault::CreateFile, Fault::ShortWrite, Fault::Sync, Fault::Close,
                            Fault::Rename};
    for (Fault fault : faults) {
        SCOPED_TRACE(static_cast<int>(fault));
        ScratchFolder folder;
        const std::string path = folder.file("Quorvel.hc");
        ASSERT_TRUE(writeBytes(path, kRealisticSettings));
        ProfileFile file;
        ASSERT_TRUE(file.open(path, true));
        FaultyFileCalls calls(fault);
        file.setFileCalls(calls);
        ASSERT_TRUE(file.writeString("Options", "MinWordLength", "7"));

        const FileResult saved = file.save();
        EXPECT_FALSE(saved.ok);
        // The message names the file, the failed step and the system's reason.
        EXPECT_EQ(saved.fileName, path);
        EXPECT_EQ(saved.message().rfind("'" + path + "': ", 0), 0u) << saved.message();
        EXPECT_NE(saved.reason.find(": "), std::string::npos) << saved.reason;
        EXPECT_TRUE(file.isModified());
        EXPECT_EQ(readBytes(path), kRealisticSettings);
        EXPECT_EQ(folder.names(), std::vector<std::string>{"Quorvel.hc"});
        EXPECT_EQ(file.getInt("Options", "MinWordLength", 0), 7);  // memory keeps the change

        file.setFileCalls(systemFileCalls());  // the next save succeeds
        ASSERT_TRUE(file.save());
        EXPECT_FALSE(file.isModified());
        EXPECT_NE(readBytes(path)->find("MinWordLength=7\r\n"), std::string::npos);
    }
}

// ---------------------------------------------------------------------------
// UTF-16 files

std::string utf16Le(std::u16string_view text) {
    std::string bytes = "\xFF\xFE";
    for (char16_t unit : text) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}

const std::u16string kUnicodeSettings =
    u"[Projects]\r\nCount=1\r\nItem1=Caf\u00e9 \u20ac\r\n[Caf\u00e9 "
    u"\u20ac]\r\nKey1=\u65e5\u672c\r\n";
const std::string kConvertedSettings =
    "[Projects]\r\nCount=1\r\nItem1=Caf\xe9 \x80\r\n[Caf\xe9 \x80]\r\nKey1=??\r\n";

TEST(ProfileFileUnicode, ConvertedInPlaceWithBackup) {
    ScratchFolder folder;
    const std::string path = folder.file("Quorvel.hc");
    const std::string original = utf16Le(kUnicodeSettings);
    ASSERT_TRUE(writeBytes(path, original));

    ProfileFile file;
    ASSERT_TRUE(file.open(path, true));
    EXPECT_EQ(file.listItem("Projects", 1), "Caf\xe9 \x80");
    EXPECT_EQ(file.getString("caf\xe9 \x80", "Key1"), "??");
    EXPECT_FALSE(file.isModified());
    EXPECT_EQ(readBytes(path), kConvertedSettings);
    EXPECT_EQ(readBytes(path + "u"), original);
}

TEST(ProfileFileUnicode, ConvertedWithoutBackupWhenNotAskedFor) {
    ScratchFolder folder;
    const std::string path = folder.file("Quorvel.chk");
    ASSERT_TRUE(writeBytes(path, utf16Le(kUnicodeSettings)));
    ProfileFile file;
    ASSERT_TRUE(file.open(path, false));
    EXPECT_EQ(readBytes(path), kConvertedSettings);
    EXPECT_EQ(folder.names(), std::vector<std::string>{"Quorvel.chk"});
}

TEST(ProfileFileUnicode, AbandonedWhenTheBackupCannotBeMadeOrTheReadIsShort) {
    using Fault = FaultyFileCalls::Fault;
    struct Case {
        const char* name;
        Fault fault;
        std::string pathPart;
        bool backupFolderInTheWay;
    } cases[] = {
        {"backup cannot be created", Fault::CreateFile, ".hcu", false},
        {"a folder holds the backup name", Fault::None, "", true},
        {"short read", Fault::ShortRead, "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchFolder folder;
        const std::string path = folder.file("Quorvel.hc");
        // The text parses even unconverted: every other byte is a NUL.
        const std::string original = utf16Le(u"[S]\r\nk=v\r\n");
        ASSERT_TRUE(writeBytes(path, original));
        if (c.backupFolderInTheWay) {
            ASSERT_TRUE(std::filesystem::create_directory(path + "u"));
        }
        FaultyFileCalls calls(c.fault, c.pathPart);
        ProfileFile file;
        file.setFileCalls(calls);
        ASSERT_TRUE(file.open(path, true));
        EXPECT_EQ(readBytes(path), original);
        EXPECT_EQ(file.getString("S", "k", "none"), "none");  // parsed unchanged
        const std::string unconverted = ProfileFile(file).serialize();
        ProfileFile raw;
        raw.loadFromText(original);
        EXPECT_EQ(unconverted, raw.serialize());
    }
}

TEST(ProfileFileUnicode, OddLengthAndEmptyText) {
    struct Case {
        const char* name;
        std::string bytes;
        std::string expectedFile;
    } cases[] = {
        {"odd final byte dropped", utf16Le(u"[S]\r\nk=v") + "x", "[S]\r\nk=v"},
        {"mark only", "\xFF\xFE", ""},
        {"mark and one byte",
         "\xFF\xFE"
         "A",
         ""},
        {"surrogate pair", utf16Le(u"[S]\r\nk=\U0001F600"), "[S]\r\nk=??"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchFolder folder;
        const std::string path = folder.file("a.hc");
        ASSERT_TRUE(writeBytes(path, c.bytes));
        ProfileFile file;
        EXPECT_TRUE(file.open(path, true));
        EXPECT_EQ(readBytes(path), c.expectedFile);
        EXPECT_EQ(readBytes(path + "u"), c.bytes);
    }
}

std::string utf16Be(std::u16string_view text) {
    std::string bytes = "\xFE\xFF";
    for (char16_t unit : text) {
        bytes += static_cast<char>(unit >> 8);
        bytes += static_cast<char>(unit & 0xFF);
    }
    return bytes;
}

// Every way a file may begin: what is read, and what the file holds after a
// read-write open (read-only opens must leave every one of them untouched).
struct MarkCase {
    const char* name;
    std::string bytes;
    std::string convertedFile;  // empty: the file is not rewritten
};
std::vector<MarkCase> markCases() {
    return {
        {"UTF-16 little-endian", utf16Le(kUnicodeSettings), kConvertedSettings},
        {"UTF-16 big-endian", utf16Be(kUnicodeSettings), kConvertedSettings},
        {"UTF-8 mark", "\xEF\xBB\xBF" + kConvertedSettings, ""},
        {"no mark", kConvertedSettings, ""},
    };
}

TEST(ProfileFileUnicode, EveryMarkReadsTheSameEntries) {
    for (const MarkCase& c : markCases()) {
        for (const bool readOnly : {false, true}) {
            SCOPED_TRACE(std::string(c.name) + (readOnly ? ", read-only" : ", read-write"));
            ScratchFolder folder;
            const std::string path = folder.file("Quorvel.hc");
            ASSERT_TRUE(writeBytes(path, c.bytes));
            ProfileFile file;
            ASSERT_TRUE(readOnly ? file.openReadOnly(path) : file.open(path, true));
            // The first section is found: a mark is not part of its name.
            EXPECT_EQ(file.listItem("Projects", 1), "Caf\xe9 \x80");
            EXPECT_EQ(file.getString("caf\xe9 \x80", "Key1"), "??");
            EXPECT_FALSE(file.isModified());

            const bool converted = !readOnly && !c.convertedFile.empty();
            EXPECT_EQ(readBytes(path), converted ? c.convertedFile : c.bytes);
            EXPECT_EQ(pathExists(path + "u"), converted);
            if (converted) {
                EXPECT_EQ(readBytes(path + "u"), c.bytes);
            }
        }
    }
}

TEST(ProfileFileReadOnly, NothingIsEverWritten) {
    for (const MarkCase& c : markCases()) {
        SCOPED_TRACE(c.name);
        ScratchFolder folder;
        const std::string path = folder.file("Quorvel.chk");
        ASSERT_TRUE(writeBytes(path, c.bytes));
        ProfileFile file;
        ASSERT_TRUE(file.openReadOnly(path));
        EXPECT_TRUE(file.isReadOnly());
        ASSERT_TRUE(file.load());
        ASSERT_TRUE(file.writeString("Projects", "Item2", "more"));
        const FileResult saved = file.save();
        EXPECT_FALSE(saved.ok);
        EXPECT_EQ(saved.fileName, path);
        EXPECT_NE(saved.message().find("reading only"), std::string::npos) << saved.message();
        EXPECT_TRUE(file.isModified());
        EXPECT_EQ(readBytes(path), c.bytes);
        EXPECT_EQ(folder.names(), std::vector<std::string>{"Quorvel.chk"});
    }
}

// ---------------------------------------------------------------------------
// Malformed input

TEST(ProfileFileMalformed, SaveLoadSaveIsStable) {
    std::string binary;
    for (int i = 0; i < 4096; ++i)
        binary += static_cast<char>((i * 7919) % 256);
    struct Case {
        const char* name;
        std::string text;
    } cases[] = {
        {"no equals anywhere", "[S]\r\nabc\r\ndef\r\n"},
        {"empty keys", "[S]\r\n=\r\n=x\r\n = y\r\n"},
        {"duplicate sections and keys", "[S]\r\nk=1\r\n[S]\r\nk=2\r\nk=3\r\n[s]\r\n"},
        {"NUL bytes", std::string("[\0]\r\n\0=\0\r\nk=\0\0\r\n", 16)},
        {"only line ends", "\r\n\n\r\r\r\n"},
        {"very long line", std::string("[S]\r\nk=").append(50000, 'x').append("=y\r\n")},
        {"very long section header", std::string("[").append(20000, 's').append("]\r\nk=v\r\n")},
        {"value with lone CR", "[S]\r\nk=a\rb\r\n"},
        {"key with leading blanks and brackets", "[S]\r\n  [k=v]\r\n"},
        {"blank at the 64th byte of a long key", "[S]\r\n" + std::string(63, 'k') + " x=v\r\n"},
        {"line split after a CR", "[S]\r\nk=" + std::string(8253, 'v') + "\r\rx=1\r\n"},
        {"binary bytes", binary},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string first = fromText(c.text).serialize();
        const std::string second = fromText(first).serialize();
        EXPECT_EQ(second, first);
    }
}

TEST(ProfileFileMalformed, CorpusFilesLoadAndSaveStably) {
    const std::string corpus = testing::html5libCorpusFolder().string();
    QUORVEL_NEEDS_SHARED_FOLDER(corpus);
    int checked = 0;
    std::error_code error;
    for (auto it = std::filesystem::recursive_directory_iterator(corpus, error);
         it != std::filesystem::recursive_directory_iterator() && checked < 200;
         it.increment(error)) {
        if (!it->is_regular_file()) continue;
        const std::optional<std::string> bytes = readBytes(it->path().string());
        if (!bytes) continue;
        SCOPED_TRACE(it->path().string());
        const std::string first = fromText("[S]\r\n" + *bytes).serialize();
        EXPECT_EQ(fromText(first).serialize(), first);
        ++checked;
    }
    EXPECT_GT(checked, 0) << "no file in " << corpus;
}

}  // namespace
}  // namespace quorvel
