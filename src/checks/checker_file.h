#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "checks/check_catalogue.h"
#include "platform/dates.h"
#include "settings/profile_file.h"

namespace quorvel {

class UserSettings;

// Message formatting of check texts: only a text holding "%1" or "%2" is
// formatted; then %1 and %2 take the inserts and %% becomes one percent
// sign. Any other text is returned unchanged. A percent sign followed by
// anything else ("%3", "%n", a last "%") is copied as it stands; only one
// digit is read, so "%10" is insert 1 followed by "0". Inserts are copied,
// never formatted themselves.
std::string formatCheckMessage(std::string_view text, std::string_view insert1,
                               std::string_view insert2);
// Insert 2 for an integer measurement: its low 16 bits as unsigned decimal.
std::string measuredText(std::uint32_t measured);
// Insert 2 for a real measurement: two decimals.
std::string measuredText(double measured);

// A check field named by its checker-file key.
struct CheckKey {
    int category = 0;
    int index = 0;
    CheckField field = CheckField::Name;
};

// The effective fields of every check of one engine, resolved once so that a
// run never searches the checker file per check and per page. A new object
// holds the catalogue defaults. Indexes must be in range.
class EngineRules {
public:
    EngineRules();

    const std::string& field(int category, int index, CheckField field) const;
    bool enabled(int category, int index) const;  // Enable text is not exactly "0"
    bool overridden(int category, int index, CheckField field) const;
    // The field's text with the message formatting of the checker file: Msg
    // and Descr get %1 = the check's Value and %2 = the measured value (low
    // 16 bits, or two decimals); other fields are returned as they are.
    std::string message(int category, int index, CheckField field, std::uint32_t measured) const;
    std::string message(int category, int index, CheckField field, double measured) const;

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

    // Opens the file (with a backup when a UTF-16 file is converted); a
    // missing file gives an empty engine list. Returns whether it was read.
    bool open(const std::string& fileName);
    // Opens the file for reading only: nothing is ever written to it (a
    // UTF-16 file is converted in memory) and save refuses.
    bool openReadOnly(const std::string& fileName);
    bool reload();
    FileResult save();  // writes only when modified
    // Reads (the const operations) change nothing and may run on several
    // threads at once while no change, reload or save runs.
    ProfileFile& profile();
    const ProfileFile& profile() const;

    // The checker-file key of a field, such as "1TitleValue".
    static std::string checkKey(int category, int index, CheckField field);
    // The field a key names; category and field names match without regard
    // to case, the index is decimal without leading zeros. Nothing for a key
    // that names no field of the catalogue.
    static std::optional<CheckKey> parseCheckKey(std::string_view key);

    // Fields of the current engine. An empty stored text counts as no
    // override: the catalogue default applies.
    std::string effectiveField(int category, int index, CheckField field) const;
    bool hasNoOverride(int category, int index, CheckField field) const;
    // Stores an override when the text differs from the effective one; a text
    // equal to the default, or empty, removes the key. CR and LF are stored
    // as spaces. False only when the text is too long to store (the stored
    // value is then unchanged). Memory only; save() writes.
    bool setField(int category, int index, CheckField field, std::string_view text);
    // The same for a named engine instead of the current one.
    bool setEngineField(std::string_view engineName, int category, int index, CheckField field,
                        std::string_view text);
    bool checkEnabled(int category, int index) const;
    std::string message(int category, int index, CheckField field, std::uint32_t measured) const;
    std::string message(int category, int index, CheckField field, double measured) const;

    // All effective fields of one engine, with its CaseSensitive switch.
    EngineRules resolve(std::string_view engineName) const;

    // The last-write date of the checker file; empty when it cannot be read.
    std::string checkFileDate(DateOrder order) const;

    // Engines
    int engineCount() const;
    std::string engineName(int n) const;          // n <= 0: the current engine
    int findEngine(std::string_view name) const;  // 1-based, exact; 0 when absent
    void addEngine(std::string_view name);        // no section is written
    // Removes the engine's section with its overrides and its list item.
    void deleteEngine(std::string_view name);
    // False when the new name is empty or the old one is not listed.
    bool renameEngine(std::string_view oldName, std::string_view newName);
    bool caseSensitive(std::string_view engineName) const;  // missing: true
    void setCaseSensitive(std::string_view engineName, int value);
    // "CurrentSearchEngine" of the current project, or the default engine.
    std::string currentEngine() const;

    // The section that holds the engine list.
    static constexpr std::string_view kEngineListSection = "SearchEngines";

private:
    std::string effectiveFor(std::string_view engine, int category, int index,
                             CheckField field) const;
    std::string storedText(std::string_view engine, int category, int index,
                           CheckField field) const;
    static bool isEngineListSection(std::string_view name);

    const UserSettings* settings_;
    ProfileFile profile_;
};

}  // namespace quorvel
