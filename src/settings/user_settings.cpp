#include "settings/user_settings.h"

#include <algorithm>
#include <array>

#include "platform/program_paths.h"

namespace quorvel {

namespace {

constexpr std::string_view kCurrentKey = "Current";
constexpr std::string_view kFolderKey = "Folder";
constexpr std::string_view kHomeUrlKey = "Home Url";
constexpr std::string_view kKeywordList = "Key";
constexpr std::string_view kCurrentKeywordKey = "CurrentKey";
constexpr std::string_view kFileList = "File";
constexpr std::string_view kCurrentEngineKey = "CurrentSearchEngine";
constexpr char kDisabledMark = '*';

constexpr std::array kIntOptions = {
    IntOptionRow{IntOption::EnableToolTips, "EnableToolTips", 1},
    IntOptionRow{IntOption::EnableSeEdit, "EnableSeEdit", 0},
    IntOptionRow{IntOption::AutosizeColumns, "AutosizeColumns", 1},
    IntOptionRow{IntOption::KillTeminatingS, "KillTeminatingS", 0},
    IntOptionRow{IntOption::SkipShortWords, "SkipShortWords", 0},
    IntOptionRow{IntOption::MinWordLength, "MinWordLength", 3, kMinWordLengthLowest,
                 kMinWordLengthHighest},
    IntOptionRow{IntOption::AutoViewHtmlReport, "AutoViewHtmlReport", 0},
};

constexpr std::array kTextOptions = {
    TextOptionRow{TextOption::OpenRunApplication, "OpenRunApplication", ""},
    TextOptionRow{TextOption::EditRunApplication, "EditRunApplication", ""},
    TextOptionRow{TextOption::EditTextRunApplication, "EditTextRunApplication", ""},
    TextOptionRow{TextOption::UserRunApplication1, "UserRunApplication1", ""},
    TextOptionRow{TextOption::UserRunApplication2, "UserRunApplication2", ""},
    TextOptionRow{TextOption::MainWindowRect, "MainWindowRect", ""},
    TextOptionRow{TextOption::DetailedDescriptionWindowSize, "DetailedDescriptionWindowSize", ""},
    TextOptionRow{TextOption::CheckerUpdateUrl, "CheckerUpdateUrl",
                  "https://www.maltrane.com/CheckerFile/Quorvel.chk"},
};

// The rows are looked up by the enum's value.
template <typename Rows>
constexpr bool rowsFollowTheEnum(const Rows& rows) {
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (static_cast<std::size_t>(rows[i].option) != i) return false;
    }
    return true;
}
static_assert(rowsFollowTheEnum(kIntOptions));
static_assert(rowsFollowTheEnum(kTextOptions));

const IntOptionRow& row(IntOption option) {
    return kIntOptions[static_cast<std::size_t>(option)];
}
const TextOptionRow& row(TextOption option) {
    return kTextOptions[static_cast<std::size_t>(option)];
}

bool isDisabledItem(std::string_view item) {
    return !item.empty() && item.front() == kDisabledMark;
}

std::string_view withoutDisabledMark(std::string_view item) {
    if (isDisabledItem(item)) item.remove_prefix(1);
    return item;
}

}  // namespace

int clampMinWordLength(int length) {
    return std::clamp(length, kMinWordLengthLowest, kMinWordLengthHighest);
}

std::span<const IntOptionRow> intOptionRows() {
    return kIntOptions;
}
std::span<const TextOptionRow> textOptionRows() {
    return kTextOptions;
}
std::string_view optionKey(IntOption option) {
    return row(option).key;
}
std::string_view optionKey(TextOption option) {
    return row(option).key;
}

// ---------------------------------------------------------------------------
// File

bool UserSettings::open(const std::string& fileName) {
    const bool read = profile_.open(fileName, true);
    chooseCurrentProject();
    return read;
}

