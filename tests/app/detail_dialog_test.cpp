#include "app/detail_dialog.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QtTest>

#include "app/code_text.h"
#include "app/code_view.h"
#include "report/entry_details.h"
#include "settings/user_settings.h"

using namespace quorvel;
using namespace quorvel::app;

namespace {

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

std::string stdString(const QByteArray& bytes) {
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

}  // namespace

class DetailDialogTest : public QObject {
    Q_OBJECT
private slots:
    void codeTextMapsBytesToDocumentPositions_data();
    void codeTextMapsBytesToDocumentPositions();
    void codeTextFormatsFollowTheColourSpans();
    void selectionAndScroll_data();
    void selectionAndScroll();
    void messagesInsteadOfCode_data();
    void messagesInsteadOfCode();
    void loadsAfterTheDelay();
    void placementSavedAndRestoredWithinTheDesktop();
    void colouredLazilyOnLargePages();
};

void DetailDialogTest::codeTextMapsBytesToDocumentPositions_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("line");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("charAtPosition");  // empty: end of a line

    const QByteArray crlf = "<p>\r\n<b>x</b>\r\n";
    QTest::newRow("crlf first line") << crlf << 1 << 0 << 1 << "p";
    QTest::newRow("crlf on CR") << crlf << 3 << 0 << 3 << "";
    QTest::newRow("crlf on LF") << crlf << 4 << 0 << 3 << "";
    QTest::newRow("crlf second line") << crlf << 5 << 1 << 0 << "<";
    QTest::newRow("lone CR and LF") << QByteArray("a\rb\nc") << 4 << 2 << 0 << "c";
    const QByteArray utf8 = "\xc3\xa9t\xc3\xa9\r\n\xf0\x9f\x98\x80 <a>";  // é t é, emoji
    QTest::newRow("utf8 two-byte") << utf8 << 3 << 0 << 2 << QString::fromUtf8("\xc3\xa9");
    QTest::newRow("utf8 after emoji") << utf8 << 12 << 1 << 3 << "<";
    QTest::newRow("utf8 inside a character")
        << utf8 << 4 << 0 << 2 << QString::fromUtf8("\xc3\xa9");
    const QByteArray latin1 = "caf\xe9 \r\n<i>";  // not UTF-8: one character per byte
    QTest::newRow("latin1") << latin1 << 7 << 1 << 0 << "<";
    QTest::newRow("latin1 accented") << latin1 << 3 << 0 << 3 << QString(QChar(0xe9));
    QTest::newRow("past the end") << QByteArray("<a>\n<b>") << 99 << 1 << 3 << "";
    QTest::newRow("paragraph separator stays inside its line")
        << QByteArray("a\xe2\x80\xa9<b>") << 4 << 0 << 2 << "<";
}

void DetailDialogTest::codeTextMapsBytesToDocumentPositions() {
    QFETCH(QByteArray, bytes);
    QFETCH(int, offset);
    QFETCH(int, line);
    QFETCH(int, column);
    QFETCH(QString, charAtPosition);
    const CodeText code(stdString(bytes));
    QCOMPARE(code.lineOfByte(static_cast<std::size_t>(offset)), line);
    QCOMPARE(code.columnOfByte(static_cast<std::size_t>(offset)), column);
    // The shown line holds that character at that column, and the column
    // leads back to the character's first byte.
    const QString text = code.lineText(line);
    if (charAtPosition.isEmpty()) {
        QCOMPARE(column, text.size());
    } else {
        QCOMPARE(text.mid(column, charAtPosition.size()), charAtPosition);
        const std::size_t back = code.byteOfColumn(line, column);
        QVERIFY(back <= static_cast<std::size_t>(offset));
        QCOMPARE(code.columnOfByte(back), column);
    }
}

void DetailDialogTest::codeTextFormatsFollowTheColourSpans() {
    // "é" takes two bytes but one column: the tag name after it starts at column 2.
    const std::string bytes = "\xc3\xa9 <a href=\"x\">\r\n<!-- c -->";
    const CodeText code(bytes);
    const auto spans = colorizeHtml(bytes);
    const auto first = code.lineFormats(0, spans);
    QCOMPARE(first.size(), 2);
    QCOMPARE(first[0].start, 3);  // "a"
    QCOMPARE(first[0].length, 1);
    QCOMPARE(first[0].format.foreground().color(), QColor(0, 0, 220));
    QCOMPARE(first[1].start, 10);  // "\"x\""
    QCOMPARE(first[1].length, 3);
    QCOMPARE(first[1].format.foreground().color(), QColor(255, 0, 0));
    const auto second = code.lineFormats(1, spans);
    QCOMPARE(second.size(), 1);
    QCOMPARE(second[0].start, 0);
    QCOMPARE(second[0].length, 10);
    QCOMPARE(second[0].format.foreground().color(), QColor(0, 180, 0));
}

