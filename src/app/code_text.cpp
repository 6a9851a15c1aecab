#include "app/code_text.h"

#include <QColor>
#include <QTextCharFormat>
#include <algorithm>

#include "app/text_bytes.h"

namespace quorvel::app {

namespace {

bool isContinuationByte(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// UTF-16 units of the character a UTF-8 byte begins (0 for a continuation
// byte): two for the four-byte forms, one otherwise.
int unitsOfUtf8Byte(unsigned char byte) {
    if (isContinuationByte(byte)) return 0;
    return byte >= 0xF0 ? 2 : 1;
}

// Characters a text document would take as a break or a frame mark.
bool breaksLine(char16_t c) {
    return c == 0x2028 || c == 0x2029 || c == 0xFDD0 || c == 0xFDD1 || c == 0x000B || c == 0x000C ||
           c == 0x0000;
}

QTextCharFormat formatOf(ColourKind kind) {
    const RgbColour colour = colourOf(kind);
    QTextCharFormat format;
    format.setForeground(QColor(colour.red, colour.green, colour.blue));
    return format;
}

}  // namespace

CodeText::CodeText(std::string bytes) : bytes_(std::move(bytes)) {
    utf8_ = isValidUtf8(bytes_);
    lineStarts_.push_back(0);
    linePositions_.push_back(0);
    int position = 0;
    int lineWidth = 0;
    const std::size_t size = bytes_.size();
    for (std::size_t i = 0; i < size; ++i) {
        const auto byte = static_cast<unsigned char>(bytes_[i]);
        if (byte == '\r' || byte == '\n') {
            if (byte == '\r' && i + 1 < size && bytes_[i + 1] == '\n') ++i;
            ++position;
            lineStarts_.push_back(i + 1);
            linePositions_.push_back(position);
            widestLine_ = std::max(widestLine_, lineWidth);
            lineWidth = 0;
        } else {
            const int units = utf8_ ? unitsOfUtf8Byte(byte) : 1;
            position += units;
            lineWidth += byte == '\t' ? kTabWidth : units;
        }
    }
    widestLine_ = std::max(widestLine_, lineWidth);
}

QString CodeText::lineText(int line) const {
    if (line < 0 || line >= lineCount()) return {};
    const std::size_t start = lineStarts_[static_cast<std::size_t>(line)];
    const QByteArrayView bytes(bytes_.data() + start,
                               static_cast<qsizetype>(contentEnd(line) - start));
    QString text = utf8_ ? QString::fromUtf8(bytes) : QString::fromLatin1(bytes);
    for (QChar& c : text) {
        if (breaksLine(c.unicode()) || (c.unicode() < 0x20 && c != u'\t')) c = QChar(0xFFFD);
    }
    return text;
}

QString CodeText::textOf(std::size_t begin, std::size_t end) const {
    end = std::min(end, bytes_.size());
    begin = std::min(begin, end);
    const QByteArrayView bytes(bytes_.data() + begin, static_cast<qsizetype>(end - begin));
    QString text = utf8_ ? QString::fromUtf8(bytes) : QString::fromLatin1(bytes);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    return text;
}

std::size_t CodeText::contentEnd(int line) const {
    const auto index = static_cast<std::size_t>(line);
    if (index + 1 >= lineStarts_.size()) return bytes_.size();
    std::size_t next = lineStarts_[index + 1];
    if (bytes_[next - 1] == '\n') {
        --next;
        if (next > lineStarts_[index] && bytes_[next - 1] == '\r') --next;
        return next;
    }
    return next - 1;  // a lone CR
}

int CodeText::lineOfByte(std::size_t offset) const {
    const auto after = std::upper_bound(lineStarts_.begin(), lineStarts_.end(), offset);
    return static_cast<int>(after - lineStarts_.begin()) - 1;
}

int CodeText::columnIn(int line, std::size_t offset) const {
    const std::size_t start = lineStarts_[static_cast<std::size_t>(line)];
    offset = std::min(std::max(offset, start), contentEnd(line));
    if (!utf8_) return static_cast<int>(offset - start);
    // A byte inside a character stands for the whole character.
    while (offset > start && offset < bytes_.size() &&
           isContinuationByte(static_cast<unsigned char>(bytes_[offset])))
        --offset;
    int column = 0;
    for (std::size_t i = start; i < offset; ++i)
        column += unitsOfUtf8Byte(static_cast<unsigned char>(bytes_[i]));
    return column;
}

int CodeText::columnOfByte(std::size_t offset) const {
    return columnIn(lineOfByte(offset), offset);
}

std::size_t CodeText::byteOfColumn(int line, int column) const {
    line = std::clamp(line, 0, lineCount() - 1);
    const std::size_t start = lineStarts_[static_cast<std::size_t>(line)];
    const std::size_t end = contentEnd(line);
    if (!utf8_) return std::min(start + static_cast<std::size_t>(std::max(column, 0)), end);
    int units = 0;
    std::size_t i = start;
    for (; i < end; ++i) {
        const int width = unitsOfUtf8Byte(static_cast<unsigned char>(bytes_[i]));
        if (width == 0) continue;
        if (units + width > column) break;
        units += width;
    }
    return i;
}

int CodeText::positionOfByte(std::size_t offset) const {
    const int line = lineOfByte(offset);
    return linePositions_[static_cast<std::size_t>(line)] + columnIn(line, offset);
}

int CodeText::lineLength(int line) const {
    const auto index = static_cast<std::size_t>(line);
    if (index + 1 < linePositions_.size())
        return linePositions_[index + 1] - linePositions_[index] - 1;
    return columnIn(line, bytes_.size());
}

QList<QTextLayout::FormatRange> CodeText::lineFormats(int line,
                                                      const std::vector<ColourSpan>& spans) const {
    if (line < 0 || line >= lineCount()) return {};
    return rangeFormats(lineStarts_[static_cast<std::size_t>(line)], contentEnd(line), spans);
}

QList<QTextLayout::FormatRange> CodeText::rangeFormats(std::size_t start, std::size_t end,
                                                       const std::vector<ColourSpan>& spans) const {
    static const QTextCharFormat formats[] = {formatOf(ColourKind::TagName),
                                              formatOf(ColourKind::QuotedValue),
                                              formatOf(ColourKind::DeclarationOrComment)};
    QList<QTextLayout::FormatRange> ranges;
    // Spans never overlap, so their ends ascend as their beginnings do.
    auto span =
        std::upper_bound(spans.begin(), spans.end(), start,
                         [](std::size_t offset, const ColourSpan& s) { return offset < s.end; });
    // Columns are counted forward from one span to the next, so a long line
    // is walked once.
    std::size_t byte = start;
    int column = 0;
    const auto columnAt = [&](std::size_t offset) {
        if (!utf8_) return static_cast<int>(offset - start);
        for (; byte < offset; ++byte)
            column += unitsOfUtf8Byte(static_cast<unsigned char>(bytes_[byte]));
        return column;
    };
    for (; span != spans.end() && span->begin < end; ++span) {
        const int first = columnAt(std::max(span->begin, start));
        const int last = columnAt(std::min(span->end, end));
        if (last > first)
            ranges.append({first, last - first, formats[static_cast<int>(span->kind)]});
    }
    return ranges;
}

}  // namespace quorvel::app
