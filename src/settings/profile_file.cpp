#include "settings/profile_file.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstring>
#include <limits>
#include <optional>
#include <utility>

#include "platform/ascii_text.h"
#include "settings/utf16_text.h"

namespace quorvel {

namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::size_t kMaxIntText = 63;

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}
bool isLineEnd(char c) {
    return c == '\r' || c == '\n';
}

// Names are compared as they would be stored: ASCII case folded, and CR and
// LF standing for the spaces a write puts in their place.
char foldNameChar(char c) {
    return isLineEnd(c) ? ' ' : toAsciiLower(c);
}

bool sameName(std::string_view stored, std::string_view wanted) {
    if (stored.size() != wanted.size()) return false;
    for (std::size_t i = 0; i < stored.size(); ++i) {
        if (foldNameChar(stored[i]) != foldNameChar(wanted[i])) return false;
    }
    return true;
}

std::string_view cutKey(std::string_view key) {
    return key.substr(0, ProfileFile::kMaxKey);
}

// A name or value as it is kept: CR and LF would break the line structure.
std::string withoutLineEnds(std::string_view text) {
    std::string stored(text);
    std::replace_if(stored.begin(), stored.end(), isLineEnd, ' ');
    return stored;
}

std::string listItemKey(std::string_view listName, int index) {
    return std::string(listName.empty() ? std::string_view("Item") : listName) +
           std::to_string(index);
}

std::string listCountKey(std::string_view listName) {
    return std::string(listName) + "Count";
}

// The leading decimal integer at text[pos], saturated at the limits of T.
template <typename T>
std::optional<T> scanNumber(std::string_view text, std::size_t& pos) {
    const std::optional<std::int64_t> number = readDecimalInteger(text, pos);
    if (!number) return std::nullopt;
    using Limits = std::numeric_limits<T>;
    return static_cast<T>(std::clamp<std::int64_t>(*number, Limits::min(), Limits::max()));
}

struct ParsedLine {
    enum Kind { Ignored, SectionHeader, KeyValue } kind = Ignored;
    std::string_view name;  // section name or key
    std::string_view value;
};

ParsedLine parseLine(std::string_view line) {
    while (!line.empty() && isLineEnd(line.back()))
        line.remove_suffix(1);
    if (line.empty() || line.front() == ';') return {};
    if (line.front() == '[') {
        if (line.size() < 2 || line.back() != ']') return {};
        return {ParsedLine::SectionHeader, line.substr(1, line.size() - 2), {}};
    }
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) return {};
    // Cut before trimming, so that a saved key reads back as itself.
    std::string_view key = cutKey(line.substr(0, equals));
    while (!key.empty() && isBlank(key.back()))
        key.remove_suffix(1);
    std::string_view value = line.substr(equals + 1);
    while (!value.empty() && isBlank(value.front()))
        value.remove_prefix(1);
    return {ParsedLine::KeyValue, key, value};
}

}  // namespace

// One item of a list as stored: its number and the first entry holding it.
struct ProfileFile::ListSlot {
    int number;
    const Entry* entry;
};

std::string formatRect(const Rect& rect, bool withShowState) {
    std::string text = std::to_string(rect.left);
    for (long number : {rect.top, rect.right, rect.bottom}) {
        text += ',';
        text += std::to_string(number);
    }
    if (withShowState) {
        text += ',';
        text += std::to_string(rect.showState);
    }
    return text;
}

// ---------------------------------------------------------------------------
// Opening, loading and saving

bool ProfileFile::open(const std::string& fileName, bool backupOnConversion) {
    fileName_ = fileName;
    backupOnConversion_ = backupOnConversion;
    readOnly_ = false;
    return load();
}

bool ProfileFile::openReadOnly(const std::string& fileName) {
    fileName_ = fileName;
    backupOnConversion_ = false;
    readOnly_ = true;
    return load();
}

void ProfileFile::setFileCalls(FileCalls& calls) {
    calls_ = &calls;
}

bool ProfileFile::load() {
    sections_.clear();
    if (fileName_.empty()) return false;
    FileReadResult file = readWholeFile(fileName_, *calls_);
    if (!file.opened) return false;
    sections_ = parseText(decodedText(file.bytes, file.complete));
    return true;
}

