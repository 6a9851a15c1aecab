#pragma once

// A page's bytes as the code view shows them, with the way back from byte
// positions (which every finding carries) to positions in the shown text.

#include <QString>
#include <QTextLayout>
#include <cstddef>
#include <string>
#include <vector>

#include "report/html_colorizer.h"

namespace quorvel::app {

class CodeText {
public:
    CodeText() = default;
    inline static constexpr int kTabWidth = 8;

    // Splits the bytes into lines at CR LF, LF and a lone CR; the text is
    // UTF-8 when all of it is valid UTF-8, else one character per byte.
    explicit CodeText(std::string bytes);

    const std::string& bytes() const { return bytes_; }
    bool utf8() const { return utf8_; }
    int lineCount() const { return static_cast<int>(lineStarts_.size()); }
    // The width of the longest line in columns, a tab counted as a full tab stop.
    int widestLine() const { return widestLine_; }
    // The length of line n in UTF-16 units, without its line break.
    int lineLength(int line) const;
    // The text of line n without its line break; control characters other
    // than tab show as U+FFFD.
    QString lineText(int line) const;
    // The bytes [begin, end) as text, line breaks as '\n'.
    QString textOf(std::size_t begin, std::size_t end) const;

    // The line holding a byte; a byte of a line break belongs to the line it
    // ends, and a position past the end to the last line.
    int lineOfByte(std::size_t offset) const;
    // The column within its line of the character holding a byte (a byte of
    // a line break gives the line's length).
    int columnOfByte(std::size_t offset) const;
    // The document position of a byte: the lines before it, one break each,
    // and the column.
    int positionOfByte(std::size_t offset) const;
    // The first byte of the character at a column of a line; the line's end
    // for a column past it.
    std::size_t byteOfColumn(int line, int column) const;

    // The colours of line n as formats of its layout, from spans of the
    // whole text (in ascending order).
    QList<QTextLayout::FormatRange> lineFormats(int line,
                                                const std::vector<ColourSpan>& spans) const;
    // The same for the bytes [from, to) of one line, counted from `from`.
    QList<QTextLayout::FormatRange> rangeFormats(std::size_t from, std::size_t to,
                                                 const std::vector<ColourSpan>& spans) const;
    // The bytes of line n: its first byte and the first byte of its break.
    std::size_t lineStart(int line) const { return lineStarts_[static_cast<std::size_t>(line)]; }
    std::size_t lineEnd(int line) const { return contentEnd(line); }

private:
    std::size_t contentEnd(int line) const;  // the first byte of its break
    int columnIn(int line, std::size_t offset) const;

    std::string bytes_;
    bool utf8_ = false;
    std::vector<std::size_t> lineStarts_;  // byte offset of each line
    std::vector<int> linePositions_;       // document position of each line
    int widestLine_ = 0;
};

}  // namespace quorvel::app
