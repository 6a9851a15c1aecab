#include "app/code_view.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

namespace quorvel::app {

namespace {

// Lines longer than this are drawn from the part in view only, a tab
// counted as one column, so a page that is one long line stays quick.
constexpr int kLongLine = 1 << 16;

const QColor kSelectionColour(173, 214, 255);
// Room between the view's left edge and the first column.
constexpr int kMargin = 4;

}  // namespace

CodeView::CodeView(QWidget* parent) : QAbstractScrollArea(parent) {
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSize(10);
    setFont(font);
    const QFontMetrics metrics(font);
    charWidth_ = std::max(1, metrics.horizontalAdvance(QLatin1Char('M')));
    lineHeight_ = std::max(1, metrics.lineSpacing());
    // The colours of the code are chosen for a white page.
    QPalette colours = viewport()->palette();
    colours.setColor(QPalette::Base, Qt::white);
    colours.setColor(QPalette::Text, Qt::black);
    viewport()->setPalette(colours);
    viewport()->setAutoFillBackground(true);
    viewport()->setCursor(Qt::IBeamCursor);
    setFocusPolicy(Qt::StrongFocus);
    verticalScrollBar()->setSingleStep(1);
    horizontalScrollBar()->setSingleStep(charWidth_);
}

void CodeView::showMessage(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    showCode(CodeText(std::string(utf8.constData(), static_cast<std::size_t>(utf8.size()))), {});
    showsCode_ = false;
}

void CodeView::showCode(CodeText code, std::vector<ColourSpan> spans) {
    code_ = std::move(code);
    coloursKnown_ = !spans.empty();
    spans_ = std::move(spans);
    coloured_.assign(static_cast<std::size_t>(code_.lineCount()), false);
    colouredCount_ = 0;
    showsCode_ = true;
    anchor_ = caret_ = 0;
    updateScrollBars();
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
    viewport()->update();
}

void CodeView::setSpans(std::vector<ColourSpan> spans) {
    spans_ = std::move(spans);
    coloursKnown_ = true;
    coloured_.assign(coloured_.size(), false);
    colouredCount_ = 0;
    viewport()->update();
}

QString CodeView::text() const {
    return code_.textOf(0, code_.bytes().size());
}

int CodeView::visibleLineCount() const {
    return std::max(1, viewport()->height() / lineHeight_);
}

void CodeView::updateScrollBars() {
    const int visible = visibleLineCount();
    verticalScrollBar()->setPageStep(visible);
    verticalScrollBar()->setRange(0, std::max(0, code_.lineCount() - visible));
    const int width = viewport()->width();
    horizontalScrollBar()->setPageStep(width);
    const qint64 contentWidth = qint64(code_.widestLine() + 1) * charWidth_ + 2 * kMargin;
    horizontalScrollBar()->setRange(
        0, static_cast<int>(std::clamp<qint64>(contentWidth - width, 0, INT_MAX / 2)));
}

int CodeView::firstVisibleLine() const {
    return verticalScrollBar()->value();
}

int CodeView::firstVisibleColumn() const {
    return horizontalScrollBar()->value() / charWidth_;
}

CodeView::Line CodeView::displayLine(int line) {
    Line shown;
    const std::size_t start = code_.lineStart(line);
    const std::size_t end = code_.lineEnd(line);
    if (code_.lineLength(line) <= kLongLine) {
        shown.text = code_.lineText(line);
        shown.firstColumn = 0;
        shown.columnOf.resize(static_cast<std::size_t>(shown.text.size()) + 1);
        int column = 0;
        for (qsizetype i = 0; i < shown.text.size(); ++i) {
            shown.columnOf[static_cast<std::size_t>(i)] = column;
            column = shown.text[i] == u'\t'
                         ? (column / CodeText::kTabWidth + 1) * CodeText::kTabWidth
                         : column + 1;
        }
        shown.columnOf.back() = column;
        shown.formats = code_.rangeFormats(start, end, spans_);
        return shown;
    }
    // Only the part in view, a character a column.
    const int firstColumn = std::max(0, firstVisibleColumn() - 1);
    const int lastColumn = firstColumn + viewport()->width() / charWidth_ + 3;
    const std::size_t from = code_.byteOfColumn(line, firstColumn);
    const std::size_t to = code_.byteOfColumn(line, lastColumn);
    shown.text = code_.textOf(from, to);
    for (QChar& c : shown.text) {
        if (c == u'\t') {
            c = u' ';
        } else if (c.unicode() < 0x20) {
            c = QChar(0xFFFD);
        }
    }
    shown.firstColumn = code_.columnOfByte(from);
    shown.columnOf.resize(static_cast<std::size_t>(shown.text.size()) + 1);
    for (std::size_t i = 0; i < shown.columnOf.size(); ++i)
        shown.columnOf[i] = shown.firstColumn + static_cast<int>(i);
    shown.formats = code_.rangeFormats(from, to, spans_);
    return shown;
}

int CodeView::displayColumnOfByte(std::size_t offset) const {
    const int line = code_.lineOfByte(offset);
    const int column = code_.columnOfByte(offset);
    if (code_.lineLength(line) > kLongLine) return column;
    const QString text = code_.lineText(line);
    int display = 0;
    for (int i = 0; i < column && i < text.size(); ++i)
        display = text[i] == u'\t' ? (display / CodeText::kTabWidth + 1) * CodeText::kTabWidth
                                   : display + 1;
    return display;
}

void CodeView::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    painter.setFont(font());
    const QFontMetrics metrics(font());
    const int xOffset = horizontalScrollBar()->value() - kMargin;
    const int firstColumn = xOffset / charWidth_ - 1;
    const int lastColumn = (xOffset + viewport()->width()) / charWidth_ + 1;
    const std::size_t selectionBegin = std::min(anchor_, caret_);
    const std::size_t selectionEnd = std::max(anchor_, caret_);
    const int first = firstVisibleLine();
    const int last = std::min(code_.lineCount() - 1, first + visibleLineCount());

