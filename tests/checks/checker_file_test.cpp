#include "checks/checker_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "settings/user_settings.h"

namespace quorvel {
namespace {

constexpr int kTitle = 0;
constexpr int kMeta = 1;
constexpr int kBody = 2;
constexpr int kTips = 6;
const std::string kGeneric(kDefaultEngineName);

std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeBytes(const std::string& path, std::string_view bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// ---------------------------------------------------------------------------
// Message formatting

TEST(FormatCheckMessage, InsertsAndPercentSigns) {
    struct Case {
        std::string_view text, insert1, insert2, expected;
    };
    const Case cases[] = {
        {"Limit to %1 instead of %2.", "70", "85", "Limit to 70 instead of 85."},
        {"first %1%% instead of %2%%.", "30", "12", "first 30% instead of 12%."},
        {"only %2 here", "x", "7", "only 7 here"},
        {"%1%1%2", "a", "b", "aab"},
        // Texts without %1 and %2 are not formatted: %% stays doubled.
        {"100%% sure", "1", "2", "100%% sure"},
        {"A title tag is not present on your page.", "", "5",
         "A title tag is not present on your page."},
        {"", "1", "2", ""},
        // Anything else after a percent sign is kept as it stands.
        {"%3 and %n and %1", "A", "B", "%3 and %n and A"},
        {"%1 ends with %", "A", "B", "A ends with %"},
        {"%", "A", "B", "%"},
        {"%10", "A", "B", "A0"},
        {"%%1 is %2", "A", "B", "%1 is B"},
        {"%1!s!", "A", "B", "A!s!"},
        // Inserts are copied, never formatted again.
        {"%1 / %2", "%2%%", "%1", "%2%% / %1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.text));
        EXPECT_EQ(formatCheckMessage(c.text, c.insert1, c.insert2), c.expected);
    }
}

TEST(MeasuredText, IntegerKeepsLow16Bits) {
    struct Case {
        std::uint32_t measured;
        std::string_view expected;
    };
    const Case cases[] = {
        {0, "0"}, {85, "85"}, {65535, "65535"}, {65536, "0"}, {65537, "1"}, {0xFFFFFFFFu, "65535"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.measured);
        EXPECT_EQ(measuredText(c.measured), c.expected);
    }
}

TEST(MeasuredText, RealHasTwoDecimals) {
    struct Case {
        double measured;
        std::string_view expected;
    };
    const Case cases[] = {
        {3.14159, "3.14"}, {5.0, "5.00"},   {0.0, "0.00"},       {4.0, "4.00"},
        {2.675, "2.67"},   {-1.5, "-1.50"}, {1e6, "1000000.00"}, {0.005, "0.01"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.measured);
        EXPECT_EQ(measuredText(c.measured), c.expected);
    }
}

// ---------------------------------------------------------------------------
// Keys

TEST(CheckKey, IndexCategoryAndField) {
    struct Case {
        int category, index;
        CheckField field;
        std::string_view key;
    };
    const Case cases[] = {
        {kTitle, 0, CheckField::Enable, "0TitleEnable"},
        {kTitle, 9, CheckField::Value, "9TitleValue"},
        {kMeta, 22, CheckField::Msg, "22MetaMsg"},
        {kTips, 14, CheckField::Descr, "14TipsDescr"},
        {3, 3, CheckField::Cat, "3ImagesCat"},
        {5, 13, CheckField::Name, "13MiscName"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.key));
        EXPECT_EQ(CheckerFile::checkKey(c.category, c.index, c.field), c.key);
        const auto parsed = CheckerFile::parseCheckKey(c.key);
        ASSERT_TRUE(parsed.has_value());
        EXPECT_EQ(parsed->category, c.category);
        EXPECT_EQ(parsed->index, c.index);
        EXPECT_EQ(parsed->field, c.field);
    }
}

TEST(CheckKey, ParsingIgnoresCaseOfNames) {
    struct Case {
        std::string_view key;
        bool valid;
    };
    const Case cases[] = {
        {"1titlevalue", true},     {"22METAMSG", true},
        {"0bOdYeNaBlE", true},     {"01TitleValue", false},
        {"10TitleValue", false},   {"23MetaMsg", false},
        {"TitleValue", false},     {"1TitleValues", false},
        {"1Title", false},         {"", false},
        {"999TitleName", false},   {"1 TitleValue", false},
        {"1TitleValue ", false},   {"-1TitleValue", false},
        {"1SearchEngines", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.key));
        EXPECT_EQ(CheckerFile::parseCheckKey(c.key).has_value(), c.valid);
    }
}

TEST(CheckKey, EveryFieldKeyParsesBack) {
    for (int c = 0; c < kCategoryCount; ++c) {
        for (int i = 0; i < checkCount(c); ++i) {
            for (int f = 0; f < kFieldCount; ++f) {
                const std::string key = CheckerFile::checkKey(c, i, static_cast<CheckField>(f));
                SCOPED_TRACE(key);
                const auto parsed = CheckerFile::parseCheckKey(key);
                ASSERT_TRUE(parsed.has_value());
                EXPECT_EQ(CheckerFile::checkKey(parsed->category, parsed->index, parsed->field),
                          key);
            }
        }
    }
}

// ---------------------------------------------------------------------------
// Fields of the current engine (no settings: the generic engine is current)

class CheckerFields : public ::testing::Test {
protected:
    // The stored value of a key in the generic engine's section.
    std::string stored(std::string_view key) const {
        return checker.profile().getString(kGeneric, key, "<absent>");
    }
    CheckerFile checker;
};

TEST_F(CheckerFields, EmptyFileGivesCatalogueDefaults) {
    EXPECT_EQ(checker.currentEngine(), kGeneric);
    EXPECT_EQ(checker.engineName(0), kGeneric);
    EXPECT_EQ(checker.engineCount(), 0);
    EXPECT_EQ(checker.effectiveField(kTitle, 1, CheckField::Value), "70");
    EXPECT_EQ(checker.effectiveField(kTitle, 9, CheckField::Value), "a,an,and,the,for,if");
    EXPECT_EQ(checker.effectiveField(kTitle, 0, CheckField::Value), "");
    EXPECT_TRUE(checker.caseSensitive(kGeneric));
    EXPECT_TRUE(checker.caseSensitive("Any Engine"));
    EXPECT_TRUE(checker.checkEnabled(kTitle, 0));
    EXPECT_FALSE(checker.checkEnabled(kMeta, 15));
    EXPECT_FALSE(checker.checkEnabled(kTips, 0));
}

TEST_F(CheckerFields, SettingAndResettingAnOverride) {
    EXPECT_TRUE(checker.setField(kTitle, 1, CheckField::Value, "60"));
    EXPECT_EQ(stored("1TitleValue"), "60");
    EXPECT_FALSE(checker.hasNoOverride(kTitle, 1, CheckField::Value));
    EXPECT_EQ(checker.effectiveField(kTitle, 1, CheckField::Value), "60");

    // Back to the default: the key goes.
    EXPECT_TRUE(checker.setField(kTitle, 1, CheckField::Value, "70"));
    EXPECT_EQ(stored("1TitleValue"), "<absent>");
    EXPECT_TRUE(checker.hasNoOverride(kTitle, 1, CheckField::Value));
    EXPECT_EQ(checker.profile().serialize(), "");
}

TEST_F(CheckerFields, EmptyTextRemovesTheOverride) {
    checker.setField(kTitle, 1, CheckField::Msg, "Short title please.");
    checker.setField(kTitle, 1, CheckField::Msg, "");
    EXPECT_EQ(stored("1TitleMsg"), "<absent>");
    EXPECT_EQ(checker.effectiveField(kTitle, 1, CheckField::Msg),
              defaultText(kTitle, 1, CheckField::Msg));
    // An empty default stays empty; nothing is stored.
    checker.setField(kTitle, 0, CheckField::Value, "");
    EXPECT_EQ(stored("0TitleValue"), "<absent>");
}

TEST_F(CheckerFields, StoredEmptyValueIsNoOverride) {
    checker.profile().loadFromText("[" + kGeneric + "]\r\n1TitleValue=\r\n0TitleEnable=0\r\n");
    EXPECT_TRUE(checker.hasNoOverride(kTitle, 1, CheckField::Value));
    EXPECT_EQ(checker.effectiveField(kTitle, 1, CheckField::Value), "70");
    EXPECT_FALSE(checker.hasNoOverride(kTitle, 0, CheckField::Enable));
    EXPECT_FALSE(checker.checkEnabled(kTitle, 0));
}

TEST_F(CheckerFields, KeysAndSectionsMatchWithoutCaseButValuesExactly) {
    checker.profile().loadFromText("[generic engine (TEMPLATE page)]\r\n1titlevalue=55\r\n");
    EXPECT_EQ(checker.effectiveField(kTitle, 1, CheckField::Value), "55");
    // A text differing from the default only in letter case is an override.
    checker.setField(kTitle, 0, CheckField::Name, "tag presence");
    EXPECT_EQ(stored("0TitleName"), "tag presence");
    EXPECT_EQ(checker.effectiveField(kTitle, 0, CheckField::Name), "tag presence");
    checker.setField(kTitle, 0, CheckField::Name, "Tag presence");
    EXPECT_EQ(stored("0TitleName"), "<absent>");
}

TEST_F(CheckerFields, UnchangedTextChangesNothing) {
    checker.profile().loadFromText("[" + kGeneric + "]\r\n1TitleValue=60\r\n");
    ASSERT_FALSE(checker.profile().isModified());
    checker.setField(kTitle, 1, CheckField::Value, "60");
    checker.setField(kTitle, 2, CheckField::Value, "30");
    EXPECT_FALSE(checker.profile().isModified());
}

TEST_F(CheckerFields, LineBreaksAreStoredAsSpaces) {
    checker.setField(kTitle, 0, CheckField::Descr, "first\r\nsecond");
    EXPECT_EQ(stored("0TitleDescr"), "first  second");
}

TEST_F(CheckerFields, OverlongTextIsRefused) {
    checker.setField(kTitle, 1, CheckField::Descr, "kept");
    EXPECT_FALSE(checker.setField(kTitle, 1, CheckField::Descr, std::string(4096, 'x')));
    EXPECT_EQ(stored("1TitleDescr"), "kept");
    EXPECT_TRUE(checker.setField(kTitle, 1, CheckField::Descr, std::string(4095, 'x')));
}

TEST_F(CheckerFields, EnableIsOffOnlyForExactlyZero) {
    struct Case {
        std::string_view enable;
        bool enabled;
    };
    const Case cases[] = {{"0", false}, {"1", true}, {"2", true}, {"00", true}, {" 0", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.enable));
        checker.setField(kBody, 3, CheckField::Enable, c.enable);
        EXPECT_EQ(checker.checkEnabled(kBody, 3), c.enabled);
        EXPECT_EQ(checker.resolve(kGeneric).enabled(kBody, 3), c.enabled);
    }
}

TEST_F(CheckerFields, MessagesFormatMsgAndDescrOnly) {
    EXPECT_EQ(checker.message(kTitle, 1, CheckField::Msg, 85u),
              "Limit your title tag to 70 characters, including spaces, instead of 85.");
    EXPECT_EQ(checker.message(kTitle, 1, CheckField::Msg, 65537u),
              "Limit your title tag to 70 characters, including spaces, instead of 1.");
    EXPECT_EQ(checker.message(kTitle, 2, CheckField::Msg, 12u),
              "Place your keywords within the first 30% of the words in the title tag instead of "
              "12%.");
    EXPECT_EQ(checker.message(kTitle, 0, CheckField::Msg, 12345u),
              "A title tag is not present on your page.");
    EXPECT_EQ(checker.message(kBody, 7, CheckField::Msg, 3.14159),
              "Try for an overall keyword wt. of the visible body text of less than 4%. Current "
              "density is 3.14%");
    EXPECT_EQ(checker.message(kTitle, 1, CheckField::Descr, 0u),
              "Limit your title tag to 70 characters, including spaces. If your title tag is too "
              "long, the engine will cut it off in mid-sentence.");

    // %1 is the effective Value; fields other than Msg and Descr are plain.
    checker.setField(kTitle, 1, CheckField::Value, "60");
    checker.setField(kTitle, 1, CheckField::Name, "%1 of %2 100%%");
    EXPECT_EQ(checker.message(kTitle, 1, CheckField::Msg, 85u),
              "Limit your title tag to 60 characters, including spaces, instead of 85.");
    EXPECT_EQ(checker.message(kTitle, 1, CheckField::Name, 85u), "%1 of %2 100%%");
    EXPECT_EQ(checker.message(kTitle, 1, CheckField::Value, 85u), "60");
}

// ---------------------------------------------------------------------------
// Resolved rules

TEST_F(CheckerFields, ResolveAgreesWithEffectiveFields) {
    checker.profile().loadFromText(
        "[Other]\r\n1TitleValue=99\r\n"
        "[" +
        kGeneric +
        "]\r\nCaseSensitive=0\r\n1TitleValue=60\r\n0MetaEnable=0\r\n"
        "14TipsDescr=Use short paragraphs.\r\n5BodyMsg=\r\n9titlevalue=the,of\r\n");
    const EngineRules rules = checker.resolve(kGeneric);
    EXPECT_EQ(rules.engineName, kGeneric);
    EXPECT_FALSE(rules.caseSensitive);
    int overrides = 0;
    for (int c = 0; c < kCategoryCount; ++c) {
        for (int i = 0; i < checkCount(c); ++i) {
            EXPECT_EQ(rules.enabled(c, i), checker.checkEnabled(c, i));
            for (int f = 0; f < kFieldCount; ++f) {
                const auto field = static_cast<CheckField>(f);
                SCOPED_TRACE(CheckerFile::checkKey(c, i, field));
                EXPECT_EQ(rules.field(c, i, field), checker.effectiveField(c, i, field));
                EXPECT_EQ(rules.overridden(c, i, field), !checker.hasNoOverride(c, i, field));
                EXPECT_EQ(rules.message(c, i, field, 42u), checker.message(c, i, field, 42u));
                EXPECT_EQ(rules.message(c, i, field, 2.5), checker.message(c, i, field, 2.5));
                overrides += rules.overridden(c, i, field) ? 1 : 0;
            }
        }
    }
    EXPECT_EQ(overrides, 4);
    EXPECT_EQ(rules.field(kTitle, 9, CheckField::Value), "the,of");

    const EngineRules other = checker.resolve("other");
    EXPECT_EQ(other.field(kTitle, 1, CheckField::Value), "99");
    EXPECT_TRUE(other.caseSensitive);
    const EngineRules fresh = checker.resolve("Never Listed");
    EXPECT_EQ(fresh.field(kTitle, 1, CheckField::Value), "70");
    EXPECT_FALSE(fresh.overridden(kTitle, 1, CheckField::Value));
}

// ---------------------------------------------------------------------------
// Engines

class CheckerEngines : public ::testing::Test {
protected:
    void SetUp() override {
        checker.profile().loadFromText(
            "[SearchEngines]\r\nCount=3\r\nItem1=Alpha\r\nItem2=Beta\r\nItem3=Gamma\r\n"
            "[Beta]\r\nCaseSensitive=0\r\n1TitleValue=50\r\n"
            "[Gamma]\r\n0TitleEnable=0\r\n");
    }
    std::vector<std::string> engines() const {
        std::vector<std::string> names;
        for (int n = 1; n <= checker.engineCount(); ++n)
            names.push_back(checker.engineName(n));
        return names;
    }
    CheckerFile checker;
};

using Names = std::vector<std::string>;

TEST_F(CheckerEngines, ListAndFind) {
    EXPECT_EQ(engines(), (Names{"Alpha", "Beta", "Gamma"}));
    EXPECT_EQ(checker.engineName(4), "");
    EXPECT_EQ(checker.findEngine("Beta"), 2);
    EXPECT_EQ(checker.findEngine("beta"), 0);
    EXPECT_EQ(checker.findEngine("Delta"), 0);
}

TEST_F(CheckerEngines, AddKeepsExactDuplicatesOut) {
    checker.addEngine("Delta");
    checker.addEngine("Beta");
    checker.addEngine("BETA");
    EXPECT_EQ(engines(), (Names{"Alpha", "Beta", "Gamma", "Delta", "BETA"}));
    // A new engine has no section of its own.
    EXPECT_EQ(checker.profile().sectionNames(), (Names{"SearchEngines", "Beta", "Gamma"}));
    EXPECT_TRUE(checker.caseSensitive("Delta"));
}

TEST_F(CheckerEngines, DeleteRemovesSectionAndItem) {
    checker.deleteEngine("Beta");
    EXPECT_EQ(engines(), (Names{"Alpha", "Gamma"}));
    EXPECT_EQ(checker.profile().getString("SearchEngines", "Item3", "<absent>"), "<absent>");
    EXPECT_EQ(checker.resolve("Beta").field(kTitle, 1, CheckField::Value), "70");
    EXPECT_TRUE(checker.caseSensitive("Beta"));
    EXPECT_EQ(checker.profile().sectionNames(), (Names{"SearchEngines", "Gamma"}));
}

TEST_F(CheckerEngines, RenameMovesListItemAndSection) {
    EXPECT_TRUE(checker.renameEngine("Beta", "Bravo"));
    EXPECT_EQ(engines(), (Names{"Alpha", "Bravo", "Gamma"}));
    EXPECT_FALSE(checker.caseSensitive("Bravo"));
    EXPECT_EQ(checker.resolve("Bravo").field(kTitle, 1, CheckField::Value), "50");
    EXPECT_EQ(checker.resolve("Beta").field(kTitle, 1, CheckField::Value), "70");
    // An engine without overrides has no section; the list item still moves.
    EXPECT_TRUE(checker.renameEngine("Alpha", "Able"));
    EXPECT_EQ(engines(), (Names{"Able", "Bravo", "Gamma"}));
}

TEST_F(CheckerEngines, RenameRefusals) {
    struct Case {
        std::string_view oldName, newName;
    };
    const Case cases[] = {
        {"Beta", ""},
        {"Delta", "Echo"},
        {"beta", "Echo"},
        {"Beta", "searchengines"},
    };
    const std::string before = checker.profile().serialize();
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.oldName) + " -> " + std::string(c.newName));
        EXPECT_FALSE(checker.renameEngine(c.oldName, c.newName));
        EXPECT_EQ(checker.profile().serialize(), before);
    }
}

