#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

struct Rect {
    long left = 0, top = 0, right = 0, bottom = 0;
    int showState = 0;  // the optional fifth number
};

// A settings file of [sections] holding key=value lines, read whole into
// memory and written back whole on save when something changed. Section and
// key names match without regard to ASCII case; values are exact. Files are
// 8-bit text with CR LF line ends; nothing is re-encoded.
class ProfileFile {
public:
    static constexpr std::size_t kMaxValue = 4095;
    static constexpr std::size_t kMaxKey = 64;
    static constexpr std::size_t kMaxLine = 8256;

    // Stores the name and the backup flag (used when a UTF-16 file is
    // converted), then loads. Returns whether the file could be read.
    bool open(const std::string& fileName, bool backupOnConversion);
    // Discards the content and reads the file; the modified flag is unchanged.
    bool load();
    // Parses text as if it had been read from the file (no conversion).
    void loadFromText(std::string_view text);
    // Writes the whole file when modified: to a temporary file in the same
    // folder, flushed, then renamed over the old one. On failure returns
    // false, keeps the modified flag and leaves the previous file intact.
    bool save();
    // The bytes a save would write.
    std::string serialize() const;

    const std::string& fileName() const;
    bool isModified() const;

    std::string getString(std::string_view section, std::string_view key,
                          std::string_view defaultValue = {}) const;
    int getInt(std::string_view section, std::string_view key, int defaultValue) const;
    // False when the value is longer than 4095 bytes, or when the section is
    // missing and nothing was to be created. An empty value deletes the key.
    bool writeString(std::string_view section, std::string_view key, std::string_view value);
    bool writeInt(std::string_view section, std::string_view key, int value);
    // Deletes the whole section with all its entries.
    bool deleteSection(std::string_view section);
    bool renameSection(std::string_view oldName, std::string_view newName);
    // False and a zero rectangle when the value is empty.
    bool getRect(std::string_view section, std::string_view key, Rect& rect,
                 bool withShowState = false) const;

    // Numbered lists: items listName1..N and the count listNameCount; an
    // empty list name means Item1..N and Count.
    int listCount(std::string_view section, std::string_view listName = {}) const;
    std::string listItem(std::string_view section, int index, std::string_view listName = {}) const;
    int listFind(std::string_view section, std::string_view text, std::string_view listName = {}) const;
    int listAdd(std::string_view section, std::string_view text, std::string_view listName = {});
    bool listRemoveAt(std::string_view section, int index, std::string_view listName = {});
    bool listRemove(std::string_view section, std::string_view text, std::string_view listName = {});
    bool listSet(std::string_view section, int index, std::string_view text,
                 std::string_view listName = {});
    bool listReplace(std::string_view section, std::string_view oldText, std::string_view newText,
                     std::string_view listName = {});

    // Section names in file order (for listing tools).
    std::vector<std::string> sectionNames() const;

private:
    // (implementation state)
};

}  // namespace quorvel