std::string_view ProfileFile::decodedText(std::string& bytes, bool complete) {
    if (hasUtf8Mark(bytes)) return std::string_view(bytes).substr(3);
    const bool littleEndian = hasUtf16LeMark(bytes);
    if (!(littleEndian || hasUtf16BeMark(bytes)) || !complete) return bytes;

    const std::string_view units = std::string_view(bytes).substr(2);
    std::string converted = littleEndian ? utf16LeToAnsi(units) : utf16BeToAnsi(units);
    if (!readOnly_) {
        // Converted once, in place; the untouched original is kept as a
        // backup when asked for, and without that backup nothing is changed.
        if (backupOnConversion_ && !replaceFileContent(fileName_ + "u", bytes, *calls_).ok()) {
            return bytes;
        }
        // When the converted text cannot be written, it is still what is
        // loaded; the file is converted again next time.
        (void)replaceFileContent(fileName_, converted, *calls_);
    }
    bytes = std::move(converted);
    return bytes;
}

void ProfileFile::loadFromText(std::string_view text) {
    sections_ = parseText(text);
}

std::vector<ProfileFile::Section> ProfileFile::parseText(std::string_view text) {
    std::vector<Section> sections;
    std::size_t pos = 0;
    while (pos < text.size()) {
        // A line runs to its LF, but at most kMaxLine bytes are taken at once;
        // the rest of a longer line is read as a line of its own. The LF is
        // looked for only within those bytes, so a huge line costs its length
        // once.
        const std::string_view piece = text.substr(pos, kMaxLine);
        const std::size_t newline = piece.find('\n');
        const std::size_t length = newline == std::string_view::npos ? piece.size() : newline + 1;
        const ParsedLine line = parseLine(piece.substr(0, length));
        pos += length;

        if (line.kind == ParsedLine::SectionHeader) {
            sections.push_back({std::string(line.name), {}});
        } else if (line.kind == ParsedLine::KeyValue && !sections.empty()) {
            sections.back().entries.push_back({std::string(line.name), std::string(line.value)});
        }
    }
    return sections;
}

std::string ProfileFile::serialize() const {
    std::string text;
    for (const Section& section : sections_) {
        if (section.entries.empty()) continue;
        text.append(kLineEnd).append("[").append(section.name).append("]").append(kLineEnd);
        for (const Entry& entry : section.entries) {
            text.append(entry.key).append("=").append(entry.value).append(kLineEnd);
        }
    }
    return text;
}

FileResult ProfileFile::save() {
    if (!modified_) return FileResult::success(fileName_);
    if (fileName_.empty()) return FileResult::failure(fileName_, "the file has no name");
    if (readOnly_) return FileResult::failure(fileName_, "the file was opened for reading only");
    if (!ensureFolderFor(fileName_, *calls_)) {
        return FileResult::failure(fileName_,
                                   std::string("create folder: ") + std::strerror(errno));
    }
    const FileResult written =
        FileResult::of(fileName_, replaceFileContent(fileName_, serialize(), *calls_));
    if (written.ok) modified_ = false;
    return written;
}

const std::string& ProfileFile::fileName() const {
    return fileName_;
}

bool ProfileFile::isModified() const {
    return modified_;
}

bool ProfileFile::isReadOnly() const {
    return readOnly_;
}

// ---------------------------------------------------------------------------
// Lookups

const ProfileFile::Section* ProfileFile::findSection(std::string_view name) const {
    for (const Section& section : sections_) {
        if (sameName(section.name, name)) return &section;
    }
    return nullptr;
}

ProfileFile::Section* ProfileFile::findSection(std::string_view name) {
    return const_cast<Section*>(std::as_const(*this).findSection(name));
}

const std::string* ProfileFile::findValue(std::string_view section, std::string_view key) const {
    const Section* found = findSection(section);
    if (found == nullptr) return nullptr;
    key = cutKey(key);
    for (const Entry& entry : found->entries) {
        if (sameName(entry.key, key)) return &entry.value;
    }
    return nullptr;
}

std::string ProfileFile::getString(std::string_view section, std::string_view key,
                                   std::string_view defaultValue) const {
    const std::string* value = findValue(section, key);
    if (value == nullptr) return std::string(defaultValue);
    return value->substr(0, kMaxValue);
}

int ProfileFile::getInt(std::string_view section, std::string_view key, int defaultValue) const {
    const std::string* value = findValue(section, key);
    if (value == nullptr || value->empty()) return defaultValue;
    std::size_t pos = 0;
    return scanNumber<int>(std::string_view(*value).substr(0, kMaxIntText), pos).value_or(0);
}

bool ProfileFile::getRect(std::string_view section, std::string_view key, Rect& rect,
                          bool withShowState) const {
    rect = Rect{};
    const std::string text = getString(section, key);
    if (text.empty()) return false;

    // Reads "l,t,r,b[,s]" up to the first number or comma that is missing.
    std::size_t pos = 0;
    long* const numbers[] = {&rect.left, &rect.top, &rect.right, &rect.bottom};
    for (std::size_t i = 0; i < 4; ++i) {
        if (i > 0 && (pos >= text.size() || text[pos++] != ',')) return true;
        const std::optional<long> number = scanNumber<long>(text, pos);
        if (!number) return true;
        *numbers[i] = *number;
    }
    if (withShowState && pos < text.size() && text[pos++] == ',') {
        rect.showState = scanNumber<int>(text, pos).value_or(0);
    }
    return true;
}

