#include "app/code_view.h"

#include <QFontDatabase>
#include <QScrollBar>
#include <QTextBlock>
#include <algorithm>

namespace quorvel::app {

CodeView::CodeView(QWidget* parent) : QPlainTextEdit(parent) {
    setReadOnly(true);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setUndoRedoEnabled(false);
    // Read-only, but the caret moves and text can be selected and copied.
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSize(10);
    setFont(font);
    // The colours of the code are chosen for a white page.
    QPalette colours = palette();
    colours.setColor(QPalette::Base, Qt::white);
    colours.setColor(QPalette::Text, Qt::black);
    setPalette(colours);
}

void CodeView::showMessage(const QString& text) {
    showsCode_ = false;
    code_ = CodeText();
    spans_.clear();
    coloured_.clear();
    colouredCount_ = 0;
    setPlainText(text);
}

void CodeView::showCode(CodeText code, std::vector<ColourSpan> spans) {
    code_ = std::move(code);
    spans_ = std::move(spans);
    coloured_.assign(static_cast<std::size_t>(code_.lineCount()), false);
    colouredCount_ = 0;
    showsCode_ = true;
    setPlainText(code_.documentText());
    moveCursor(QTextCursor::Start);
}

void CodeView::selectBytes(const TextSelection& selection) {
    if (!showsCode_) return;
    QTextCursor cursor(document());
    cursor.setPosition(code_.positionOfByte(selection.end));
    cursor.setPosition(code_.positionOfByte(selection.begin), QTextCursor::KeepAnchor);
    setTextCursor(cursor);
    // Without wrapping, one step of the bar is one line.
    horizontalScrollBar()->setValue(0);
    verticalScrollBar()->setValue(code_.lineOfByte(selection.begin));
    ensureCursorVisible();
}

TextSelection CodeView::selectedBytes() const {
    // Back from document positions to bytes by searching the byte whose
    // position is reached: fine for tests and small pages.
    const QTextCursor cursor = textCursor();
    const auto byteAt = [this](int position) {
        std::size_t low = 0;
        std::size_t high = code_.bytes().size();
        while (low < high) {
            const std::size_t middle = low + (high - low) / 2;
            if (code_.positionOfByte(middle) < position) {
                low = middle + 1;
            } else {
                high = middle;
            }
        }
        return low;
    };
    return {byteAt(cursor.selectionStart()), byteAt(cursor.selectionEnd())};
}

void CodeView::colourVisibleLines() {
    if (!showsCode_) return;
    const int viewBottom = viewport()->height();
    int dirtyFrom = -1;
    int dirtyTo = -1;
    for (QTextBlock block = firstVisibleBlock(); block.isValid(); block = block.next()) {
        if (blockBoundingGeometry(block).translated(contentOffset()).top() > viewBottom) break;
        const auto line = static_cast<std::size_t>(block.blockNumber());
        if (line >= coloured_.size() || coloured_[line]) continue;
        coloured_[line] = true;
        ++colouredCount_;
        const QList<QTextLayout::FormatRange> formats =
            code_.lineFormats(block.blockNumber(), spans_);
        if (formats.isEmpty()) continue;
        block.layout()->setFormats(formats);
        if (dirtyFrom < 0) dirtyFrom = block.position();
        dirtyTo = block.position() + block.length();
    }
    if (dirtyFrom >= 0) document()->markContentsDirty(dirtyFrom, dirtyTo - dirtyFrom);
}

void CodeView::paintEvent(QPaintEvent* event) {
    colourVisibleLines();
    QPlainTextEdit::paintEvent(event);
}

}  // namespace quorvel::app
