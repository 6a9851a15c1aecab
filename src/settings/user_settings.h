#pragma once

#include <climits>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "settings/profile_file.h"

namespace quorvel {

inline constexpr std::string_view kDefaultEngineName = "Generic Engine (Template Page)";

// Integer options of the "Options" section; keys and defaults are rows of
// one table in user_settings.cpp.
enum class IntOption {
    EnableToolTips,      // 1
    EnableSeEdit,        // 0
    AutosizeColumns,     // 1
    KillTeminatingS,     // 0
    SkipShortWords,      // 0
    MinWordLength,       // 3
    AutoViewHtmlReport,  // 0
};
enum class TextOption {
    OpenRunApplication,
    EditRunApplication,
    EditTextRunApplication,
    UserRunApplication1,
    UserRunApplication2,
    MainWindowRect,
    DetailedDescriptionWindowSize,
    CheckerUpdateUrl,  // where the checker file is updated from
};

// One row of the option table: the key in the "Options" section, the
// value used while the key is missing, and the range a stored value is
// clamped to when read.
struct IntOptionRow {
    IntOption option;
    std::string_view key;
    int defaultValue;
    int lowest = INT_MIN;
    int highest = INT_MAX;
};
struct TextOptionRow {
    TextOption option;
    std::string_view key;
    std::string_view defaultValue;
};

// Every option, in the order of the enums.
std::span<const IntOptionRow> intOptionRows();
std::span<const TextOptionRow> textOptionRows();
std::string_view optionKey(IntOption option);
std::string_view optionKey(TextOption option);

inline constexpr std::string_view kOptionsSection = "Options";
inline constexpr std::string_view kProjectsSection = "Projects";
inline constexpr std::string_view kDefaultProjectName = "Default";

// The range of the minimum word length ("MinWordLength"): values outside it
// are taken as its nearest end wherever the option is read.
inline constexpr int kMinWordLengthLowest = 0;
inline constexpr int kMinWordLengthHighest = 10;
int clampMinWordLength(int length);

// The user's projects, keywords, files, current selections and options, kept
// in one settings file. Every operation changes memory only; save() writes.
// Operations without a project name act on the current project.
//
// The const operations read memory only and change nothing, so one object
// may be read from several threads at once while no other operation runs.
// Setters return false when they refuse a value (longer than 4095 bytes),
// leaving the stored one unchanged.
class UserSettings {
public:
    // Opens the file with the backup-on-conversion flag set (a missing file
    // gives empty content), then determines the current project: the stored
    // "Current", or "Default" (added to the project list and stored as
    // current) when none is stored. Reads the project's current keyword.
    // Returns whether the file could be read.
    bool open(const std::string& fileName);
    // The same, reading only: the file is never written (a UTF-16 file is
    // converted in memory) and save refuses.
    bool openReadOnly(const std::string& fileName);
    // Writes the file when something changed; the reason when that failed.
    FileResult save();
    ProfileFile& profile();
    const ProfileFile& profile() const;

    // Projects
    const std::string& currentProject() const;
    int projectCount() const;
    std::string projectName(int n) const;  // n <= 0: the current project
    // Appends the name to the project list unless listed; an empty name is
    // ignored.
    void addProject(std::string_view name);
    // Only for a listed name (exact): it becomes current, is stored as
    // "Current", and its current keyword is read. False otherwise.
    bool setCurrentProject(std::string_view name);
    // Removes the project's section and its list item.
    void deleteProject(std::string_view name);
    // Renames the section and the list item; a renamed current project stays
    // current under its new name. An empty new name is ignored.
    void renameProject(std::string_view oldName, std::string_view newName);

    // Keywords of the current project
    int keywordCount() const;
    std::string keyword(int n) const;
    int addKeyword(std::string_view text);  // as ProfileFile::listAdd
    bool removeKeyword(std::string_view text);
    bool removeKeywordAt(int n);
    bool replaceKeyword(std::string_view oldText, std::string_view newText);
    // The current keyword as held in memory (read from "CurrentKey" whenever
    // the current project changes).
    const std::string& currentKeyword() const;
    // Only for a listed keyword (exact): it becomes current and is stored.
    bool setCurrentKeyword(std::string_view text);
    // Empties the current keyword and deletes "CurrentKey".
    void clearCurrentKeyword();

    std::string folder() const;
    bool setFolder(std::string_view folder);
    std::string homeUrl() const;
    bool setHomeUrl(std::string_view url);

    // Files of the current project; a stored leading '*' marks a disabled file.
    int fileCount() const;
    // Every file of the current project in list order, read in one pass:
    // what fileName(n) and fileEnabled(n) give for n = 1..fileCount().
    struct FileItem {
        std::string name;  // without the '*'
        bool enabled = true;
    };
    // Item may be any type made from {name, enabled}, so that a caller can
    // keep the list in a type of its own without a second copy.
    template <typename Item = FileItem>
    std::vector<Item> files() const {
        std::vector<std::string> items = storedFileItems();
        std::vector<Item> files;
        files.reserve(items.size());
        for (std::string& item : items) {
            const bool enabled = !removeDisabledMark(item);
            files.push_back(Item{std::move(item), enabled});
        }
        return files;
    }
    std::string fileName(int n) const;  // without the '*'
    bool fileEnabled(int n) const;
    int addFile(std::string_view name);  // stored enabled; as ProfileFile::listAdd
    // Removes the item of that name, enabled or disabled; false when none.
    bool removeFile(std::string_view name);
    bool removeFileAt(int n);
    // Adds or removes the '*' of item n; items outside 1..count are left alone.
    void setFileEnabled(int n, bool enabled);
    // The name to store for a chosen path: relative when it lies in the folder.
    std::string relativeFileName(std::string_view path) const;
    // The full path of a listed name: absolute names unchanged, others joined to the folder.
    std::string resolveFilePath(std::string_view name) const;

    // "CurrentSearchEngine" of the current project; the default engine when
    // it is missing or empty.
    std::string currentEngine() const;
    bool setCurrentEngine(std::string_view name);

    // The stored value, clamped to the option's range.
    int option(IntOption option) const;
    void setOption(IntOption option, int value);
    std::string option(TextOption option) const;
    bool setOption(TextOption option, std::string_view value);
    // Window rectangles: "MainWindowRect" holds four numbers,
    // "DetailedDescriptionWindowSize" five. False and a zero rectangle when unset.
    bool windowRect(TextOption option, Rect& rect) const;
    void setWindowRect(TextOption option, const Rect& rect);

private:
    // The current project's file items as stored, disabled marks included.
    std::vector<std::string> storedFileItems() const;
    // Removes a leading disabled mark; true when there was one.
    static bool removeDisabledMark(std::string& item);
    void chooseCurrentProject();
    void readCurrentKeyword();
    // Writes a value (empty: deletes it); false only when it is too long.
    bool store(std::string_view section, std::string_view key, std::string_view value);

    ProfileFile profile_;
    std::string currentProject_;
    std::string currentKeyword_;
};

}  // namespace quorvel
