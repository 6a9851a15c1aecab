#include "checks/checker_file.h"

#include <charconv>
#include <utility>

#include "platform/ascii_text.h"
#include "settings/user_settings.h"

namespace quorvel {

namespace {

constexpr std::string_view kCaseSensitiveKey = "CaseSensitive";
constexpr std::string_view kEnableOff = "0";

bool isMessageField(CheckField field) {
    return field == CheckField::Msg || field == CheckField::Descr;
}

// The one place where a field text becomes the text shown for a check.
std::string composeMessage(CheckField field, std::string text, std::string_view value,
                           std::string_view measured) {
    if (!isMessageField(field)) return text;
    return formatCheckMessage(text, value, measured);
}

int slotOf(int category, int index) {
    return globalCheckNumber(category, index);
}

}  // namespace

std::string formatCheckMessage(std::string_view text, std::string_view insert1,
                               std::string_view insert2) {
    constexpr char kMarker = '%';
    if (text.find("%1") == std::string_view::npos && text.find("%2") == std::string_view::npos) {
        return std::string(text);
    }
    std::string result;
    result.reserve(text.size() + insert1.size() + insert2.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != kMarker || i + 1 == text.size()) {
            result += c;
            continue;
        }
        switch (text[i + 1]) {
            case '1':
                result += insert1;
                ++i;
                break;
            case '2':
                result += insert2;
                ++i;
                break;
            case kMarker:
                result += kMarker;
                ++i;
                break;
            default:
                // Not an insert: the percent sign stays and the next character
                // is copied on the next round.
                result += kMarker;
                break;
        }
    }
    return result;
}

std::string measuredText(std::uint32_t measured) {
    return std::to_string(static_cast<std::uint16_t>(measured));
}

std::string measuredText(double measured) {
    // Room for the widest fixed-point double (309 digits) with two decimals.
    char text[400];
    const auto [end, error] =
        std::to_chars(text, text + sizeof text, measured, std::chars_format::fixed, 2);
    if (error != std::errc{}) return "0.00";
    return std::string(text, end);
}

// ---------------------------------------------------------------------------
// EngineRules

EngineRules::EngineRules() {
    for (int c = 0; c < kCategoryCount; ++c) {
        for (int i = 0; i < checkCount(c); ++i) {
            for (int f = 0; f < kFieldCount; ++f) {
                const auto field = static_cast<CheckField>(f);
                fields_[slotOf(c, i)][f] = std::string(defaultText(c, i, field));
            }
        }
    }
}

const std::string& EngineRules::field(int category, int index, CheckField field) const {
    return fields_[slotOf(category, index)][static_cast<int>(field)];
}

bool EngineRules::enabled(int category, int index) const {
    return field(category, index, CheckField::Enable) != kEnableOff;
}

bool EngineRules::overridden(int category, int index, CheckField field) const {
    return overridden_[slotOf(category, index)][static_cast<int>(field)];
}

std::string EngineRules::message(int category, int index, CheckField field,
                                 std::uint32_t measured) const {
    return composeMessage(field, this->field(category, index, field),
                          this->field(category, index, CheckField::Value), measuredText(measured));
}

std::string EngineRules::message(int category, int index, CheckField field, double measured) const {
    return composeMessage(field, this->field(category, index, field),
                          this->field(category, index, CheckField::Value), measuredText(measured));
}

void EngineRules::set(int category, int index, CheckField field, std::string text,
                      bool isOverride) {
    fields_[slotOf(category, index)][static_cast<int>(field)] = std::move(text);
    overridden_[slotOf(category, index)][static_cast<int>(field)] = isOverride;
}

// ---------------------------------------------------------------------------
// CheckerFile

CheckerFile::CheckerFile(const UserSettings* settings) : settings_(settings) {}

bool CheckerFile::open(const std::string& fileName) {
    return profile_.open(fileName, /*backupOnConversion=*/true);
}

bool CheckerFile::openReadOnly(const std::string& fileName) {
    return profile_.openReadOnly(fileName);
}

bool CheckerFile::reload() {
    return profile_.load();
}

FileResult CheckerFile::save() {
    return profile_.save();
}

ProfileFile& CheckerFile::profile() {
    return profile_;
}

const ProfileFile& CheckerFile::profile() const {
    return profile_;
}

std::string CheckerFile::checkKey(int category, int index, CheckField field) {
    std::string key = std::to_string(index);
    key += categoryName(category);
    key += fieldName(field);
    return key;
}

std::optional<CheckKey> CheckerFile::parseCheckKey(std::string_view key) {
    std::size_t digits = 0;
    while (digits < key.size() && isAsciiDigit(key[digits]))
        ++digits;
    // Keys are written without leading zeros, and no category has 100 checks.
    if (digits == 0 || digits > 2 || (digits > 1 && key[0] == '0')) return std::nullopt;
    int index = 0;
    std::from_chars(key.data(), key.data() + digits, index);
    std::string_view rest = key.substr(digits);

    for (int category = 0; category < kCategoryCount; ++category) {
        const std::string_view name = categoryName(category);
        if (!startsWithIgnoringAsciiCase(rest, name)) continue;
        if (index >= checkCount(category)) return std::nullopt;
        const std::string_view fieldPart = rest.substr(name.size());
        for (int f = 0; f < kFieldCount; ++f) {
            const auto field = static_cast<CheckField>(f);
            if (equalsIgnoringAsciiCase(fieldPart, fieldName(field))) {
                return CheckKey{category, index, field};
            }
        }
        return std::nullopt;
    }
    return std::nullopt;
}

