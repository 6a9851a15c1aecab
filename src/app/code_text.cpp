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
    return c == 0x2028 || c == 0x2029 || c == 0xFDD0 || c == 0xFDD1 || c == 0x000B ||
           c == 0x000C || c == 0x0000;
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
    const std::size_t size = bytes_.size();
    for (std::size_t i = 0; i < size; ++i) {
        const auto byte = static_cast<unsigned char>(bytes_[i]);
        if (byte == '\r' || byte == '\n') {
            if (byte == '\r' && i + 1 < size && bytes_[i + 1] == '\n') ++i;
            ++position;
            lineStarts_.push_back(i + 1);
            linePositions_.push_back(position);
        } else {
            position += utf8_ ? unitsOfUtf8Byte(byte) : 1;
        }
    }
}

QString CodeText::documentText() const {
    const QString decoded = textFromBytes(bytes_);
    QString text(decoded.size(), Qt::Uninitialized);
    QChar* out = text.data();
    const QChar* in = decoded.constData();
    const QChar* end = in + decoded.size();
    for (; in != end; ++in) {
        const char16_t c = in->unicode();
        if (c == u'\r') {
            if (in + 1 != end && in[1] == u'\n') continue;
            *out++ = u'\n';
        } else if (breaksLine(c)) {
            *out++ = QChar(0xFFFD);
        } else {
            *out++ = *in;
        }
    }
    text.truncate(out - text.constData());
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
    int column = 0;
    for (std::size_t i = start; i < offset; ++i)
        column += unitsOfUtf8Byte(static_cast<unsigned char>(bytes_[i]));
    return column;
}

int CodeText::columnOfByte(std::size_t offset) const {
    return columnIn(lineOfByte(offset), offset);
}

int CodeText::positionOfByte(std::size_t offset) const {
    const int line = lineOfByte(offset);
    return linePositions_[static_cast<std::size_t>(line)] + columnIn(line, offset);
}

QList<QTextLayout::FormatRange> CodeText::lineFormats(int line,
                                                      const std::vector<ColourSpan>& spans) const {
    static const QTextCharFormat formats[] = {formatOf(ColourKind::TagName),
                                              formatOf(ColourKind::QuotedValue),
                                              formatOf(ColourKind::DeclarationOrComment)};
    QList<QTextLayout::FormatRange> ranges;
    if (line < 0 || line >= lineCount()) return ranges;
    const std::size_t start = lineStarts_[static_cast<std::size_t>(line)];
    const std::size_t end = contentEnd(line);
    // Spans never overlap, so their ends ascend as their beginnings do.
    auto span = std::upper_bound(spans.begin(), spans.end(), start,
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
