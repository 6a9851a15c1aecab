#pragma once

// A read-only view of a page's HTML code, coloured one visible line at a
// time so that a page of many megabytes opens at once.

#include <QPlainTextEdit>
#include <vector>

#include "app/code_text.h"
#include "report/entry_details.h"
#include "report/html_colorizer.h"

namespace quorvel::app {

class CodeView : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit CodeView(QWidget* parent = nullptr);

    // Shows a plain message instead of code.
    void showMessage(const QString& text);
    // Shows a page's code; `spans` are the colours of its bytes.
    void showCode(CodeText code, std::vector<ColourSpan> spans);
    bool showsCode() const { return showsCode_; }
    const CodeText& code() const { return code_; }

    // Selects the bytes [begin, end) with the caret at begin, scrolls the
    // line of begin to the top and its column into view.
    void selectBytes(const TextSelection& selection);
    // The selection in bytes of the page, for tests.
    TextSelection selectedBytes() const;
    // How many lines have been given their colours so far.
    int colouredLineCount() const { return colouredCount_; }
    // Colours the lines now in view (painting does it too).
    void colourVisibleLines();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    CodeText code_;
    std::vector<ColourSpan> spans_;
    std::vector<bool> coloured_;
    int colouredCount_ = 0;
    bool showsCode_ = false;
};

}  // namespace quorvel::app