// The engine list lives in a section too; an engine of that name must not
// take the list with it.
TEST_F(CheckerEngines, EngineNamedLikeTheListSectionKeepsTheList) {
    checker.addEngine("SearchEngines");
    checker.profile().writeString("SearchEngines", "1TitleValue", "40");
    EXPECT_FALSE(checker.renameEngine("SearchEngines", "Other"));
    checker.deleteEngine("SearchEngines");
    EXPECT_EQ(engines(), (Names{"Alpha", "Beta", "Gamma"}));
    EXPECT_EQ(checker.resolve("SearchEngines").field(kTitle, 1, CheckField::Value), "70");
}

TEST_F(CheckerEngines, FieldsOfANamedEngine) {
    EXPECT_TRUE(checker.setEngineField("Gamma", kTitle, 1, CheckField::Value, "45"));
    EXPECT_EQ(checker.profile().getString("Gamma", "1TitleValue"), "45");
    EXPECT_EQ(checker.effectiveField(kTitle, 1, CheckField::Value), "70");  // current engine
    // The comparison is with the named engine's own fields.
    checker.setEngineField("Beta", kTitle, 1, CheckField::Value, "70");
    EXPECT_EQ(checker.profile().getString("Beta", "1TitleValue", "<absent>"), "<absent>");
    checker.setEngineField("Gamma", kTitle, 0, CheckField::Enable, "");
    EXPECT_TRUE(checker.resolve("Gamma").enabled(kTitle, 0));
}

