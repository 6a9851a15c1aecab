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
    // Splits the bytes into lines at CR LF, LF and a lone CR; the text is
    // UTF-8 when all of it is valid UTF-8, else one character per byte.
    explicit CodeText(std::string bytes);

    const std::string& bytes() const { return bytes_; }
    bool utf8() const { return utf8_; }
    int lineCount() const { return static_cast<int>(lineStarts_.size()); }
    // The lines joined by '\n', for a plain-text document in which line n is
    // block n. Characters that a text document would take as a break inside
    // a line show as U+FFFD.
    QString documentText() const;

    // The line holding a byte; a byte of a line break belongs to the line it
    // ends, and a position past the end to the last line.
    int lineOfByte(std::size_t offset) const;
    // The column within its line of the character holding a byte (a byte of
    // a line break gives the line's length).
    int columnOfByte(std::size_t offset) const;
    // The document position of a byte: the lines before it, one break each,
    // and the column.
    int positionOfByte(std::size_t offset) const;

    // The colours of line n as formats of its layout, from spans of the
    // whole text (in ascending order).
    QList<QTextLayout::FormatRange> lineFormats(int line,
                                                const std::vector<ColourSpan>& spans) const;

private:
    std::size_t contentEnd(int line) const;  // the first byte of its break
    int columnIn(int line, std::size_t offset) const;

    std::string bytes_;
    bool utf8_ = false;
    std::vector<std::size_t> lineStarts_;   // byte offset of each line
    std::vector<int> linePositions_;        // document position of each line
};

}  // namespace quorvel::app
