#include "app/report_page.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QAbstractItemModelTester>
#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

#include "app/app_state.h"
#include "app/code_view.h"
#include "app/detail_dialog.h"
#include "app/file_dialog.h"
#include "app/message_box.h"
#include "app/report_commands.h"
#include "app/report_model.h"
#include "report/report_export.h"
#include "report/report_header.h"

using namespace quorvel;
using namespace quorvel::app;

namespace {

const char* const kActionNames[] = {
    "showDetailsAction",    "exportTextAction",    "exportHtmlAction",   "copyTextAction",
    "copyHtmlAction",       "emailAction",         "openBrowserAction",  "openHtmlEditorAction",
    "openTextEditorAction", "openUserTool1Action", "openUserTool2Action"};

// A project in a scratch folder with the settings and checker files of its own.
struct Project {
    QTemporaryDir dir;
    AppState state;

    Project() {
        state.settings.open(path("Quorvel.hc").toStdString());
        state.checker.open(path("Quorvel.chk").toStdString());
        QVERIFY(state.settings.setFolder(dir.path().toStdString()));
        state.settings.addKeyword("shoes");
        state.settings.setCurrentKeyword("shoes");
    }
    QString path(const QString& name) const { return dir.filePath(name); }
    void writePage(const QString& name, const QByteArray& bytes) const {
        QFile file(path(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    // An executable script; `body` runs with the arguments in "$@".
    QString writeScript(const QString& name, const QByteArray& body) const {
        QFile file(path(name));
        if (!file.open(QIODevice::WriteOnly)) return {};
        file.write("#!/bin/sh\n" + body);
        file.close();
        file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
        return file.fileName();
    }
    // A script that records its arguments, each ended by a NUL, in `record`.
    QString writeRecorder(const QString& name, const QString& record, int status = 0) const {
        return writeScript(name, "printf '%s\\0' \"$@\" > '" + QFile::encodeName(record) +
                                     "'\nexit " + QByteArray::number(status) + "\n");
    }
};

ReportEntry entry(char letter, const char* file = "page.htm", int position = 0,
                  const char* description = "Title too short", std::uint8_t code = 0) {
    return makeReportEntry(letter, file, position, description, code);
}

QVector<ReportEntry> typicalRows() {
    return {entry('E', "a.htm", 12, "Title missing", 0), entry('W', "a.htm", 40, "Meta short", 33),
            entry('*'), entry('S', "b.htm", 0, "Add alt text", 96), entry('*')};
}

QStringList recordedArguments(const QString& record, int timeoutMs = 5000) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < timeoutMs) {
        QFile file(record);
        if (file.open(QIODevice::ReadOnly)) {
            const QByteArray bytes = file.readAll();
            if (bytes.endsWith('\0')) {
                QStringList arguments = QString::fromUtf8(bytes).split(QChar(0));
                arguments.removeLast();
                return arguments;
            }
        }
        QTest::qWait(20);
    }
    return {};
}

// The report without its time stamp, which differs between two builds.
QByteArray undated(QByteArray report) {
    static const QRegularExpression date("Date = +[^\\r<]*");
    return QString::fromLatin1(report).replace(date, "Date = ?").toLatin1();
}

QByteArray bytesOf(const std::string& text) {
    return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// The report as the core builds it for the page's rows.
QByteArray coreReport(const AppState& state, const ReportList& list, ReportFormat format) {
    const ReportHeader header = currentReportHeader(state);
    if (format == ReportFormat::Text) return bytesOf(buildTextReport(list.rows(), header));
    const EngineRules rules = state.checker.resolve(state.settings.currentEngine());
    return bytesOf(buildHtmlReport(list.rows(), header, rules, currentLocalDateTime().year));
}

class EnvironmentScope {
public:
    EnvironmentScope(const char* name, const QByteArray& value) : name_(name) {
        had_ = qEnvironmentVariableIsSet(name);
        old_ = qgetenv(name);
        if (value.isNull()) {
            qunsetenv(name);
        } else {
            qputenv(name, value);
        }
    }
    ~EnvironmentScope() {
        if (had_) {
            qputenv(name_, old_);
        } else {
            qunsetenv(name_);
        }
    }

private:
    const char* name_;
    bool had_;
    QByteArray old_;
};

}  // namespace

class ReportPageTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        MessageBox::setNextAnswer(QMessageBox::Ok);
        MessageBox::takeShown();
    }
    void cleanup() {
        MessageBox::clearTestMode();
        FileDialog::clearTestMode();
    }

