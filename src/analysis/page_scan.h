#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/keyword_matcher.h"
#include "analysis/page_facts.h"
#include "analysis/scanner_state.h"

namespace quorvel {

// One HTML file, read whole as bytes, and the facts of its scan for the
// current keyword. Per file the caller loads, sets the inputs, scans, reads
// the facts and releases. The buffer is reused from file to file, so a run
// over many files keeps one allocation of the largest file's size.
class PageScan : public PageFacts {
public:
    // The largest page read: file positions are 32-bit signed numbers, so a
    // page of 2 GiB or more would give wrong positions.
    static constexpr std::size_t kMaxPageBytes = 0x7FFFFFFF;

    PageScan();

    // Reads the whole file, to its end whatever size it announces. Resets
    // every fact and sets minWordLength to 0. Returns false, keeping no
    // content, when the path is empty, the file cannot be opened or read,
    // memory cannot be had, or the file holds more than the size limit
    // (loadError() is then EFBIG).
    bool load(const std::string& path);
    // The size limit of load, kMaxPageBytes unless set lower.
    void setSizeLimit(std::size_t bytes);
    // Takes the bytes of a page held in memory, as load does for a file.
    void loadBytes(std::string_view bytes);
    // Runs the scanner over the loaded bytes. Always succeeds.
    void scan();
    // Drops the page content (the allocation is kept for the next file).
    void release();

    void setMinWordLength(std::uint16_t length);
    std::uint16_t minWordLength() const;
    // Stop words for the title count; survives load.
    std::string stopWordList = "a,an,and,the,for,if";

    // The matcher of the current keyword phrase; the caller loads it.
    KeywordMatcher& keywordMatcher();
    const KeywordMatcher& keywordMatcher() const;

    std::string_view bytes() const;  // the loaded page, without the terminating zero

    // The errno value of the last failed load (0 after a successful one), for
    // callers that name the reason.
    int loadError() const;

private:
    // Makes room for `bytes`; the content so far survives only when asked
    // for, so that a larger page does not hold two buffers at once.
    bool reserve(std::size_t bytes, bool keepContent = false);
    bool readFile(int fd);
    void resetForPage(std::size_t length);
    bool fail(int error);

    struct FreeBuffer {
        void operator()(char* buffer) const;
    };
    // One allocation of file length + 1, reused from page to page; the page
    // is followed by a zero byte. It is grown by realloc, which moves the
    // pages of a large buffer rather than copying them.
    std::unique_ptr<char, FreeBuffer> buffer_;
    std::size_t sizeLimit_ = kMaxPageBytes;
    std::size_t capacity_ = 0;
    std::size_t length_ = 0;
    const char* cursor_ = nullptr;  // where the scan stands
    int loadError_ = 0;

    KeywordMatcher keyword_;
    KeywordMatcher stopWords_;  // the stop-word list, case-insensitive, final-s rule off
    std::uint16_t minWordLength_ = 0;
    ScannerState state_;
};

}  // namespace quorvel