    for (int line = first; line <= last; ++line) {
        const int y = (line - first) * lineHeight_;
        const Line shown = displayLine(line);
        if (!coloured_[static_cast<std::size_t>(line)]) {
            coloured_[static_cast<std::size_t>(line)] = true;
            ++colouredCount_;
        }
        const std::size_t lineStart = code_.lineStart(line);
        const std::size_t lineEnd = code_.lineEnd(line);
        // The selected part of the line; a selected line break shows as one
        // more column.
        if (selectionBegin < selectionEnd && selectionBegin <= lineEnd &&
            selectionEnd > lineStart) {
            const int from = selectionBegin <= lineStart ? 0 : displayColumnOfByte(selectionBegin);
            const int to = selectionEnd > lineEnd ? displayColumnOfByte(lineEnd) + 1
                                                  : displayColumnOfByte(selectionEnd);
            painter.fillRect(from * charWidth_ - xOffset, y, (to - from) * charWidth_, lineHeight_,
                             kSelectionColour);
        }
        // The characters in view, in runs of one colour without tabs.
        const auto& columns = shown.columnOf;
        const auto firstChar = static_cast<qsizetype>(
            std::lower_bound(columns.begin(), columns.end() - 1, firstColumn) - columns.begin());
        const auto endChar = static_cast<qsizetype>(
            std::upper_bound(columns.begin(), columns.end() - 1, lastColumn) - columns.begin());
        qsizetype formatIndex = 0;
        qsizetype i = firstChar;
        while (i < endChar) {
            while (formatIndex < shown.formats.size() &&
                   shown.formats[formatIndex].start + shown.formats[formatIndex].length <= i)
                ++formatIndex;
            QColor colour = Qt::black;
            qsizetype runEnd = endChar;
            if (formatIndex < shown.formats.size()) {
                const auto& format = shown.formats[formatIndex];
                if (format.start <= i) {
                    colour = format.format.foreground().color();
                    runEnd = std::min<qsizetype>(runEnd, format.start + format.length);
                } else {
                    runEnd = std::min<qsizetype>(runEnd, format.start);
                }
            }
            while (i < runEnd && shown.text[i] == u'\t')
                ++i;
            qsizetype pieceEnd = i;
            while (pieceEnd < runEnd && shown.text[pieceEnd] != u'\t')
                ++pieceEnd;
            if (pieceEnd > i) {
                painter.setPen(colour);
                painter.drawText(columns[static_cast<std::size_t>(i)] * charWidth_ - xOffset,
                                 y + metrics.ascent(), shown.text.mid(i, pieceEnd - i));
            }
            i = pieceEnd;
        }
        // The caret.
        if (hasFocus() && code_.lineOfByte(caret_) == line) {
            const int x = displayColumnOfByte(caret_) * charWidth_ - xOffset;
            painter.fillRect(x, y, 1, lineHeight_, Qt::black);
        }
    }
}