    void classWordsColoursAndIcons_data();
    void classWordsColoursAndIcons();
    void warnListedAsWarningButDetailedAsError();
    void modelPassesTheTester();
    void menuStates_data();
    void menuStates();
    void doubleClickAndRightClick();
    void functionKeys_data();
    void functionKeys();
    void exportsAreTheCoreReports_data();
    void exportsAreTheCoreReports();
    void exportWriteFailureNamesTheFile();
    void clipboardHoldsTheReportAsText_data();
    void clipboardHoldsTheReportAsText();
    void htmlReportInThePrivateFolder();
    void htmlReportInjectsNothing();
    void reportFolderRefused_data();
    void reportFolderRefused();
    void mail_data();
    void mail();
    void selectorsRefilledAndAChangeRunsAgain();
    void runFillsTheReport();
};

void ReportPageTest::classWordsColoursAndIcons_data() {
    QTest::addColumn<char>("letter");
    QTest::addColumn<QString>("word");
    QTest::addColumn<QColor>("background");  // invalid: the list's own
    QTest::addColumn<int>("importance");
    QTest::newRow("w") << 'w' << "Warning" << QColor(255, 204, 102)
                       << int(ImportanceClass::Warning);
    QTest::newRow("W") << 'W' << "Warning" << QColor(255, 204, 102)
                       << int(ImportanceClass::Warning);
    QTest::newRow("s") << 's' << "Suggestion" << QColor() << int(ImportanceClass::Suggestion);
    QTest::newRow("T") << 'T' << "Tip Note" << QColor(176, 196, 222) << int(ImportanceClass::Tip);
    QTest::newRow("x") << 'x' << "Error" << QColor(255, 99, 71) << int(ImportanceClass::Error);
    QTest::newRow("*") << '*' << "-" << QColor(0, 0, 0) << int(ImportanceClass::Separator);
}

void ReportPageTest::classWordsColoursAndIcons() {
    QFETCH(char, letter);
    QFETCH(QString, word);
    QFETCH(QColor, background);
    QFETCH(int, importance);
    ReportModel model;
    model.append({entry(letter, "dir/p\xc3\xa9.htm", 77, "msg")});
    const bool separator = letter == '*';
    QCOMPARE(model.index(0, 0).data().toString(), word);
    QCOMPARE(model.index(0, 1).data().toString(),
             separator ? QString() : QString("dir/p\u00e9.htm"));
    QCOMPARE(model.index(0, 2).data().toString(), separator ? QString() : QString("msg"));
    QCOMPARE(model.index(0, 3).data().toString(), QString("77"));
    QCOMPARE(model.index(0, 1).data(Qt::BackgroundRole).value<QColor>(), background);
    const QIcon icon = model.index(0, 0).data(Qt::DecorationRole).value<QIcon>();
    QVERIFY(!icon.isNull());
    QCOMPARE(icon.cacheKey(), importanceIcon(ImportanceClass(importance)).cacheKey());
    QCOMPARE(icon.pixmap(16, 16).size(), QSize(16, 16));
    QVERIFY(model.index(0, 1).data(Qt::DecorationRole).isNull());
    QCOMPARE(model.headerData(1, Qt::Horizontal).toString(), QString("File Name"));
}

void ReportPageTest::warnListedAsWarningButDetailedAsError() {
    Project project;
    QVERIFY(project.state.checker.setField(0, 0, CheckField::Cat, "Warn"));
    ReportPage page(project.state);
    page.model().append({entry('W', "a.htm", 0, "Title too short", 0)});
    QCOMPARE(page.model().index(0, 0).data().toString(), QString("Warning"));
    auto* table = page.findChild<QTableView*>("reportTable");
    table->selectRow(0);
    QTest::keyClick(table, Qt::Key_F5);
    auto* dialog = page.findChild<DetailDialog*>();
    QVERIFY(dialog);
    QVERIFY(dialog->findChild<QPlainTextEdit*>("detailText")
                ->toPlainText()
                .startsWith("Error : Title too short\n\nTitle : "));
    dialog->loadPage();
    QCOMPARE(dialog->codeView()->text().left(20), QString("There's nothing to p"));
    dialog->close();
}

