#include "settings/user_settings.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "platform/scratch_folder.h"

namespace quorvel {
namespace {

using testing::readBytes;
using testing::ScratchFolder;
using testing::writeBytes;

// Settings opened from the given file content (none: a missing file).
struct OpenedSettings {
    explicit OpenedSettings(const std::string* content = nullptr) {
        path = folder.file("Quorvel.hc");
        if (content != nullptr) writeBytes(path, *content);
        settings.open(path);
    }
    ScratchFolder folder;
    std::string path;
    UserSettings settings;
};

const std::string kTwoProjects =
    "\r\n[Projects]\r\n"
    "Item1=Default\r\n"
    "Count=2\r\n"
    "Item2=Shop\r\n"
    "Current=Shop\r\n"
    "\r\n[Shop]\r\n"
    "Folder=/home/ann/shop\r\n"
    "Home Url=http://www.example.com/\r\n"
    "Key1=garden tools\r\n"
    "KeyCount=2\r\n"
    "Key2=lawn mower\r\n"
    "CurrentKey=lawn mower\r\n"
    "File1=a.html\r\n"
    "FileCount=3\r\n"
    "File2=b.html\r\n"
    "File3=*c.html\r\n"
    "CurrentSearchEngine=Engine B\r\n"
    "\r\n[Options]\r\n"
    "MinWordLength=5\r\n"
    "MainWindowRect=-8,-8,1288,1008\r\n";

TEST(UserSettingsProjects, FreshFileGetsTheDefaultProject) {
    OpenedSettings fresh;
    UserSettings& settings = fresh.settings;
    EXPECT_EQ(settings.currentProject(), "Default");
    EXPECT_EQ(settings.projectCount(), 1);
    EXPECT_EQ(settings.currentKeyword(), "");
    EXPECT_EQ(settings.currentEngine(), "Generic Engine (Template Page)");
    ASSERT_TRUE(settings.save());
    EXPECT_EQ(readBytes(fresh.path),
              "\r\n[Projects]\r\nItem1=Default\r\nCount=1\r\nCurrent=Default\r\n");
}

TEST(UserSettingsProjects, StoredSelectionsAreRead) {
    OpenedSettings opened(&kTwoProjects);
    UserSettings& settings = opened.settings;
    EXPECT_EQ(settings.currentProject(), "Shop");
    EXPECT_EQ(settings.currentKeyword(), "lawn mower");
    EXPECT_EQ(settings.folder(), "/home/ann/shop");
    EXPECT_EQ(settings.homeUrl(), "http://www.example.com/");
    EXPECT_EQ(settings.currentEngine(), "Engine B");
    EXPECT_EQ(settings.projectName(0), "Shop");
    EXPECT_EQ(settings.projectName(1), "Default");
    EXPECT_EQ(settings.projectName(3), "");
    EXPECT_FALSE(settings.profile().isModified());  // opening changed nothing
}

TEST(UserSettingsProjects, EmptyCurrentAddsDefaultOnlyOnce) {
    const std::string text = "[Projects]\r\nCount=2\r\nItem1=Site\r\nItem2=Default\r\n";
    OpenedSettings opened(&text);
    EXPECT_EQ(opened.settings.currentProject(), "Default");
    EXPECT_EQ(opened.settings.projectCount(), 2);
}

TEST(UserSettingsProjects, SetCurrentProjectOnlyForListedNames) {
    OpenedSettings opened(&kTwoProjects);
    UserSettings& settings = opened.settings;
    struct Case {
        const char* name;
        std::string project;
        bool expectedResult;
        std::string expectedCurrent;
        std::string expectedKeyword;
    } cases[] = {
        {"unlisted", "Other", false, "Shop", "lawn mower"},
        {"case differs", "default", false, "Shop", "lawn mower"},
        {"listed", "Default", true, "Default", ""},
        {"back again", "Shop", true, "Shop", "lawn mower"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(settings.setCurrentProject(c.project), c.expectedResult);
        EXPECT_EQ(settings.currentProject(), c.expectedCurrent);
        EXPECT_EQ(settings.profile().getString("Projects", "Current"), c.expectedCurrent);
        EXPECT_EQ(settings.currentKeyword(), c.expectedKeyword);
    }
}

TEST(UserSettingsProjects, DeleteRemovesTheWholeSection) {
    OpenedSettings opened(&kTwoProjects);
    UserSettings& settings = opened.settings;
    settings.deleteProject("Shop");
    EXPECT_EQ(settings.projectCount(), 1);
    EXPECT_EQ(settings.profile().serialize(),
              "\r\n[Projects]\r\nItem1=Default\r\nCount=1\r\nCurrent=Shop\r\n"
              "\r\n[Options]\r\nMinWordLength=5\r\nMainWindowRect=-8,-8,1288,1008\r\n");
}

TEST(UserSettingsProjects, RenameKeepsTheProjectsData) {
    OpenedSettings opened(&kTwoProjects);
    UserSettings& settings = opened.settings;
    settings.renameProject("Shop", "Garden Shop");
    EXPECT_EQ(settings.currentProject(), "Garden Shop");
    EXPECT_EQ(settings.projectName(2), "Garden Shop");
    EXPECT_EQ(settings.keywordCount(), 2);
    EXPECT_EQ(settings.folder(), "/home/ann/shop");
    EXPECT_EQ(settings.profile().getString("Projects", "Current"), "Garden Shop");

    settings.renameProject("Garden Shop", "");  // ignored
    EXPECT_EQ(settings.projectName(2), "Garden Shop");
}

TEST(UserSettingsProjects, AddProject) {
    OpenedSettings fresh;
    UserSettings& settings = fresh.settings;
    settings.addProject("Site");
    settings.addProject("Site");
    settings.addProject("");
    EXPECT_EQ(settings.projectCount(), 2);
    EXPECT_TRUE(settings.setCurrentProject("Site"));
    EXPECT_EQ(settings.currentEngine(), "Generic Engine (Template Page)");
}

TEST(UserSettingsKeywords, CurrentKeywordMustBeListed) {
    OpenedSettings opened(&kTwoProjects);
    UserSettings& settings = opened.settings;
    EXPECT_FALSE(settings.setCurrentKeyword("unknown"));
    EXPECT_EQ(settings.currentKeyword(), "lawn mower");
    EXPECT_EQ(settings.profile().getString("Shop", "CurrentKey"), "lawn mower");
    EXPECT_FALSE(settings.setCurrentKeyword("Garden Tools"));  // exact comparison

    EXPECT_TRUE(settings.setCurrentKeyword("garden tools"));
    EXPECT_EQ(settings.profile().getString("Shop", "CurrentKey"), "garden tools");

    settings.clearCurrentKeyword();
    EXPECT_EQ(settings.currentKeyword(), "");
    EXPECT_EQ(settings.profile().getString("Shop", "CurrentKey", "(none)"), "(none)");
}

TEST(UserSettingsKeywords, ListOperations) {
    OpenedSettings opened(&kTwoProjects);
    UserSettings& settings = opened.settings;
    EXPECT_EQ(settings.addKeyword("Garden Tools"), 2);  // differs in case: added
    EXPECT_EQ(settings.addKeyword("lawn mower"), 0);
    EXPECT_TRUE(settings.replaceKeyword("lawn mower", "lawnmower"));
    EXPECT_TRUE(settings.removeKeywordAt(1));
    EXPECT_FALSE(settings.removeKeyword("garden tools"));
    EXPECT_EQ(settings.keywordCount(), 2);
    EXPECT_EQ(settings.keyword(1), "lawnmower");
    EXPECT_EQ(settings.keyword(2), "Garden Tools");
}

TEST(UserSettingsFiles, EnabledMarker) {
    OpenedSettings opened(&kTwoProjects);
    UserSettings& settings = opened.settings;
    struct Expected {
        std::string name;
        bool enabled;
    };
    const Expected before[] = {{"a.html", true}, {"b.html", true}, {"c.html", false}};
    for (int n = 1; n <= 3; ++n) {
        SCOPED_TRACE(n);
        EXPECT_EQ(settings.fileName(n), before[n - 1].name);
        EXPECT_EQ(settings.fileEnabled(n), before[n - 1].enabled);
    }
    const std::vector<UserSettings::FileItem> files = settings.files();
    ASSERT_EQ(files.size(), std::size(before));
    for (std::size_t i = 0; i < files.size(); ++i) {
        EXPECT_EQ(files[i].name, before[i].name) << i;
        EXPECT_EQ(files[i].enabled, before[i].enabled) << i;
    }

    settings.setFileEnabled(2, false);
    EXPECT_EQ(settings.profile().getString("Shop", "File2"), "*b.html");
    EXPECT_EQ(settings.fileName(2), "b.html");
    EXPECT_FALSE(settings.fileEnabled(2));
    settings.setFileEnabled(2, false);  // once only
    EXPECT_EQ(settings.profile().getString("Shop", "File2"), "*b.html");
    settings.setFileEnabled(2, true);
    EXPECT_EQ(settings.profile().getString("Shop", "File2"), "b.html");

    const std::string beforeOutOfRange = settings.profile().serialize();
    settings.setFileEnabled(4, false);
    settings.setFileEnabled(0, false);
    EXPECT_EQ(settings.profile().serialize(), beforeOutOfRange);
}

TEST(UserSettingsFiles, RemoveFindsDisabledItems) {
    OpenedSettings opened(&kTwoProjects);
    UserSettings& settings = opened.settings;
    EXPECT_TRUE(settings.removeFile("c.html"));  // stored as *c.html
    EXPECT_FALSE(settings.removeFile("c.html"));
    EXPECT_FALSE(settings.removeFile("A.HTML"));
    EXPECT_TRUE(settings.removeFile("a.html"));
    EXPECT_EQ(settings.fileCount(), 1);
    EXPECT_EQ(settings.fileName(1), "b.html");
    EXPECT_EQ(settings.addFile("d.html"), 1);
    EXPECT_TRUE(settings.removeFileAt(1));
    EXPECT_EQ(settings.fileName(1), "d.html");
}

TEST(UserSettingsFiles, RelativeNamesAndResolvedPaths) {
    OpenedSettings fresh;
    UserSettings& settings = fresh.settings;
    struct Case {
        const char* name;
        std::string folder, chosen, expectedStored, expectedResolved;
    } cases[] = {
        {"inside the folder", "/srv/site", "/srv/site/index.html", "index.html",
         "/srv/site/index.html"},
        {"folder ending in a slash", "/srv/site/", "/srv/site/index.html", "index.html",
         "/srv/site/index.html"},
        {"subfolder", "/srv/site", "/srv/site/sub/p.htm", "sub/p.htm", "/srv/site/sub/p.htm"},
        {"other folder", "/srv/other", "/srv/site/index.html", "/srv/site/index.html",
         "/srv/site/index.html"},
        {"folder name is only a prefix", "/srv/site", "/srv/site2/a.html", "/srv/site2/a.html",
         "/srv/site2/a.html"},
        {"case matters", "/srv/Site", "/srv/site/a.html", "/srv/site/a.html", "/srv/site/a.html"},
        {"no folder", "", "/srv/site/a.html", "/srv/site/a.html", "/srv/site/a.html"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_TRUE(settings.setFolder(c.folder));
        const std::string stored = settings.relativeFileName(c.chosen);
        EXPECT_EQ(stored, c.expectedStored);
        EXPECT_EQ(settings.resolveFilePath(stored), c.expectedResolved);
    }
}

TEST(UserSettingsOptions, DefaultsAndStoredValues) {
    OpenedSettings fresh;
    UserSettings& settings = fresh.settings;
    struct Case {
        IntOption option;
        const char* key;
        int expectedDefault;
    } cases[] = {
        {IntOption::EnableToolTips, "EnableToolTips", 1},
        {IntOption::EnableSeEdit, "EnableSeEdit", 0},
        {IntOption::AutosizeColumns, "AutosizeColumns", 1},
        {IntOption::KillTeminatingS, "KillTeminatingS", 0},
        {IntOption::SkipShortWords, "SkipShortWords", 0},
        {IntOption::MinWordLength, "MinWordLength", 3},
        {IntOption::AutoViewHtmlReport, "AutoViewHtmlReport", 0},
    };
    ASSERT_EQ(intOptionRows().size(), std::size(cases));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        EXPECT_EQ(optionKey(c.option), c.key);
        EXPECT_EQ(settings.option(c.option), c.expectedDefault);
        settings.setOption(c.option, 7);
        EXPECT_EQ(settings.profile().getString("Options", c.key), "7");
        EXPECT_EQ(settings.option(c.option), 7);
    }
    const TextOption texts[] = {TextOption::OpenRunApplication, TextOption::EditRunApplication,
                                TextOption::EditTextRunApplication, TextOption::UserRunApplication1,
                                TextOption::UserRunApplication2};
    for (TextOption option : texts) {
        SCOPED_TRACE(optionKey(option));
        EXPECT_EQ(settings.option(option), "");
        EXPECT_TRUE(settings.setOption(option, "/usr/bin/tool --flag"));
        EXPECT_EQ(settings.profile().getString("Options", optionKey(option)),
                  "/usr/bin/tool --flag");
    }
}

TEST(UserSettingsOptions, MinWordLengthIsClampedWhereverItIsRead) {
    struct Case {
        const char* stored;
        int read;
    } cases[] = {
        {"-1", 0},
        {"0", 0},
        {"4", 4},
        {"10", 10},
        {"11", 10},
        {"65535", 10},
        {"-99999999999", 0},
        {"99999999999", 10},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        const std::string text = std::string("\r\n[Options]\r\nMinWordLength=") + c.stored + "\r\n";
        OpenedSettings opened(&text);
        EXPECT_EQ(opened.settings.option(IntOption::MinWordLength), c.read);
        EXPECT_EQ(clampMinWordLength(std::atoi(c.stored)), c.read);
    }
}

TEST(UserSettingsSetters, RefuseOverlongValuesAndSaySo) {
    OpenedSettings opened(&kTwoProjects);
    UserSettings& settings = opened.settings;
    const std::string fits(ProfileFile::kMaxValue, 'f');
    const std::string tooLong(ProfileFile::kMaxValue + 1, 'x');
    struct Case {
        const char* name;
        std::function<bool(std::string_view)> set;
        std::function<std::string()> get;
    };
    const Case cases[] = {
        {"folder", [&](auto v) { return settings.setFolder(v); },
         [&] { return settings.folder(); }},
        {"home URL", [&](auto v) { return settings.setHomeUrl(v); },
         [&] { return settings.homeUrl(); }},
        {"engine", [&](auto v) { return settings.setCurrentEngine(v); },
         [&] { return settings.currentEngine(); }},
        {"tool", [&](auto v) { return settings.setOption(TextOption::UserRunApplication1, v); },
         [&] { return settings.option(TextOption::UserRunApplication1); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(c.set("before"));
        EXPECT_FALSE(c.set(tooLong));
        EXPECT_EQ(c.get(), "before");
        EXPECT_TRUE(c.set(fits));
        EXPECT_EQ(c.get(), fits);
    }
}

TEST(UserSettingsFile, ReadOnlyOpenLeavesTheFileAndSaveSaysWhy) {
    ScratchFolder folder;
    const std::string path = folder.file("Quorvel.hc");
    std::string utf16 = "\xFF\xFE";
    for (char c : kTwoProjects) {
        utf16 += c;
        utf16 += '\0';
    }
    ASSERT_TRUE(writeBytes(path, utf16));
    UserSettings settings;
    ASSERT_TRUE(settings.openReadOnly(path));
    EXPECT_EQ(settings.currentProject(), "Shop");
    EXPECT_EQ(settings.folder(), "/home/ann/shop");
    ASSERT_TRUE(settings.setFolder("/elsewhere"));
    const FileResult saved = settings.save();
    EXPECT_FALSE(saved.ok);
    EXPECT_NE(saved.message().find(path), std::string::npos);
    EXPECT_EQ(readBytes(path), utf16);
    EXPECT_EQ(folder.names(), std::vector<std::string>{"Quorvel.hc"});
}

TEST(UserSettingsOptions, WindowRectangles) {
    OpenedSettings opened(&kTwoProjects);
    UserSettings& settings = opened.settings;
    Rect rect;
    ASSERT_TRUE(settings.windowRect(TextOption::MainWindowRect, rect));
    EXPECT_EQ(rect, (Rect{-8, -8, 1288, 1008, 0}));
    EXPECT_FALSE(settings.windowRect(TextOption::DetailedDescriptionWindowSize, rect));

    settings.setWindowRect(TextOption::DetailedDescriptionWindowSize, {10, 20, 610, 520, 1});
    EXPECT_EQ(settings.option(TextOption::DetailedDescriptionWindowSize), "10,20,610,520,1");
    ASSERT_TRUE(settings.windowRect(TextOption::DetailedDescriptionWindowSize, rect));
    EXPECT_EQ(rect, (Rect{10, 20, 610, 520, 1}));
}

TEST(UserSettingsEngine, EmptyStoredEngineMeansTheDefault) {
    const std::string text =
        "[Projects]\r\nCurrent=P\r\nCount=1\r\nItem1=P\r\n[P]\r\nCurrentSearchEngine=\r\n";
    OpenedSettings opened(&text);
    EXPECT_EQ(opened.settings.currentEngine(), "Generic Engine (Template Page)");
    EXPECT_TRUE(opened.settings.setCurrentEngine("Engine C"));
    EXPECT_EQ(opened.settings.currentEngine(), "Engine C");
}

TEST(UserSettingsFile, EditsRoundTripThroughSave) {
    OpenedSettings opened(&kTwoProjects);
    UserSettings& settings = opened.settings;
    settings.setFileEnabled(1, false);
    settings.setFileEnabled(1, true);
    ASSERT_TRUE(settings.save());
    EXPECT_EQ(readBytes(opened.path), kTwoProjects);

    settings.addKeyword("hedge trimmer");
    ASSERT_TRUE(settings.setCurrentKeyword("hedge trimmer"));
    ASSERT_TRUE(settings.save());
    UserSettings reopened;
    ASSERT_TRUE(reopened.open(opened.path));
    EXPECT_EQ(reopened.currentKeyword(), "hedge trimmer");
    EXPECT_EQ(reopened.keyword(3), "hedge trimmer");
}

}  // namespace
}  // namespace quorvel
