#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "checks/check_catalogue.h"
#include "settings/profile_file.h"

namespace quorvel {

class UserSettings;

// Message formatting of check texts: only a text holding "%1" or "%2" is
// formatted; then %1 and %2 take the inserts and %% becomes one percent
// sign. Any other text is returned unchanged.
std::string formatCheckMessage(std::string_view text, std::string_view insert1,
                               std::string_view insert2);
// Insert 2 for an integer measurement: its low 16 bits as unsigned decimal.
std::string measuredText(std::uint32_t measured);
// Insert 2 for a real measurement: two decimals.
std::string measuredText(double measured);

// The effective fields of every check of one engine, resolved once so that a
// run never searches the checker file per check and per page.
class EngineRules {
public:
    const std::string& field(int category, int index, CheckField field) const;
    bool enabled(int category, int index) const;  // Enable text is not exactly "0"
    bool overridden(int category, int index, CheckField field) const;
    bool caseSensitive = true;
    std::string engineName;

    // Used by CheckerFile::resolve.
    void set(int category, int index, CheckField field, std::string text, bool isOverride);

private:
    std::array<std::array<std::string, kFieldCount>, kCheckCount> fields_;
    std::array<std::array<bool, kFieldCount>, kCheckCount> overridden_{};
};

// The checker file: the engine list and, per engine, the check fields whose
// text differs from the catalogue, plus the CaseSensitive switch.
class CheckerFile {
public:
    // The settings supply the current engine; without them the default
    // engine name is current.
    explicit CheckerFile(const UserSettings* settings = nullptr);

    bool open(const std::string& fileName);
    bool reload();
    bool save();
    ProfileFile& profile();
    const ProfileFile& profile() const;

    // The checker-file key of a field, such as "1TitleValue".
    static std::string checkKey(int category, int index, CheckField field);

    // Fields of the current engine
    std::string effectiveField(int category, int index, CheckField field) const;
    bool hasNoOverride(int category, int index, CheckField field) const;
    void setField(int category, int index, CheckField field, std::string_view text);
    bool checkEnabled(int category, int index) const;
    std::string message(int category, int index, CheckField field, std::uint32_t measured) const;
    std::string message(int category, int index, CheckField field, double measured) const;

    // All effective fields of one engine.
    EngineRules resolve(std::string_view engineName) const;

    // Engines
    int engineCount() const;
    std::string engineName(int n) const;  // n <= 0: the current engine
    int findEngine(std::string_view name) const;
    void addEngine(std::string_view name);
    void deleteEngine(std::string_view name);
    bool renameEngine(std::string_view oldName, std::string_view newName);
    bool caseSensitive(std::string_view engineName) const;
    void setCaseSensitive(std::string_view engineName, int value);
    std::string currentEngine() const;

private:
    // (implementation state)
};

}  // namespace quorvel