std::vector<std::string> ProfileFile::sectionNames() const {
    std::vector<std::string> names;
    names.reserve(sections_.size());
    for (const Section& section : sections_)
        names.push_back(section.name);
    return names;
}

// ---------------------------------------------------------------------------
// Changes

bool ProfileFile::storeValue(std::string_view sectionName, std::string_view key,
                             std::string_view value) {
    Section* section = findSection(sectionName);
    if (section == nullptr) {
        if (value.empty()) return false;
        sections_.push_back({withoutLineEnds(sectionName), {}});
        section = &sections_.back();
        modified_ = true;
    }
    key = cutKey(key);
    auto entry = std::find_if(section->entries.begin(), section->entries.end(),
                              [&](const Entry& e) { return sameName(e.key, key); });
    if (entry != section->entries.end()) {
        if (value.empty()) {
            section->entries.erase(entry);
            modified_ = true;
        } else if (entry->value != value) {
            entry->value = value;
            modified_ = true;
        }
    } else if (!value.empty()) {
        section->entries.push_back({withoutLineEnds(key), std::string(value)});
        modified_ = true;
    }
    return true;
}

bool ProfileFile::writeString(std::string_view section, std::string_view key,
                              std::string_view value) {
    if (value.size() > kMaxValue) return false;
    return storeValue(section, key, withoutLineEnds(value));
}

bool ProfileFile::writeInt(std::string_view section, std::string_view key, int value) {
    return writeString(section, key, std::to_string(value));
}

bool ProfileFile::deleteSection(std::string_view name) {
    const auto found = std::find_if(sections_.begin(), sections_.end(),
                                    [&](const Section& s) { return sameName(s.name, name); });
    if (found == sections_.end()) return false;
    sections_.erase(found);
    modified_ = true;
    return true;
}

bool ProfileFile::renameSection(std::string_view oldName, std::string_view newName) {
    Section* section = findSection(oldName);
    if (section == nullptr) return false;
    section->name = withoutLineEnds(newName);
    modified_ = true;
    return true;
}

// ---------------------------------------------------------------------------
// Lists

namespace {

// The number of a list item's key (prefix + decimal digits without leading
// zeros), nothing for any other key.
std::optional<std::int64_t> itemNumberOf(std::string_view key, std::string_view prefix) {
    if (key.size() <= prefix.size() || key.size() > prefix.size() + 10) return std::nullopt;
    if (!sameName(key.substr(0, prefix.size()), prefix)) return std::nullopt;
    const std::string_view digits = key.substr(prefix.size());
    if (digits.front() == '0' || !std::all_of(digits.begin(), digits.end(), isAsciiDigit)) {
        return std::nullopt;
    }
    std::int64_t number = 0;
    for (char c : digits)
        number = number * 10 + (c - '0');
    return number;
}

std::string_view itemPrefix(std::string_view listName) {
    return listName.empty() ? std::string_view("Item") : listName;
}

}  // namespace

// The items numbered lowest..highest that have a key, each with the first
// entry of its key, in number order. Keys are found by one pass over the
// section, so a huge stored count costs nothing.
std::vector<ProfileFile::ListSlot> ProfileFile::listSlots(const Section& section,
                                                          std::string_view listName, int lowest,
                                                          int highest) const {
    const std::string_view prefix = itemPrefix(listName);
    std::vector<ListSlot> slots;
    for (const Entry& entry : section.entries) {
        const std::optional<std::int64_t> number = itemNumberOf(entry.key, prefix);
        if (!number || *number < lowest || *number > highest) continue;
        slots.push_back({static_cast<int>(*number), &entry});
    }
    // Stable, so that of two entries with one key the first stays in front.
    std::stable_sort(slots.begin(), slots.end(),
                     [](const ListSlot& a, const ListSlot& b) { return a.number < b.number; });
    slots.erase(
        std::unique(slots.begin(), slots.end(),
                    [](const ListSlot& a, const ListSlot& b) { return a.number == b.number; }),
        slots.end());
    return slots;
}