void ReportPageTest::modelPassesTheTester() {
    ReportModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.append(typicalRows());
    model.append({});
    model.append({entry('T')});
    QCOMPARE(model.rowCount(), 6);
    QCOMPARE(model.columnCount(), 4);
    model.clear();
    QCOMPARE(model.rowCount(), 0);
}

void ReportPageTest::menuStates_data() {
    QTest::addColumn<int>("rows");         // 0: empty report
    QTest::addColumn<int>("selected");     // -1: nothing
    QTest::addColumn<QString>("enabled");  // one letter per action, then the button
    // details, export x2, copy x2, mail, open x3, user tools x2 | Html Report
    QTest::newRow("empty report") << 0 << -1 << "-----+---++|-";
    QTest::newRow("nothing selected") << 5 << -1 << "-----+---++|-";
    QTest::newRow("a line selected") << 5 << 1 << "+++++++++++|+";
    QTest::newRow("a separator selected") << 5 << 2 << "-++++++++++|+";
}

void ReportPageTest::menuStates() {
    QFETCH(int, rows);
    QFETCH(int, selected);
    QFETCH(QString, enabled);
    Project project;
    ReportPage page(project.state);
    page.show();
    if (rows > 0) page.model().append(typicalRows());
    page.enterPage();
    auto* table = page.findChild<QTableView*>("reportTable");
    if (selected >= 0) table->selectRow(selected);
    QTest::mouseClick(page.findChild<QPushButton*>("menuButton"), Qt::LeftButton);
    QMenu* menu = page.popupMenu();
    QTRY_VERIFY(menu->isVisible());
    QString state;
    for (const char* name : kActionNames)
        state += menu->findChild<QAction*>(name)->isEnabled() ? '+' : '-';
    state += '|';
    state += page.findChild<QPushButton*>("htmlReportButton")->isEnabled() ? '+' : '-';
    QCOMPARE(state, enabled);
    // Separators stand where the groups end; the key hints are in the texts.
    QStringList layout;
    for (QAction* action : menu->actions())
        layout << (action->isSeparator() ? QString("--") : action->text());
    QCOMPARE(layout, QStringList({"Show Item details [F5]", "--", "Export Report as Text...",
                                  "Export Report as Html...", "--", "Copy to clipboard as Text ",
                                  "Copy to clipboard as Html", "--", "Email Report...", "--",
                                  "Open File In Browser [F2]", "Open File In HTML Editor [F3]",
                                  "Open File In Text Editor [F4]", "Open File In User Tool 1",
                                  "Open File In User Tool 2"}));
    menu->hide();
    QVERIFY(!page.findChild<QPushButton*>("densivoButton")->isEnabled());
}

void ReportPageTest::doubleClickAndRightClick() {
    Project project;
    ReportPage page(project.state);
    page.model().append(typicalRows());
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    auto* table = page.findChild<QTableView*>("reportTable");
    // A right click opens the menu where the mouse is.
    const QPoint onSeparator = table->visualRect(page.model().index(2, 1)).center();
    table->selectRow(2);
    emit table->customContextMenuRequested(onSeparator);
    QTRY_VERIFY(page.popupMenu()->isVisible());
    QCOMPARE(page.popupMenu()->pos(), table->viewport()->mapToGlobal(onSeparator));
    QVERIFY(!page.popupMenu()->findChild<QAction*>("showDetailsAction")->isEnabled());
    page.popupMenu()->hide();
    // A double click on a separator shows nothing; on a finding, its details.
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, onSeparator);
    QVERIFY(!page.findChild<DetailDialog*>());
    const QPoint onFinding = table->visualRect(page.model().index(1, 2)).center();
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, onFinding);
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, onFinding);
    QTRY_VERIFY(page.findChild<DetailDialog*>());
}

