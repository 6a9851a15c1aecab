#pragma once

// A read-only view of a page's HTML code. It draws only the lines in view,
// straight from the page's bytes, and colours them as they are drawn, so a
// page of many megabytes, or one long line, opens at once.

#include <QAbstractScrollArea>
#include <QTextLayout>
#include <vector>

#include "app/code_text.h"
#include "report/entry_details.h"
#include "report/html_colorizer.h"

namespace quorvel::app {

class CodeView : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit CodeView(QWidget* parent = nullptr);

    // Shows a plain message instead of code.
    void showMessage(const QString& text);
    // Shows a page's code; `spans` are the colours of its bytes.
    void showCode(CodeText code, std::vector<ColourSpan> spans);
    // The colours of the code shown, when they come later.
    void setSpans(std::vector<ColourSpan> spans);
    // Whether the colours of the code shown are known (they may be none).
    bool coloured() const { return coloursKnown_; }
    bool showsCode() const { return showsCode_; }
    const CodeText& code() const { return code_; }
    // Everything shown, lines joined by '\n'.
    QString text() const;

    // Selects the bytes [begin, end) with the caret at begin, scrolls the
    // line of begin to the top and its column into view.
    void selectBytes(const TextSelection& selection);
    // The selection in bytes of the page, and as text.
    TextSelection selectedBytes() const;
    QString selectedText() const;
    std::size_t caretByte() const { return caret_; }
    int firstVisibleLine() const;
    // The first column in view.
    int firstVisibleColumn() const;
    // How many lines have been coloured so far (each once, when first drawn).
    int colouredLineCount() const { return colouredCount_; }

    void copy() const;
    void selectAll();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    // A line as drawn: its text (or the part of a long line in view), the
    // display column of each character and one past the last, its colours.
    struct Line {
        QString text;
        int firstColumn = 0;
        std::vector<int> columnOf;
        QList<QTextLayout::FormatRange> formats;
    };
    Line displayLine(int line);
    int displayColumnOfByte(std::size_t offset) const;
    void updateScrollBars();
    int visibleLineCount() const;
    std::size_t byteAt(const QPoint& point) const;
    void scrollToCaret();

    CodeText code_;
    std::vector<ColourSpan> spans_;
    std::vector<bool> coloured_;
    int colouredCount_ = 0;
    bool showsCode_ = false;
    bool coloursKnown_ = false;
    std::size_t anchor_ = 0;
    std::size_t caret_ = 0;
    int charWidth_ = 8;
    int lineHeight_ = 16;
};

}  // namespace quorvel::app