bool UserSettings::openReadOnly(const std::string& fileName) {
    const bool read = profile_.openReadOnly(fileName);
    chooseCurrentProject();
    return read;
}

void UserSettings::chooseCurrentProject() {
    currentProject_ = profile_.getString(kProjectsSection, kCurrentKey);
    if (currentProject_.empty()) {
        currentProject_ = kDefaultProjectName;
        profile_.listAdd(kProjectsSection, currentProject_);
        profile_.writeString(kProjectsSection, kCurrentKey, currentProject_);
    }
    readCurrentKeyword();
}

bool UserSettings::store(std::string_view section, std::string_view key, std::string_view value) {
    if (value.size() > ProfileFile::kMaxValue) return false;
    profile_.writeString(section, key, value);
    return true;
}

FileResult UserSettings::save() {
    return profile_.save();
}

ProfileFile& UserSettings::profile() {
    return profile_;
}

const ProfileFile& UserSettings::profile() const {
    return profile_;
}

// ---------------------------------------------------------------------------
// Projects

const std::string& UserSettings::currentProject() const {
    return currentProject_;
}

int UserSettings::projectCount() const {
    return profile_.listCount(kProjectsSection);
}

std::string UserSettings::projectName(int n) const {
    if (n <= 0) return currentProject_;
    return profile_.listItem(kProjectsSection, n);
}

void UserSettings::addProject(std::string_view name) {
    if (name.empty()) return;
    profile_.listAdd(kProjectsSection, name);
}

bool UserSettings::setCurrentProject(std::string_view name) {
    if (profile_.listFind(kProjectsSection, name) == 0) return false;
    currentProject_ = name;
    profile_.writeString(kProjectsSection, kCurrentKey, name);
    readCurrentKeyword();
    return true;
}

void UserSettings::deleteProject(std::string_view name) {
    profile_.deleteSection(name);
    profile_.listRemove(kProjectsSection, name);
}

void UserSettings::renameProject(std::string_view oldName, std::string_view newName) {
    if (newName.empty()) return;
    profile_.renameSection(oldName, newName);
    profile_.listReplace(kProjectsSection, oldName, newName);
    if (oldName == currentProject_) {
        currentProject_ = newName;
        profile_.writeString(kProjectsSection, kCurrentKey, newName);
    }
}

// ---------------------------------------------------------------------------
// Keywords

int UserSettings::keywordCount() const {
    return profile_.listCount(currentProject_, kKeywordList);
}

std::string UserSettings::keyword(int n) const {
    return profile_.listItem(currentProject_, n, kKeywordList);
}

int UserSettings::addKeyword(std::string_view text) {
    return profile_.listAdd(currentProject_, text, kKeywordList);
}

bool UserSettings::removeKeyword(std::string_view text) {
    return profile_.listRemove(currentProject_, text, kKeywordList);
}

bool UserSettings::removeKeywordAt(int n) {
    return profile_.listRemoveAt(currentProject_, n, kKeywordList);
}

bool UserSettings::replaceKeyword(std::string_view oldText, std::string_view newText) {
    return profile_.listReplace(currentProject_, oldText, newText, kKeywordList);
}

const std::string& UserSettings::currentKeyword() const {
    return currentKeyword_;
}

bool UserSettings::setCurrentKeyword(std::string_view text) {
    if (profile_.listFind(currentProject_, text, kKeywordList) == 0) return false;
    currentKeyword_ = text;
    profile_.writeString(currentProject_, kCurrentKeywordKey, text);
    return true;
}

void UserSettings::clearCurrentKeyword() {
    currentKeyword_.clear();
    profile_.writeString(currentProject_, kCurrentKeywordKey, "");
}

void UserSettings::readCurrentKeyword() {
    currentKeyword_ = profile_.getString(currentProject_, kCurrentKeywordKey);
}

// ---------------------------------------------------------------------------
// Folder and home URL

std::string UserSettings::folder() const {
    return profile_.getString(currentProject_, kFolderKey);
}

