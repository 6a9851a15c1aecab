#pragma once

#include <string>
#include <string_view>

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
};

// The user's projects, keywords, files, current selections and options, kept
// in one settings file. Every operation changes memory only; save() writes.
class UserSettings {
public:
    // Opens the file (a missing file gives empty content) and determines the
    // current project ("Default" when none is stored).
    bool open(const std::string& fileName);
    bool save();
    ProfileFile& profile();
    const ProfileFile& profile() const;

    // Projects
    const std::string& currentProject() const;
    int projectCount() const;
    std::string projectName(int n) const;  // n <= 0: the current project
    void addProject(std::string_view name);
    bool setCurrentProject(std::string_view name);
    void deleteProject(std::string_view name);
    void renameProject(std::string_view oldName, std::string_view newName);

    // Keywords of the current project
    int keywordCount() const;
    std::string keyword(int n) const;
    int addKeyword(std::string_view text);
    bool removeKeyword(std::string_view text);
    bool removeKeywordAt(int n);
    bool replaceKeyword(std::string_view oldText, std::string_view newText);
    const std::string& currentKeyword() const;
    bool setCurrentKeyword(std::string_view text);
    void clearCurrentKeyword();

    std::string folder() const;
    void setFolder(std::string_view folder);
    std::string homeUrl() const;
    void setHomeUrl(std::string_view url);

    // Files of the current project; a stored leading '*' marks a disabled file.
    int fileCount() const;
    std::string fileName(int n) const;  // without the '*'
    bool fileEnabled(int n) const;
    int addFile(std::string_view name);
    bool removeFile(std::string_view name);
    bool removeFileAt(int n);
    void setFileEnabled(int n, bool enabled);
    // The name to store for a chosen path: relative when it lies in the folder.
    std::string relativeFileName(std::string_view path) const;
    // The full path of a listed name: absolute names unchanged, others joined to the folder.
    std::string resolveFilePath(std::string_view name) const;

    std::string currentEngine() const;
    void setCurrentEngine(std::string_view name);

    int option(IntOption option) const;
    void setOption(IntOption option, int value);
    std::string option(TextOption option) const;
    void setOption(TextOption option, std::string_view value);

private:
    // (implementation state)
};

}  // namespace quorvel