int ProfileFile::listCount(std::string_view sectionName, std::string_view listName) const {
    if (sectionName.empty()) return 0;
    const Section* section = findSection(sectionName);
    if (section == nullptr) return 0;
    // Believed only as far as items are present: the list ends at its last
    // item key within the stored count, and no list has more items than the
    // section has keys, so memory and output follow the file, not the number.
    const auto keys = static_cast<std::int64_t>(section->entries.size());
    const std::int64_t stored =
        std::min<std::int64_t>(std::max(0, getInt(sectionName, listCountKey(listName), 0)), keys);
    const std::string_view prefix = itemPrefix(listName);
    std::int64_t last = 0;
    for (const Entry& entry : section->entries) {
        const std::optional<std::int64_t> number = itemNumberOf(entry.key, prefix);
        if (number && *number <= stored) last = std::max(last, *number);
    }
    return static_cast<int>(last);
}

std::string ProfileFile::listItem(std::string_view section, int index,
                                  std::string_view listName) const {
    if (section.empty() || index < 1 || index > listCount(section, listName)) return {};
    return getString(section, listItemKey(listName, index));
}

std::vector<std::string> ProfileFile::listItems(std::string_view sectionName,
                                                std::string_view listName) const {
    std::vector<std::string> items;
    const int count = listCount(sectionName, listName);
    const Section* section = count < 1 ? nullptr : findSection(sectionName);
    if (section == nullptr) return items;
    items.resize(static_cast<std::size_t>(count));
    for (const ListSlot& slot : listSlots(*section, listName, 1, count)) {
        items[static_cast<std::size_t>(slot.number - 1)] = slot.entry->value.substr(0, kMaxValue);
    }
    return items;
}

int ProfileFile::listFind(std::string_view sectionName, std::string_view text,
                          std::string_view listName) const {
    const int count = listCount(sectionName, listName);
    if (count < 1) return 0;
    const Section* section = findSection(sectionName);
    if (section == nullptr) return 0;
    const std::vector<ListSlot> slots = listSlots(*section, listName, 1, count);

    auto itemText = [](const ListSlot& slot) {
        return std::string_view(slot.entry->value).substr(0, kMaxValue);
    };
    if (!text.empty()) {
        for (const ListSlot& slot : slots) {
            if (itemText(slot) == text) return slot.number;
        }
        return 0;
    }
    // An item without a key reads as empty too.
    int expected = 1;
    for (const ListSlot& slot : slots) {
        if (slot.number != expected || itemText(slot).empty()) return expected;
        ++expected;
    }
    return expected <= count ? expected : 0;
}

int ProfileFile::listAdd(std::string_view section, std::string_view text,
                         std::string_view listName) {
    if (section.empty()) return 0;
    if (text.size() > kMaxValue) return -1;
    // Compared as it would be stored, so that CR and LF cannot make a twin.
    const std::string stored = withoutLineEnds(text);
    if (listFind(section, stored, listName) > 0) return 0;
    const int count = listCount(section, listName);
    if (count == INT_MAX) return -1;
    writeString(section, listItemKey(listName, count + 1), stored);
    writeInt(section, listCountKey(listName), count + 1);
    return count;
}

bool ProfileFile::listRemoveAt(std::string_view sectionName, int index, std::string_view listName) {
    const int count = listCount(sectionName, listName);
    if (sectionName.empty() || index < 1 || index > count) return false;

    // Item i takes the text of item i + 1 for index <= i < count. Only the
    // numbers next to an existing key can change, so only those are visited.
    std::vector<int> targets;
    if (const Section* section = findSection(sectionName)) {
        for (const ListSlot& slot : listSlots(*section, listName, index, count)) {
            if (slot.number - 1 >= index) targets.push_back(slot.number - 1);
            if (slot.number < count) targets.push_back(slot.number);
        }
    }
    std::sort(targets.begin(), targets.end());
    targets.erase(std::unique(targets.begin(), targets.end()), targets.end());
    for (int target : targets) {
        const std::string* next = findValue(sectionName, listItemKey(listName, target + 1));
        const std::string moved = next != nullptr ? *next : std::string();
        storeValue(sectionName, listItemKey(listName, target), moved);
    }
    storeValue(sectionName, listItemKey(listName, count), {});
    writeInt(sectionName, listCountKey(listName), count - 1);
    return true;
}

bool ProfileFile::listRemove(std::string_view section, std::string_view text,
                             std::string_view listName) {
    return listRemoveAt(section, listFind(section, text, listName), listName);
}

bool ProfileFile::listSet(std::string_view section, int index, std::string_view text,
                          std::string_view listName) {
    if (section.empty() || index < 1) return false;
    return writeString(section, listItemKey(listName, index), text);
}

bool ProfileFile::listReplace(std::string_view section, std::string_view oldText,
                              std::string_view newText, std::string_view listName) {
    const int index = listFind(section, oldText, listName);
    return index > 0 && listSet(section, index, newText, listName);
}

}  // namespace quorvel