bool UserSettings::setFolder(std::string_view folder) {
    return store(currentProject_, kFolderKey, folder);
}

std::string UserSettings::homeUrl() const {
    return profile_.getString(currentProject_, kHomeUrlKey);
}

bool UserSettings::setHomeUrl(std::string_view url) {
    return store(currentProject_, kHomeUrlKey, url);
}

// ---------------------------------------------------------------------------
// Files

int UserSettings::fileCount() const {
    return profile_.listCount(currentProject_, kFileList);
}

std::vector<std::string> UserSettings::storedFileItems() const {
    return profile_.listItems(currentProject_, kFileList);
}

bool UserSettings::removeDisabledMark(std::string& item) {
    if (!isDisabledItem(item)) return false;
    item.erase(0, 1);
    return true;
}

std::string UserSettings::fileName(int n) const {
    return std::string(withoutDisabledMark(profile_.listItem(currentProject_, n, kFileList)));
}

bool UserSettings::fileEnabled(int n) const {
    const std::string item = profile_.listItem(currentProject_, n, kFileList);
    return !isDisabledItem(item);
}

int UserSettings::addFile(std::string_view name) {
    return profile_.listAdd(currentProject_, name, kFileList);
}

bool UserSettings::removeFile(std::string_view name) {
    int index = profile_.listFind(currentProject_, name, kFileList);
    if (index == 0) {
        index = profile_.listFind(currentProject_, kDisabledMark + std::string(name), kFileList);
    }
    return index != 0 && profile_.listRemoveAt(currentProject_, index, kFileList);
}

bool UserSettings::removeFileAt(int n) {
    return profile_.listRemoveAt(currentProject_, n, kFileList);
}

void UserSettings::setFileEnabled(int n, bool enabled) {
    // Outside the list a write would leave a stray item key behind.
    if (n < 1 || n > fileCount()) return;
    const std::string item = profile_.listItem(currentProject_, n, kFileList);
    const std::string_view name = withoutDisabledMark(item);
    const std::string stored = enabled ? std::string(name) : kDisabledMark + std::string(name);
    profile_.listSet(currentProject_, n, stored, kFileList);
}

std::string UserSettings::relativeFileName(std::string_view path) const {
    return nameRelativeToFolder(folder(), path);
}

std::string UserSettings::resolveFilePath(std::string_view name) const {
    return joinFolderAndName(folder(), name);
}

// ---------------------------------------------------------------------------
// Search engine and options

std::string UserSettings::currentEngine() const {
    std::string engine = profile_.getString(currentProject_, kCurrentEngineKey);
    return engine.empty() ? std::string(kDefaultEngineName) : engine;
}

bool UserSettings::setCurrentEngine(std::string_view name) {
    return store(currentProject_, kCurrentEngineKey, name);
}

int UserSettings::option(IntOption option) const {
    const IntOptionRow& r = row(option);
    return std::clamp(profile_.getInt(kOptionsSection, r.key, r.defaultValue), r.lowest, r.highest);
}

void UserSettings::setOption(IntOption option, int value) {
    profile_.writeInt(kOptionsSection, row(option).key, value);
}

std::string UserSettings::option(TextOption option) const {
    return profile_.getString(kOptionsSection, row(option).key, row(option).defaultValue);
}

bool UserSettings::setOption(TextOption option, std::string_view value) {
    return store(kOptionsSection, row(option).key, value);
}

bool UserSettings::windowRect(TextOption option, Rect& rect) const {
    return profile_.getRect(kOptionsSection, row(option).key, rect,
                            option == TextOption::DetailedDescriptionWindowSize);
}

void UserSettings::setWindowRect(TextOption option, const Rect& rect) {
    // Six numbers never reach the value limit.
    (void)setOption(option, formatRect(rect, option == TextOption::DetailedDescriptionWindowSize));
}

}  // namespace quorvel