TEST_F(CheckerEngines, CaseSensitivityDefaultsToOn) {
    EXPECT_TRUE(checker.caseSensitive("Alpha"));
    EXPECT_FALSE(checker.caseSensitive("Beta"));
    EXPECT_FALSE(checker.caseSensitive("beta"));
    checker.setCaseSensitive("Alpha", 0);
    EXPECT_EQ(checker.profile().getString("Alpha", "CaseSensitive"), "0");
    EXPECT_FALSE(checker.caseSensitive("Alpha"));
    checker.setCaseSensitive("Beta", 1);
    EXPECT_TRUE(checker.resolve("Beta").caseSensitive);
}

// ---------------------------------------------------------------------------
// The file on disk

class CheckerOnDisk : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("quorvel_checker_" + std::to_string(::getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::string path(std::string_view name) const { return (dir_ / name).string(); }
    std::filesystem::path dir_;
};

// A file as the program writes it, with 8-bit text in an override.
constexpr std::string_view kRealLookingFile =
    "\r\n[SearchEngines]\r\nCount=2\r\nItem1=Generic Engine (Template Page)\r\n"
    "Item2=Moteur fran\xe7"
    "ais\r\n"
    "\r\n[Generic Engine (Template Page)]\r\nCaseSensitive=1\r\n0MetaEnable=0\r\n"
    "9TitleValue=a,an,and,the,for,if,of\r\n"
    "\r\n[Moteur fran\xe7"
    "ais]\r\nCaseSensitive=0\r\n1TitleMsg=Titre trop long : %2 au lieu "
    "de %1 caract\xe8res.\r\n2BodyValue=15\r\n0TipsEnable=1\r\n"
    "0TipsName=Conseil\r\n0TipsDescr=Une valeur = avec un signe \xe9gal.\r\n";

TEST_F(CheckerOnDisk, RoundTripIsByteIdentical) {
    const std::string file = path("Quorvel.chk");
    writeBytes(file, kRealLookingFile);
    CheckerFile checker;
    ASSERT_TRUE(checker.open(file));
    EXPECT_EQ(checker.profile().serialize(), kRealLookingFile);
    EXPECT_EQ(checker.engineName(2),
              "Moteur fran\xe7"
              "ais");
    EXPECT_EQ(checker
                  .resolve("Moteur fran\xe7"
                           "ais")
                  .message(kTitle, 1, CheckField::Msg, 80u),
              "Titre trop long : 80 au lieu de 70 caract\xe8res.");

    // An edit undone leaves the bytes as they were; a save writes them back.
    checker.setField(kTitle, 1, CheckField::Value, "60");
    checker.setField(kTitle, 1, CheckField::Value, "70");
    ASSERT_TRUE(checker.profile().isModified());
    ASSERT_TRUE(checker.save());
    EXPECT_EQ(readBytes(file), kRealLookingFile);
}

TEST_F(CheckerOnDisk, SaveWritesOverridesAndReloadReadsThem) {
    const std::string file = path("Quorvel.chk");
    CheckerFile checker;
    EXPECT_FALSE(checker.open(file));
    checker.addEngine("Engine A");
    checker.setField(kTitle, 1, CheckField::Value, "60");
    ASSERT_TRUE(checker.save());
    EXPECT_EQ(readBytes(file),
              "\r\n[SearchEngines]\r\nItem1=Engine A\r\nCount=1\r\n"
              "\r\n[Generic Engine (Template Page)]\r\n1TitleValue=60\r\n");

    writeBytes(file, "[Generic Engine (Template Page)]\r\n1TitleValue=65\r\n");
    ASSERT_TRUE(checker.reload());
    EXPECT_EQ(checker.effectiveField(kTitle, 1, CheckField::Value), "65");
    EXPECT_EQ(checker.engineCount(), 0);
}

TEST_F(CheckerOnDisk, CheckFileDateOfItsOwnFile) {
    const std::string file = path("Quorvel.chk");
    CheckerFile checker;
    checker.open(file);
    EXPECT_EQ(checker.checkFileDate(DateOrder::YearMonthDay), "");
    writeBytes(file, kRealLookingFile);
    const std::string date = checker.checkFileDate(DateOrder::YearMonthDay);
    EXPECT_EQ(date, fileDateText(file, DateOrder::YearMonthDay));
    EXPECT_EQ(date.size(), 10u);
}

// The current engine comes from the current project of the settings.
TEST_F(CheckerOnDisk, CurrentEngineFollowsTheSettings) {
    writeBytes(path("Quorvel.hc"),
               "\r\n[Projects]\r\nCount=2\r\nItem1=Default\r\nItem2=Site\r\nCurrent=Site\r\n"
               "\r\n[Site]\r\nCurrentSearchEngine=Beta\r\n");
    UserSettings settings;
    ASSERT_TRUE(settings.open(path("Quorvel.hc")));
    CheckerFile checker(&settings);
    checker.profile().loadFromText("[Beta]\r\n1TitleValue=50\r\n");
    EXPECT_EQ(checker.currentEngine(), "Beta");
    EXPECT_EQ(checker.engineName(0), "Beta");
    EXPECT_EQ(checker.effectiveField(kTitle, 1, CheckField::Value), "50");
    checker.setField(kTitle, 2, CheckField::Value, "20");
    EXPECT_EQ(checker.profile().getString("Beta", "2TitleValue"), "20");

    settings.setCurrentProject("Default");
    EXPECT_EQ(checker.currentEngine(), kGeneric);
    EXPECT_EQ(checker.effectiveField(kTitle, 1, CheckField::Value), "70");
}

}  // namespace
}  // namespace quorvel
