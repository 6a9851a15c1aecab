#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/file_io.h"
#include "platform/file_result.h"

namespace quorvel {

struct Rect {
    long left = 0, top = 0, right = 0, bottom = 0;
    int showState = 0;  // the optional fifth number

    bool operator==(const Rect&) const = default;
};

// "left,top,right,bottom", with ",showState" appended when asked for: the
// text that getRect reads back.
std::string formatRect(const Rect& rect, bool withShowState = false);

// A settings file of [sections] holding key=value lines, read whole into
// memory and written back whole on save when something changed. Section and
// key names match without regard to ASCII case; values are exact. Files are
// 8-bit text with CR LF line ends; nothing is re-encoded.
//
// Where a file holds a section or a key twice, the first one is read and
// changed, and both are kept and written back.
//
// Reads (the const operations) never touch the disk and change nothing, so
// one object may be read from several threads at once; a change, load or
// save must not overlap any other use of the object.
//
// A list holds at most as many items as its section has keys: a stored
// count above that is not believed.
class ProfileFile {
public:
    static constexpr std::size_t kMaxValue = 4095;
    static constexpr std::size_t kMaxKey = 64;
    static constexpr std::size_t kMaxLine = 8256;

    // Stores the name and the backup flag (used when a UTF-16 file is
    // converted), then loads. Returns whether the file could be read.
    bool open(const std::string& fileName, bool backupOnConversion);
    // Opens the file for reading only: load never writes (a UTF-16 file is
    // converted in memory) and save refuses.
    bool openReadOnly(const std::string& fileName);
    // Discards the content and reads the file; the modified flag is unchanged.
    // False (and empty content) when the file cannot be read. A file that
    // starts with a UTF-16 byte-order mark (little- or big-endian) is
    // converted to the 8-bit code page, one byte per unit; unless opened
    // read-only the file itself is then rewritten with the converted text,
    // with the backup flag after its original bytes went to the name + "u".
    // When that backup cannot be made, or the file cannot be read whole, it
    // is parsed unconverted. A UTF-8 byte-order mark is skipped. A line
    // longer than 8256 bytes is read as several lines.
    bool load();
    // Parses text as if it had been read from the file (no conversion).
    void loadFromText(std::string_view text);
    // Writes the whole file when modified: to a temporary file in the same
    // folder, flushed, then renamed over the old one (missing folders above
    // the file are created). On failure returns the reason, keeps the
    // modified flag and leaves the previous file intact. Succeeds at once
    // when nothing was modified; a file opened read-only is never written.
    FileResult save();
    // The bytes a save would write.
    std::string serialize() const;

    const std::string& fileName() const;
    bool isModified() const;
    bool isReadOnly() const;
    // The file operations used by open, load and save (tests inject failures).
    void setFileCalls(FileCalls& calls);

    // The stored value (at most 4095 bytes of it), or the default when the
    // section or key does not exist.
    std::string getString(std::string_view section, std::string_view key,
                          std::string_view defaultValue = {}) const;
    // The default when the key is missing or empty; otherwise the leading
    // decimal integer of the value (blanks and a sign allowed before the
    // digits, saturated to the int range), 0 when it has no digits.
    int getInt(std::string_view section, std::string_view key, int defaultValue) const;
    // False when the value is longer than 4095 bytes, or when the section is
    // missing and nothing was to be created. An empty value deletes the key.
    // CR and LF in the value are stored as spaces; a missing section is
    // appended. Sets the modified flag when anything changed.
    bool writeString(std::string_view section, std::string_view key, std::string_view value);
    bool writeInt(std::string_view section, std::string_view key, int value);
    // Deletes the (first) section of that name with all its entries; false
    // when there is none.
    bool deleteSection(std::string_view section);
    // Gives the first section named oldName the new name; false when none.
    bool renameSection(std::string_view oldName, std::string_view newName);
    // Reads "left,top,right,bottom" (and ",showState" when asked for); numbers
    // that are missing stay 0. False and a zero rectangle when the value is empty.
    bool getRect(std::string_view section, std::string_view key, Rect& rect,
                 bool withShowState = false) const;

    // Numbered lists: items listName1..N and the count listNameCount; an
    // empty list name means Item1..N and Count. Items compare exactly. With an
    // empty section name every list operation returns 0, false or "".
    //
    // listCount: the stored count, 0 when missing (or negative), believed
    //   only as far as items are present: the number of the last item key
    //   at or below it, and never more than the section has keys.
    // listItem: the item for 1 <= index <= count, otherwise "".
    // listFind: the 1-based index of the first equal item, 0 when none.
    // listAdd: 0 and no change when an equal item exists; otherwise appends
    //   the item and returns the old count (the new item's 0-based index);
    //   -1 and no change when the text is longer than 4095 bytes.
    // listRemoveAt: moves the later items down one key, deletes the last
    //   item's key and writes count - 1 (also "0"); false when out of range.
    // listSet: writes the item key of index >= 1, whatever the count.
    // listReplace: listSet at the index of the first item equal to oldText.
    int listCount(std::string_view section, std::string_view listName = {}) const;
    std::string listItem(std::string_view section, int index, std::string_view listName = {}) const;
    // listItems: listItem for every index 1..count, read in one pass over
    //   the section (a long list is not searched once per item).
    std::vector<std::string> listItems(std::string_view section,
                                       std::string_view listName = {}) const;
    int listFind(std::string_view section, std::string_view text,
                 std::string_view listName = {}) const;
    int listAdd(std::string_view section, std::string_view text, std::string_view listName = {});
    bool listRemoveAt(std::string_view section, int index, std::string_view listName = {});
    bool listRemove(std::string_view section, std::string_view text,
                    std::string_view listName = {});
    bool listSet(std::string_view section, int index, std::string_view text,
                 std::string_view listName = {});
    bool listReplace(std::string_view section, std::string_view oldText, std::string_view newText,
                     std::string_view listName = {});

    // Section names in file order (for listing tools).
    std::vector<std::string> sectionNames() const;

private:
    struct Entry {
        std::string key;
        std::string value;
    };
    struct Section {
        std::string name;
        std::vector<Entry> entries;
    };
    struct ListSlot;

    static std::vector<Section> parseText(std::string_view text);
    // The text of file bytes as parsed: byte-order marks dealt with.
    std::string_view decodedText(std::string& bytes, bool complete);
    const Section* findSection(std::string_view name) const;
    Section* findSection(std::string_view name);
    const std::string* findValue(std::string_view section, std::string_view key) const;
    // Sets or (with an empty value) deletes a key without the write limits.
    bool storeValue(std::string_view section, std::string_view key, std::string_view value);
    std::vector<ListSlot> listSlots(const Section& section, std::string_view listName, int lowest,
                                    int highest) const;

    std::string fileName_;
    bool backupOnConversion_ = false;
    bool readOnly_ = false;
    FileCalls* calls_ = &systemFileCalls();
    std::vector<Section> sections_;
    bool modified_ = false;
};

}  // namespace quorvel