void DetailDialogTest::selectionAndScroll_data() {
    QTest::addColumn<QByteArray>("page");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("selected");

    QByteArray lines;
    for (int i = 0; i < 200; ++i)
        lines +=
            "<p>Stra\xc3\x9f"
            "e \xe2\x82\xac " +
            QByteArray::number(i) + " \xf0\x9f\x98\x80</p>\r\n";
    const int target = lines.indexOf(
        "<p>Stra\xc3\x9f"
        "e \xe2\x82\xac 150 ");
    QTest::newRow("CR LF and multi-byte text before the position")
        << lines << target << QString("<p>");
    QTest::newRow("inside a tag, to just after its >")
        << lines << target + 3
        << QString::fromUtf8(
               "Stra\xc3\x9f"
               "e \xe2\x82\xac 150 \xf0\x9f\x98\x80</p>");
    QByteArray oneLine;
    while (oneLine.size() < 200000)
        oneLine += "<td class=\"x\">\xc3\xa9\tcell</td>";
    const int middle = oneLine.indexOf("<td", 150000);
    QTest::newRow("one long line") << oneLine << middle << QString("<td class=\"x\">");
    QTest::newRow("past the last >")
        << QByteArray("<b>x</b> tail\r\nend") << 10 << QString("ail\nend");
    QTest::newRow("beyond the end of the file") << QByteArray("<b>x</b>") << 50 << QString();
}

void DetailDialogTest::selectionAndScroll() {
    QFETCH(QByteArray, page);
    QFETCH(int, position);
    QFETCH(QString, selected);
    QTemporaryDir folder;
    const QString path = folder.filePath("page.htm");
    writeFile(path, page);
    UserSettings settings;
    settings.open(folder.filePath("Quorvel.hc").toStdString());
    DetailDialog dialog(
        settings, EntryDetails{"Error : x", ImportanceClass::Error, path.toStdString(), position});
    dialog.show();
    dialog.loadPage();
    CodeView* view = dialog.codeView();
    QVERIFY(view->showsCode());
    QCOMPARE(view->selectedText(), selected);
    // The caret is at the position, and its line is the first one shown
    // unless the page ends before a full screen.
    const CodeText& code = view->code();
    const auto begin = std::min<std::size_t>(static_cast<std::size_t>(position), page.size());
    QCOMPARE(view->caretByte(), begin);
    QCOMPARE(view->selectedBytes().begin, begin);
    const int line = code.lineOfByte(begin);
    QCOMPARE(view->firstVisibleLine(), std::min(line, view->verticalScrollBar()->maximum()));
    // The caret's column is in view.
    const int column = code.columnOfByte(begin);
    QVERIFY(column >= view->firstVisibleColumn());
    QVERIFY(column < view->firstVisibleColumn() + view->viewport()->width() / 4);
    QVERIFY(view->hasFocus() || !QGuiApplication::focusWindow());
}

void DetailDialogTest::messagesInsteadOfCode_data() {
    QTest::addColumn<int>("position");
    QTest::addColumn<bool>("fileExists");
    QTest::addColumn<QString>("expected");  // %1: the file's path
    QTest::newRow("position 0")
        << 0 << true
        << QString(
               "There's nothing to point you to in the HTML code that will help you solve "
               "this problem or suggestion.\n\nRead the detailed description above and "
               "follow those suggestions.\n");
    QTest::newRow("unreadable file") << 5 << false
                                     << QString(
                                            "Cannot open the HTML file:\n\n%1\n\nNo such file "
                                            "or directory");
}