std::string CheckerFile::storedText(std::string_view engine, int category, int index,
                                    CheckField field) const {
    return profile_.getString(engine, checkKey(category, index, field));
}

std::string CheckerFile::effectiveFor(std::string_view engine, int category, int index,
                                      CheckField field) const {
    std::string text = storedText(engine, category, index, field);
    if (text.empty()) return std::string(defaultText(category, index, field));
    return text;
}

std::string CheckerFile::effectiveField(int category, int index, CheckField field) const {
    return effectiveFor(currentEngine(), category, index, field);
}

bool CheckerFile::hasNoOverride(int category, int index, CheckField field) const {
    return storedText(currentEngine(), category, index, field).empty();
}

bool CheckerFile::setField(int category, int index, CheckField field, std::string_view text) {
    return setEngineField(currentEngine(), category, index, field, text);
}

bool CheckerFile::setEngineField(std::string_view engineName, int category, int index,
                                 CheckField field, std::string_view text) {
    if (text == effectiveFor(engineName, category, index, field)) return true;
    if (text.size() > ProfileFile::kMaxValue) return false;
    const std::string key = checkKey(category, index, field);
    profile_.writeString(engineName, key, text);
    // Only differences from the catalogue are kept.
    if (text == defaultText(category, index, field)) profile_.writeString(engineName, key, {});
    return true;
}

bool CheckerFile::checkEnabled(int category, int index) const {
    return effectiveField(category, index, CheckField::Enable) != kEnableOff;
}

std::string CheckerFile::message(int category, int index, CheckField field,
                                 std::uint32_t measured) const {
    return composeMessage(field, effectiveField(category, index, field),
                          effectiveField(category, index, CheckField::Value),
                          measuredText(measured));
}

std::string CheckerFile::message(int category, int index, CheckField field, double measured) const {
    return composeMessage(field, effectiveField(category, index, field),
                          effectiveField(category, index, CheckField::Value),
                          measuredText(measured));
}

EngineRules CheckerFile::resolve(std::string_view engineName) const {
    EngineRules rules;
    rules.engineName = std::string(engineName);
    rules.caseSensitive = caseSensitive(engineName);
    for (int c = 0; c < kCategoryCount; ++c) {
        for (int i = 0; i < checkCount(c); ++i) {
            for (int f = 0; f < kFieldCount; ++f) {
                const auto field = static_cast<CheckField>(f);
                std::string text = storedText(engineName, c, i, field);
                if (!text.empty()) rules.set(c, i, field, std::move(text), /*isOverride=*/true);
            }
        }
    }
    return rules;
}

std::string CheckerFile::checkFileDate(DateOrder order) const {
    return fileDateText(profile_.fileName(), order);
}

int CheckerFile::engineCount() const {
    return profile_.listCount(kEngineListSection);
}

std::string CheckerFile::engineName(int n) const {
    if (n <= 0) return currentEngine();
    return profile_.listItem(kEngineListSection, n);
}

int CheckerFile::findEngine(std::string_view name) const {
    return profile_.listFind(kEngineListSection, name);
}

void CheckerFile::addEngine(std::string_view name) {
    profile_.listAdd(kEngineListSection, name);
}

bool CheckerFile::isEngineListSection(std::string_view name) {
    return equalsIgnoringAsciiCase(name, kEngineListSection);
}

void CheckerFile::deleteEngine(std::string_view name) {
    if (isEngineListSection(name)) {
        // An engine named like the list section shares it with the list:
        // remove only its own keys so that the other engines stay listed.
        for (int c = 0; c < kCategoryCount; ++c) {
            for (int i = 0; i < checkCount(c); ++i) {
                for (int f = 0; f < kFieldCount; ++f) {
                    profile_.writeString(name, checkKey(c, i, static_cast<CheckField>(f)), {});
                }
            }
        }
        profile_.writeString(name, kCaseSensitiveKey, {});
    } else {
        profile_.deleteSection(name);
    }
    profile_.listRemove(kEngineListSection, name);
}

bool CheckerFile::renameEngine(std::string_view oldName, std::string_view newName) {
    if (newName.empty() || findEngine(oldName) == 0) return false;
    // Renaming the list section, or giving an engine its name, would lose
    // either the list or the engine's overrides.
    if (isEngineListSection(oldName) || isEngineListSection(newName)) return false;
    profile_.listReplace(kEngineListSection, oldName, newName);
    profile_.renameSection(oldName, newName);  // an engine without overrides has no section
    return true;
}

bool CheckerFile::caseSensitive(std::string_view engineName) const {
    return profile_.getInt(engineName, kCaseSensitiveKey, 1) != 0;
}

void CheckerFile::setCaseSensitive(std::string_view engineName, int value) {
    profile_.writeInt(engineName, kCaseSensitiveKey, value);
}

std::string CheckerFile::currentEngine() const {
    if (settings_ == nullptr) return std::string(kDefaultEngineName);
    return settings_->currentEngine();
}

}  // namespace quorvel