void ReportPageTest::functionKeys_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("option");
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("opens");
    QTest::newRow("F2 browser") << int(Qt::Key_F2) << int(TextOption::OpenRunApplication) << 0
                                << true;
    QTest::newRow("F3 HTML editor")
        << int(Qt::Key_F3) << int(TextOption::EditRunApplication) << 1 << true;
    QTest::newRow("F4 text editor")
        << int(Qt::Key_F4) << int(TextOption::EditTextRunApplication) << 3 << true;
    QTest::newRow("F2 on a separator")
        << int(Qt::Key_F2) << int(TextOption::OpenRunApplication) << 2 << false;
}

void ReportPageTest::functionKeys() {
    QFETCH(int, key);
    QFETCH(int, option);
    QFETCH(int, row);
    QFETCH(bool, opens);
    Project project;
    const QString record = project.path("record");
    QVERIFY(project.state.settings.setOption(
        TextOption(option), project.writeRecorder("tool.sh", record).toStdString()));
    ReportPage page(project.state);
    page.model().append(typicalRows());
    auto* table = page.findChild<QTableView*>("reportTable");
    table->selectRow(row);
    QTest::keyClick(table, Qt::Key(key));
    if (opens) {
        const QString file = page.model().index(row, 1).data().toString();
        QCOMPARE(recordedArguments(record), QStringList{project.path(file)});
    } else {
        QTest::qWait(300);
        QVERIFY(!QFile::exists(record));
    }
    QVERIFY(!page.findChild<DetailDialog*>());
    // F5 opens the details, but not for a separator.
    QTest::keyClick(table, Qt::Key_F5);
    QCOMPARE(page.findChild<DetailDialog*>() != nullptr, opens);
}

void ReportPageTest::exportsAreTheCoreReports_data() {
    QTest::addColumn<int>("format");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("written");
    QTest::addColumn<QString>("action");
    QTest::newRow("text") << int(ReportFormat::Text) << "out.txt"
                          << "out.txt"
                          << "exportTextAction";
    QTest::newRow("text without extension") << int(ReportFormat::Text) << "report"
                                            << "report.txt"
                                            << "exportTextAction";
    QTest::newRow("html") << int(ReportFormat::Html) << "out.htm"
                          << "out.htm"
                          << "exportHtmlAction";
    QTest::newRow("html over an existing file") << int(ReportFormat::Html) << "old.html"
                                                << "old.html"
                                                << "exportHtmlAction";
}

void ReportPageTest::exportsAreTheCoreReports() {
    QFETCH(int, format);
    QFETCH(QString, chosen);
    QFETCH(QString, written);
    QFETCH(QString, action);
    Project project;
    project.writePage("old.html", "previous content");
    ReportPage page(project.state);
    page.model().append(typicalRows());
    page.findChild<QTableView*>("reportTable")->selectRow(0);
    FileDialog::setNextResult({project.path(chosen)});
    page.popupMenu()->findChild<QAction*>(action)->trigger();
    QCOMPARE(FileDialog::takeShownCaptions(), QStringList{"Save As"});
    QCOMPARE(undated(readAll(project.path(written))),
             undated(coreReport(project.state, page.model().list(), ReportFormat(format))));
    QVERIFY(MessageBox::takeShown().isEmpty());
}

void ReportPageTest::exportWriteFailureNamesTheFile() {
    Project project;
    QDir(project.dir.path()).mkdir("taken.txt");  // a folder where the file should go
    ReportPage page(project.state);
    page.model().append(typicalRows());
    page.findChild<QTableView*>("reportTable")->selectRow(0);
    const QString cases[] = {project.path("missing/out.txt"), project.path("taken.txt")};
    for (const QString& target : cases) {
        FileDialog::setNextResult({target});
        page.popupMenu()->findChild<QAction*>("exportTextAction")->trigger();
        const auto shown = MessageBox::takeShown();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].caption, QString("Quorvel Error Message"));
        QVERIFY2(shown[0].text.contains(target), qPrintable(shown[0].text));
        QVERIFY2(shown[0].text.contains(QRegularExpression("No such file|Is a directory")),
                 qPrintable(shown[0].text));
    }
    QVERIFY(QFileInfo(project.path("taken.txt")).isDir());
    // Cancelled: nothing written, nothing said.
    FileDialog::setNextResult({});
    page.popupMenu()->findChild<QAction*>("exportTextAction")->trigger();
    QVERIFY(MessageBox::takeShown().isEmpty());
}