void DetailDialogTest::messagesInsteadOfCode() {
    QFETCH(int, position);
    QFETCH(bool, fileExists);
    QFETCH(QString, expected);
    QTemporaryDir folder;
    const QString path = folder.filePath("gone page.htm");
    if (fileExists) writeFile(path, "<html>");
    UserSettings settings;
    settings.open(folder.filePath("Quorvel.hc").toStdString());
    DetailDialog dialog(settings,
                        EntryDetails{"x", ImportanceClass::Tip, path.toStdString(), position});
    dialog.loadPage();
    QVERIFY(!dialog.codeView()->showsCode());
    QCOMPARE(dialog.codeView()->text(), expected.contains("%1") ? expected.arg(path) : expected);
}

void DetailDialogTest::loadsAfterTheDelay() {
    QTemporaryDir folder;
    const QString path = folder.filePath("p.htm");
    writeFile(path, "<html><body>hi</body></html>");
    UserSettings settings;
    settings.open(folder.filePath("Quorvel.hc").toStdString());
    DetailDialog dialog(settings, EntryDetails{"Warning : short\r\n\r\nBody : name",
                                               ImportanceClass::Warning, path.toStdString(), 6});
    dialog.show();
    QCOMPARE(dialog.windowTitle(), QString("Quorvel - Detailed Description"));
    QCOMPARE(dialog.findChild<QPlainTextEdit*>("detailText")->toPlainText(),
             QString("Warning : short\n\nBody : name"));
    QCOMPARE(dialog.codeView()->text(), QString("Loading HTML file: please wait..."));
    QTest::qWait(kDetailLoadDelayMs / 2);
    QVERIFY(!dialog.loaded());
    QTRY_VERIFY_WITH_TIMEOUT(dialog.loaded(), 3000);
    QCOMPARE(dialog.codeView()->selectedText(), QString("<body>"));
}

void DetailDialogTest::placementSavedAndRestoredWithinTheDesktop() {
    QTemporaryDir folder;
    UserSettings settings;
    settings.open(folder.filePath("Quorvel.hc").toStdString());
    const QRect desktop = QGuiApplication::primaryScreen()->virtualGeometry();
    // Stored partly beyond the desktop's right edge: moved left, size kept.
    QVERIFY(settings.setOption(TextOption::DetailedDescriptionWindowSize,
                               QString("%1,40,%2,340,0")
                                   .arg(desktop.right() - 100)
                                   .arg(desktop.right() + 300)
                                   .toStdString()));
    {
        DetailDialog dialog(settings, EntryDetails{"x", ImportanceClass::Error, "", 0});
        QCOMPARE(dialog.geometry(), QRect(desktop.right() + 1 - 400, 40, 400, 300));
        dialog.setGeometry(20, 30, 500, 320);
        dialog.accept();
    }
    QCOMPARE(QString::fromStdString(settings.option(TextOption::DetailedDescriptionWindowSize)),
             QString("20,30,520,350,0"));
    QVERIFY(settings.setOption(TextOption::DetailedDescriptionWindowSize, "20,30,520,350,1"));
    DetailDialog maximised(settings, EntryDetails{"x", ImportanceClass::Error, "", 0});
    QVERIFY(maximised.windowState() & Qt::WindowMaximized);
}

void DetailDialogTest::colouredLazilyOnLargePages() {
    QTemporaryDir folder;
    const QString path = folder.filePath("big.htm");
    QByteArray page;
    while (page.size() < 4 * 1024 * 1024)
        page += "<tr><td class=\"c\">cell</td><td>text</td></tr>\r\n";
    writeFile(path, page);
    UserSettings settings;
    settings.open(folder.filePath("Quorvel.hc").toStdString());
    DetailDialog dialog(settings, EntryDetails{"x", ImportanceClass::Error, path.toStdString(),
                                               static_cast<int>(page.size() / 2)});
    dialog.show();
    dialog.loadPage();
    QTRY_VERIFY(dialog.codeView()->coloured());
    const QImage shown = dialog.codeView()->viewport()->grab().toImage();
    const int coloured = dialog.codeView()->colouredLineCount();
    QVERIFY(coloured > 0);
    QVERIFY(coloured < 1000);
    // Tag names are drawn blue, quoted values red.
    bool blue = false;
    bool red = false;
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x) {
            const QColor pixel = shown.pixelColor(x, y);
            blue = blue || (pixel.blue() > 150 && pixel.red() < 80 && pixel.green() < 80);
            red = red || (pixel.red() > 200 && pixel.green() < 80 && pixel.blue() < 80);
        }
    }
    QVERIFY(blue);
    QVERIFY(red);
}

QTEST_MAIN(DetailDialogTest)
#include "detail_dialog_test.moc"