void CodeView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

void CodeView::selectBytes(const TextSelection& selection) {
    const std::size_t size = code_.bytes().size();
    anchor_ = std::min(selection.end, size);
    caret_ = std::min(selection.begin, size);
    verticalScrollBar()->setValue(code_.lineOfByte(caret_));
    scrollToCaret();
    viewport()->update();
}

void CodeView::scrollToCaret() {
    const int x = displayColumnOfByte(caret_) * charWidth_;
    const int width = viewport()->width();
    QScrollBar* bar = horizontalScrollBar();
    if (x < bar->value() || x + charWidth_ > bar->value() + width)
        bar->setValue(std::max(0, x - width / 3));
}

TextSelection CodeView::selectedBytes() const {
    return {std::min(anchor_, caret_), std::max(anchor_, caret_)};
}

QString CodeView::selectedText() const {
    const TextSelection selection = selectedBytes();
    return code_.textOf(selection.begin, selection.end);
}

void CodeView::copy() const {
    const QString text = selectedText();
    if (!text.isEmpty()) QApplication::clipboard()->setText(text);
}

void CodeView::selectAll() {
    anchor_ = 0;
    caret_ = code_.bytes().size();
    viewport()->update();
}

std::size_t CodeView::byteAt(const QPoint& point) const {
    const int line =
        std::clamp(firstVisibleLine() + point.y() / lineHeight_, 0, code_.lineCount() - 1);
    const int display = std::max(
        0, (point.x() - kMargin + horizontalScrollBar()->value() + charWidth_ / 2) / charWidth_);
    if (code_.lineLength(line) > kLongLine) return code_.byteOfColumn(line, display);
    const QString text = code_.lineText(line);
    int column = 0;
    int index = 0;
    for (; index < text.size(); ++index) {
        const int next = text[index] == u'\t'
                             ? (column / CodeText::kTabWidth + 1) * CodeText::kTabWidth
                             : column + 1;
        if (next > display) break;
        column = next;
    }
    return code_.byteOfColumn(line, index);
}

void CodeView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QAbstractScrollArea::mousePressEvent(event);
    caret_ = byteAt(event->position().toPoint());
    if (!(event->modifiers() & Qt::ShiftModifier)) anchor_ = caret_;
    viewport()->update();
}

void CodeView::mouseMoveEvent(QMouseEvent* event) {
    if (!(event->buttons() & Qt::LeftButton)) return;
    caret_ = byteAt(event->position().toPoint());
    viewport()->update();
}

void CodeView::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Copy)) return copy();
    if (event->matches(QKeySequence::SelectAll)) return selectAll();
    if (event->matches(QKeySequence::MoveToStartOfDocument))
        return verticalScrollBar()->setValue(0);
    if (event->matches(QKeySequence::MoveToEndOfDocument))
        return verticalScrollBar()->setValue(verticalScrollBar()->maximum());
    if (event->key() == Qt::Key_Home) return horizontalScrollBar()->setValue(0);
    QAbstractScrollArea::keyPressEvent(event);
}

void CodeView::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    QAction* copyAction = menu.addAction(tr("&Copy"), this, &CodeView::copy);
    copyAction->setEnabled(anchor_ != caret_);
    menu.addAction(tr("Select &All"), this, &CodeView::selectAll);
    menu.exec(event->globalPos());
}

}  // namespace quorvel::app