void ReportPageTest::clipboardHoldsTheReportAsText_data() {
    QTest::addColumn<int>("format");
    QTest::addColumn<QString>("action");
    QTest::newRow("text") << int(ReportFormat::Text) << "copyTextAction";
    QTest::newRow("html") << int(ReportFormat::Html) << "copyHtmlAction";
}

void ReportPageTest::clipboardHoldsTheReportAsText() {
    QFETCH(int, format);
    QFETCH(QString, action);
    Project project;
    ReportPage page(project.state);
    page.model().append(typicalRows());
    page.findChild<QTableView*>("reportTable")->selectRow(0);
    QGuiApplication::clipboard()->clear();
    page.popupMenu()->findChild<QAction*>(action)->trigger();
    QCOMPARE(undated(QGuiApplication::clipboard()->text().toUtf8()),
             undated(coreReport(project.state, page.model().list(), ReportFormat(format))));
}

void ReportPageTest::htmlReportInThePrivateFolder() {
    Project project;
    QTemporaryDir runtime;
    EnvironmentScope scope("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    const QString record = project.path("record");
    QVERIFY(project.state.settings.setOption(
        TextOption::OpenRunApplication, project.writeRecorder("browser.sh", record).toStdString()));
    ReportPage page(project.state);
    // An empty report: nothing is written or opened.
    showHtmlReport(&page, project.state, page.model().list());
    QVERIFY(!QFile::exists(runtime.filePath("quorvel/QuorvelReport.html")));
    page.model().append(typicalRows());
    page.findChild<QTableView*>("reportTable")->selectRow(0);
    page.findChild<QPushButton*>("htmlReportButton")->click();
    const QString written = runtime.filePath("quorvel/QuorvelReport.html");
    QCOMPARE(recordedArguments(record), QStringList{written});
    QCOMPARE(undated(readAll(written)),
             undated(coreReport(project.state, page.model().list(), ReportFormat::Html)));
    QCOMPARE(QFileInfo(runtime.filePath("quorvel")).permissions() & 0x0077, 0);
}

void ReportPageTest::htmlReportInjectsNothing() {
    Project project;
    QTemporaryDir runtime;
    EnvironmentScope scope("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    QVERIFY(project.state.settings.setOption(TextOption::OpenRunApplication, "/bin/true"));
    const char* evil = "<script>alert(\"x\")</script>\"><img src=x onerror=alert(1)>";
    project.state.settings.addKeyword(evil);
    project.state.settings.setCurrentKeyword(evil);
    QVERIFY(project.state.settings.setFolder(std::string("/site/") + evil));
    QVERIFY(project.state.settings.setHomeUrl(evil));
    QVERIFY(project.state.checker.setField(0, 0, CheckField::Descr, evil));
    ReportPage page(project.state);
    page.model().append({entry('E', evil, 5, evil, 0), entry('*')});
    const QString written = showHtmlReport(&page, project.state, page.model().list());
    QVERIFY(!written.isEmpty());
    const QByteArray html = readAll(written);
    QVERIFY(html.contains("&lt;script&gt;"));
    QVERIFY(!html.contains("<script"));
    QVERIFY(!html.contains("<img"));

    const QString chromium = QStandardPaths::findExecutable("chromium");
    if (chromium.isEmpty()) QSKIP("chromium is not installed");
    QProcess browser;
    browser.start(chromium, {"--headless", "--no-sandbox", "--disable-gpu", "--dump-dom",
                             QUrl::fromLocalFile(written).toString()});
    QVERIFY(browser.waitForFinished(60000));
    const QByteArray dom = browser.readAllStandardOutput();
    QVERIFY(dom.contains("<body>"));
    QVERIFY(!dom.contains("<script"));
    QVERIFY(!dom.contains("<img"));
}

void ReportPageTest::reportFolderRefused_data() {
    QTest::addColumn<QString>("kind");
    QTest::newRow("symbolic link") << "link";
    QTest::newRow("another user's folder") << "owner";
    QTest::newRow("open to others") << "mode";
}

void ReportPageTest::reportFolderRefused() {
    QFETCH(QString, kind);
    Project project;
    QTemporaryDir temp;
    EnvironmentScope runtimeScope("XDG_RUNTIME_DIR", QByteArray());
    EnvironmentScope tmpScope("TMPDIR", QFile::encodeName(temp.path()));
    const QString folder = temp.filePath(QString("quorvel-%1").arg(::getuid()));
    const QByteArray path = QFile::encodeName(folder);
    if (kind == "link") {
        QVERIFY(QDir(temp.path()).mkdir("elsewhere"));
        QVERIFY(QFile::link(temp.filePath("elsewhere"), folder));
    } else {
        QVERIFY(::mkdir(path.constData(), 0700) == 0);
        if (kind == "mode") QVERIFY(::chmod(path.constData(), 0755) == 0);
        if (kind == "owner" && ::chown(path.constData(), ::getuid() + 1, -1) != 0)
            QSKIP("cannot give a folder to another user here");
    }
    const QString record = project.path("record");
    QVERIFY(project.state.settings.setOption(
        TextOption::OpenRunApplication, project.writeRecorder("browser.sh", record).toStdString()));
    ReportPage page(project.state);
    page.model().append(typicalRows());
    QVERIFY(showHtmlReport(&page, project.state, page.model().list()).isEmpty());
    const auto shown = MessageBox::takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0].caption, QString("Quorvel Error Message"));
    QVERIFY(
        shown[0].text.startsWith("Sorry, I cannot find a temporary folder where to create "
                                 "the Quorvel HTML Report\n\n" +
                                 folder + ": "));
    QVERIFY(!QFile::exists(temp.filePath("elsewhere/QuorvelReport.html")));
    QVERIFY(!QFile::exists(record));
}

void ReportPageTest::mail_data() {
    QTest::addColumn<int>("rows");         // description rows of 100 bytes each
    QTest::addColumn<QString>("program");  // "record", "fail" or "missing"
    QTest::addColumn<QString>("message");
    QTest::newRow("report as body, HTML attached") << 3 << "record"
                                                   << "";
    QTest::newRow("long report cut, both attached") << 3000 << "record"
                                                    << "";
    QTest::newRow("no mail program") << 3 << "missing"
                                     << "Mapi error 27";
    QTest::newRow("mail program fails") << 3 << "fail"
                                        << "Mapi error 2";
    QTest::newRow("empty report") << 0 << "record"
                                  << "No Report to send!\nPlease first press the Start button";
}

void ReportPageTest::mail() {
    QFETCH(int, rows);
    QFETCH(QString, program);
    QFETCH(QString, message);
    Project project;
    QTemporaryDir runtime;
    EnvironmentScope runtimeScope("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    QVERIFY(QDir(project.dir.path()).mkdir("bin"));
    const QString record = project.path("record");
    if (program == "record") project.writeRecorder("bin/xdg-email", record);
    if (program == "fail") project.writeRecorder("bin/xdg-email", record, 4);
    // Only the stand-in (or nothing) is found on the path.
    EnvironmentScope pathScope("PATH", QFile::encodeName(project.path("bin")));
    ReportPage page(project.state);
    QVector<ReportEntry> entries;
    for (int i = 0; i < rows; ++i)
        entries.append(entry('E', "page.htm", i, QByteArray(100, 'm').constData()));
    page.model().append(entries);
    page.popupMenu()->findChild<QAction*>("emailAction")->trigger();

    if (program == "record" && rows > 0) {
        const QStringList arguments = recordedArguments(record);
        QCOMPARE(arguments.value(0), QString("--subject"));
        QCOMPARE(arguments.value(1), QString("Quorvel HTML Report"));
        QCOMPARE(arguments.value(2), QString("--body"));
        const QByteArray text = coreReport(project.state, page.model().list(), ReportFormat::Text);
        const QString html = runtime.filePath("quorvel/QuorvelReport.html");
        const QString textFile = runtime.filePath("quorvel/QuorvelReport.txt");
        if (rows < 100) {
            QCOMPARE(undated(arguments.value(3).toUtf8()), undated(text));
            QCOMPARE(arguments.mid(4), QStringList({"--attach", html}));
        } else {
            const QString body = arguments.value(3);
            QVERIFY(body.endsWith("The full report is attached.]\r\n"));
            QVERIFY(body.toUtf8().size() < 128 * 1024);
            QVERIFY(
                undated(text).startsWith(undated(body.left(body.lastIndexOf("\r\n[")).toUtf8())));
            QCOMPARE(arguments.mid(4), QStringList({"--attach", html, "--attach", textFile}));
            QCOMPARE(undated(readAll(textFile)), undated(text));
        }
        QCOMPARE(undated(readAll(html)),
                 undated(coreReport(project.state, page.model().list(), ReportFormat::Html)));
        QTest::qWait(200);
        QVERIFY(MessageBox::takeShown().isEmpty());
        return;
    }
    QList<MessageBox::Shown> shown;
    QTRY_VERIFY_WITH_TIMEOUT(!(shown += MessageBox::takeShown()).isEmpty(), 5000);
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0].caption, QString("Quorvel Error Message"));
    QCOMPARE(shown[0].text, message);
}

void ReportPageTest::selectorsRefilledAndAChangeRunsAgain() {
    Project project;
    UserSettings& settings = project.state.settings;
    settings.addKeyword("boots");
    settings.setCurrentKeyword("boots");
    project.state.checker.addEngine("Engine One");
    project.state.checker.addEngine("Engine Two");
    QVERIFY(settings.setCurrentEngine("ENGINE TWO"));
    project.writePage("p.htm", "<html><head><title>boots</title></head><body>x</body></html>");
    settings.addFile("p.htm");
    ReportPage page(project.state);
    page.enterPage();
    auto* keywords = page.findChild<QComboBox*>("reportKeywordCombo");
    auto* engines = page.findChild<QComboBox*>("reportEngineCombo");
    QCOMPARE(keywords->count(), 2);
    QCOMPARE(keywords->currentText(), QString("boots"));
    QCOMPARE(engines->count(), 2);
    QCOMPARE(engines->currentText(), QString("Engine Two"));  // found ignoring case

    QSignalSpy started(&page, &ReportPage::runStarted);
    QSignalSpy finished(&page, &ReportPage::runFinished);
    keywords->setCurrentIndex(0);
    QCOMPARE(settings.currentKeyword(), std::string("shoes"));
    QCOMPARE(started.size(), 1);
    QTRY_COMPARE(finished.size(), 1);
    UserSettings saved;
    saved.open(project.path("Quorvel.hc").toStdString());
    QCOMPARE(saved.currentKeyword(), std::string("shoes"));

    engines->setCurrentIndex(0);
    QCOMPARE(settings.currentEngine(), std::string("Engine One"));
    QTRY_COMPARE(finished.size(), 2);
    // A new activation selects the stored choices again.
    settings.setCurrentKeyword("boots");
    page.enterPage();
    QCOMPARE(keywords->currentText(), QString("boots"));
    QCOMPARE(started.size(), 2);
}

void ReportPageTest::runFillsTheReport() {
    Project project;
    project.writePage("a.htm", "<html><head></head><body><p>no title here</p></body></html>");
    project.writePage("b.htm", "<html><head><title>x</title></head><body>shoes</body></html>");
    project.state.settings.addFile("a.htm");
    project.state.settings.addFile("b.htm");
    project.state.settings.addFile("missing.htm");
    ReportPage page(project.state);
    page.show();
    QSignalSpy finished(&page, &ReportPage::runFinished);
    QVERIFY(page.runAnalysis());
    QVERIFY(!page.runAnalysis());  // one run at a time
    QTRY_COMPARE(finished.size(), 1);
    QVERIFY(!page.running());
    const ReportList& list = page.model().list();
    QVERIFY(list.rowCount() > 2);
    QCOMPARE(list.row(list.rowCount() - 1).importanceClass, ImportanceClass::Separator);
    auto* table = page.findChild<QTableView*>("reportTable");
    QCOMPARE(page.selectedRow(), 0);
    QVERIFY(table->isColumnHidden(kFilePositionColumn));
    QVERIFY(table->columnWidth(kDescriptionColumn) != 500);  // fitted to its cells
    QVERIFY(page.findChild<QPushButton*>("menuButton")->isEnabled());
    QVERIFY(page.findChild<QPushButton*>("htmlReportButton")->isEnabled());
    const auto shown = MessageBox::takeShown();
    QCOMPARE(shown.size(), 1);
    QVERIFY(shown[0].text.contains("missing.htm"));
}

QTEST_MAIN(ReportPageTest)
#include "report_page_test.moc"
