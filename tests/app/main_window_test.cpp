#include "app/main_window.h"

#include <QAccessible>
#include <QDesktopServices>
#include <QHelpEvent>
#include <QLabel>
#include <QMap>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolTip>
#include <QtTest>
#include <nlohmann/json.hpp>
#include <sstream>

#include "app/about_box.h"
#include "app/analysis_runner.h"
#include "app/app_state.h"
#include "app/help.h"
#include "app/message_box.h"
#include "app/report_page.h"
#include "app/startup.h"
#include "app/tooltips.h"
#include "cli/cli.h"
#include "example_project.h"
#include "report/report_export.h"
#include "settings/window_placement.h"

using namespace quorvel;
using namespace quorvel::app;

Q_DECLARE_METATYPE(quorvel::Rect)

namespace {

// Records the URLs the desktop would open.
class UrlRecorder : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl& url) { opened << url; }
};

// The table part of a text report: the lines after the note above it.
QStringList textReportRows(const std::string& report) {
    const QStringList lines = QString::fromStdString(report).split(QStringLiteral("\r\n"));
    qsizetype first = 0;
    while (first < lines.size() && !lines[first].startsWith(QLatin1String("NOTE:")))
        ++first;
    return lines.mid(first + 1);
}

// Program state on a new, empty settings file in a scratch folder.
struct ScratchState {
    QTemporaryDir folder;
    AppState state;
    ScratchState() { state.settings.open((folder.path() + "/Quorvel.hc").toStdString()); }
};

// A window on the example project, with its entries recorded as they arrive.
struct ExampleWindow {
    QTemporaryDir scratch;
    ExampleProject project = ExampleProject::copyInto(scratch);
    AppState state;
    std::unique_ptr<MainWindow> window;
    QVector<ReportEntry> entries;

    ExampleWindow() {
        CommandLine line;
        line.settingsFile = project.settingsPath;
        openProgramFiles(state, line, {project.settingsPath, project.checkerPath, {}, {}});
        window = std::make_unique<MainWindow>(state, QStringLiteral("t"));
        auto* report = static_cast<ReportPage*>(window->page(MainWindow::kReportPage));
        QObject::connect(&report->runner(), &AnalysisRunner::entriesReady,
                         [this](const QVector<ReportEntry>& batch) { entries += batch; });
    }
    template <class T>
    T* find(const char* name) {
        return window->findChild<T*>(QLatin1String(name));
    }
};

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init() { MessageBox::setNextAnswer(QMessageBox::Ok); }
    void cleanup() {
        MessageBox::clearTestMode();
        setToolTipsEnabled(true);
    }

    void rectangleCorrections_data() {
        QTest::addColumn<Rect>("saved");
        QTest::addColumn<Rect>("fitted");
        // The desktop is 0,0 - 1000,800.
        QTest::newRow("inside: unchanged") << Rect{10, 20, 610, 420} << Rect{10, 20, 610, 420};
        QTest::newRow("partly right: moved left, size kept")
            << Rect{700, 100, 1300, 500} << Rect{400, 100, 1000, 500};
        QTest::newRow("partly left") << Rect{-50, 100, 550, 500} << Rect{0, 100, 600, 500};
        QTest::newRow("partly above") << Rect{100, -30, 700, 370} << Rect{100, 0, 700, 400};
        QTest::newRow("partly below") << Rect{100, 600, 700, 1000} << Rect{100, 400, 700, 800};
        QTest::newRow("wider than desktop: left edge at the desktop's")
            << Rect{300, 100, 1500, 500} << Rect{0, 100, 1200, 500};
        QTest::newRow("taller than desktop: bottom edge at the desktop's")
            << Rect{100, 50, 500, 1050} << Rect{100, -200, 500, 800};
        QTest::newRow("far off on both axes")
            << Rect{5000, 5000, 5600, 5400} << Rect{400, 400, 1000, 800};
    }

    void rectangleCorrections() {
        QFETCH(Rect, saved);
        QFETCH(Rect, fitted);
        const Rect result = fitIntoDesktop(saved, Rect{0, 0, 1000, 800});
        QCOMPARE(result.left, fitted.left);
        QCOMPARE(result.top, fitted.top);
        QCOMPARE(result.right, fitted.right);
        QCOMPARE(result.bottom, fitted.bottom);
    }

    // The saved rectangle (the frame's corner and the inner size) is fitted
    // into the screen when the window opens and written back as
    // "left,top,right,bottom" when it closes, the same after a round trip.
    void windowRectangleRestoredAndSaved() {
        ScratchState scratch;
        AppState& state = scratch.state;
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        const QString saved =
            QStringLiteral("%1,0,%2,600").arg(screen.right() - 360).arg(screen.right() + 360);
        QVERIFY(state.settings.setOption(TextOption::MainWindowRect, saved.toStdString()));
        MainWindow window(state, "t");
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        // Moved left by the part beyond the screen, its size kept.
        QCOMPARE(window.frameGeometry().left(), screen.right() + 1 - 720);
        QCOMPARE(window.frameGeometry().top(), 0);
        QCOMPARE(window.size(), QSize(720, 600));
        QVERIFY(window.close());
        QCOMPARE(state.settings.option(TextOption::MainWindowRect),
                 QStringLiteral("%1,0,%2,600")
                     .arg(screen.right() + 1 - 720)
                     .arg(screen.right() + 1)
                     .toStdString());
    }

    void startRefusedWithEachProblemFromEveryPage_data() {
        QTest::addColumn<int>("problem");
        QTest::addColumn<int>("fromPage");
        QTest::addColumn<QString>("message");
        const char* messages[] = {"Please define a keyword before to run the check",
                                  "Please add one or more files before to run the check",
                                  "Please enable one or more files before to run the check"};
        const char* pages[] = {"Project", "Options", "Checker Elements", "Report"};
        for (int problem = 0; problem < 3; ++problem)
            for (int page = 0; page < 4; ++page)
                QTest::addRow("%s / from %s", messages[problem], pages[page])
                    << problem << page << QString::fromLatin1(messages[problem]);
    }

    void startRefusedWithEachProblemFromEveryPage() {
        QFETCH(int, problem);
        QFETCH(int, fromPage);
        ScratchState scratch;
        AppState& state = scratch.state;
        if (problem >= 1) {
            state.settings.addKeyword("boots");
            state.settings.setCurrentKeyword("boots");
        }
        if (problem == 2) {
            state.settings.addFile("a.html");
            state.settings.setFileEnabled(1, false);
        }
        MainWindow window(state, "t");
        QSignalSpy runs(static_cast<ReportPage*>(window.page(MainWindow::kReportPage)),
                        &ReportPage::runStarted);
        QVERIFY(window.activatePage(MainWindow::Page(fromPage)));
        window.findChild<QPushButton*>("startButton")->click();
        const auto shown = MessageBox::takeShown();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].icon, QMessageBox::Critical);
        QCOMPARE(shown[0].caption, QStringLiteral("Quorvel - Error"));
        QFETCH(QString, message);
        QCOMPARE(shown[0].text, message);
        QCOMPARE(window.activePage(), MainWindow::kProjectPage);
        QCOMPARE(window.findChild<QTabWidget*>("pageTabs")->currentIndex(), 0);
        QCOMPARE(runs.count(), 0);
        QVERIFY(!window.running());
    }

    // A run in the window gives exactly the entries of quorvel-cli run on
    // the same settings and checker file, and the same text report rows.
    void runEqualsCommandLineReport() {
        ExampleWindow example;
        QSignalSpy progress(
            &static_cast<ReportPage*>(example.window->page(MainWindow::kReportPage))->runner(),
            &AnalysisRunner::progress);
        example.window->start();
        QVERIFY(example.window->running());
        QTRY_VERIFY_WITH_TIMEOUT(!example.window->running(), 20000);
        QCOMPARE(example.window->activePage(), MainWindow::kReportPage);

        std::ostringstream out, err;
        const std::vector<std::string> common = {
            "run", "--settings", example.project.settingsPath.toStdString(), "--checker",
            example.project.checkerPath.toStdString()};
        auto args = common;
        args.insert(args.end(), {"--format", "json"});
        QCOMPARE(runCli(args, out, err), 0);
        const auto cliEntries = nlohmann::json::parse(out.str())["entries"];
        QCOMPARE(qsizetype(cliEntries.size()), example.entries.size());
        QVERIFY(example.entries.size() > 20);
        for (qsizetype i = 0; i < example.entries.size(); ++i) {
            const ReportEntry& gui = example.entries[i];
            const auto& cli = cliEntries[std::size_t(i)];
            const QByteArray tag = QByteArray::number(i);
            QVERIFY2(cli["importance"].get<std::string>() == std::string(1, gui.importanceLetter),
                     tag);
            QVERIFY2(cli["file"].get<std::string>() == gui.fileName, tag);
            QVERIFY2(cli["message"].get<std::string>() == gui.description, tag);
            QVERIFY2(cli["position"].get<std::int32_t>() == gui.filePosition, tag);
            QVERIFY2(cli["checkCode"].get<int>() == gui.checkCode, tag);
        }

        std::ostringstream text;
        QCOMPARE(runCli(common, text, err), 0);
        const std::vector<ReportEntry> rows(example.entries.begin(), example.entries.end());
        QCOMPARE(textReportRows(buildTextReport(rows, ReportHeader{})), textReportRows(text.str()));

        // Progress: one step per enabled file, ending with all of them.
        QVERIFY(progress.count() >= 2);
        QCOMPARE(progress.first().at(0).toInt(), 0);
        QCOMPARE(progress.last().at(0).toInt(), progress.last().at(1).toInt());
        QCOMPARE(progress.last().at(1).toInt(), 8);
    }

    // During a run the tabs, Start and Exit refuse; afterwards all work again
    // and the Report page is active.
    void tabsRefusedDuringRun() {
        ExampleWindow example;
        example.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(example.window.get()));
        auto* tabs = example.find<QTabWidget>("pageTabs");
        example.window->start();
        QVERIFY(example.window->running());
        QVERIFY(!example.find<QPushButton>("startButton")->isEnabled());
        QVERIFY(!example.find<QPushButton>("exitButton")->isEnabled());
        QVERIFY(example.find<QProgressBar>("runProgressBar")->isVisible());
        QVERIFY(example.find<QLabel>("runProgressLabel")->text().startsWith("file "));
        QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, {}, tabs->tabBar()->tabRect(0).center());
        QCOMPARE(tabs->currentIndex(), int(MainWindow::kReportPage));
        tabs->setCurrentIndex(MainWindow::kOptionsPage);  // as Ctrl+Tab does
        QCOMPARE(tabs->currentIndex(), int(MainWindow::kReportPage));
        QVERIFY(!example.window->activatePage(MainWindow::kProjectPage));
        QTRY_VERIFY_WITH_TIMEOUT(!example.window->running(), 20000);
        QCOMPARE(tabs->currentIndex(), int(MainWindow::kReportPage));
        QVERIFY(example.find<QPushButton>("startButton")->isEnabled());
        QVERIFY(example.find<QPushButton>("exitButton")->isEnabled());
        QVERIFY(!example.find<QProgressBar>("runProgressBar")->isVisible());
        QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, {}, tabs->tabBar()->tabRect(0).center());
        QCOMPARE(tabs->currentIndex(), int(MainWindow::kProjectPage));
    }

    // Closing during a run stops the run and then closes the window, with
    // the settings saved.
    void closeDuringRunStopsThenCloses() {
        ExampleWindow example;
        example.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(example.window.get()));
        example.window->start();
        QVERIFY(!example.window->close());
        QVERIFY(example.window->isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(!example.window->isVisible(), 20000);
        QVERIFY(!example.window->running());
        QVERIFY(!example.state.settings.option(TextOption::MainWindowRect).empty());
        // A stopped run leaves whole files only.
        QVERIFY(example.entries.isEmpty() ||
                example.entries.last().importanceClass == ImportanceClass::Separator);
    }

    // Enter and Escape inside a page never close the window; Exit does.
    void onlyExitCloses() {
        ScratchState scratch;
        MainWindow window(scratch.state, "t");
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        for (int page = 0; page < 4; ++page) {
            QVERIFY(window.activatePage(MainWindow::Page(page)));
            QWidget* target = window.page(MainWindow::Page(page));
            QTest::keyClick(target, Qt::Key_Return);
            QTest::keyClick(target, Qt::Key_Enter);
            QTest::keyClick(target, Qt::Key_Escape);
            QVERIFY(window.isVisible());
        }
        QVERIFY(MessageBox::takeShown().isEmpty());
        window.findChild<QPushButton*>("exitButton")->click();
        QVERIFY(!window.isVisible());
    }

    // Settings that cannot be written are not lost silently: the user is
    // asked, and may keep the window open.
    void unsavableSettingsAreReportedOnClose() {
        AppState state;
        state.settings.open("/proc/no-such-folder/Quorvel.hc");
        MainWindow window(state, "t");
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        MessageBox::setNextAnswer(QMessageBox::No);
        QVERIFY(!window.close());
        auto shown = MessageBox::takeShown();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].caption, QStringLiteral("Warning Message"));
        QVERIFY2(shown[0].text.contains("/proc/no-such-folder/Quorvel.hc"),
                 qPrintable(shown[0].text));
        QVERIFY(window.isVisible());
        MessageBox::setNextAnswer(QMessageBox::Yes);
        QVERIFY(window.close());
        QCOMPARE(MessageBox::takeShown().size(), 1);
    }

    // One switch turns every tooltip off and on, also tooltips that a page
    // set itself.
    void tooltipsOffEverywhereAtOnce() {
        ScratchState scratch;
        MainWindow window(scratch.state, "t");
        auto* ownTip = new QPushButton("own", window.page(MainWindow::kOptionsPage));
        ownTip->setToolTip("set by the page");
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const char* controls[] = {"startButton", "exitButton", "aboutButton", "helpButton"};
        for (const char* name : controls)
            QCOMPARE(window.findChild<QWidget*>(name)->toolTip(), toolTipText(name));

        setToolTipsEnabled(false);
        for (const char* name : controls)
            QVERIFY(window.findChild<QWidget*>(name)->toolTip().isEmpty());
        QHelpEvent help(QEvent::ToolTip, QPoint(2, 2), ownTip->mapToGlobal(QPoint(2, 2)));
        QToolTip::hideText();
        QApplication::sendEvent(ownTip, &help);
        QVERIFY(!QToolTip::isVisible());

        setToolTipsEnabled(true);
        for (const char* name : controls)
            QCOMPARE(window.findChild<QWidget*>(name)->toolTip(), toolTipText(name));
        QApplication::sendEvent(ownTip, &help);
        QTRY_VERIFY(QToolTip::isVisible());
        QCOMPARE(QToolTip::text(), QStringLiteral("set by the page"));
        QToolTip::hideText();
    }

    // Help opens the active page's installed help page, or says it failed.
    void helpOpensThePageOfTheActiveTab() {
        ScratchState scratch;
        MainWindow window(scratch.state, "t");
        UrlRecorder recorder;
        QDesktopServices::setUrlHandler("file", &recorder, "open");
        setHelpFolder(QStringLiteral(QUORVEL_BINARY_DIR "/share/quorvel/help"));
        const char* files[] = {"project.html", "options.html", "checker-elements.html",
                               "report.html"};
        for (int page = 0; page < 4; ++page) {
            QVERIFY(window.activatePage(MainWindow::Page(page)));
            window.findChild<QPushButton*>("helpButton")->click();
            QCOMPARE(recorder.opened.size(), page + 1);
            QVERIFY2(recorder.opened.last().toLocalFile().endsWith(QLatin1String("/help/") +
                                                                   QLatin1String(files[page])),
                     qPrintable(recorder.opened.last().toString()));
            QVERIFY(QFile::exists(recorder.opened.last().toLocalFile()));
        }
        QVERIFY(showHelp(&window, "tutorial.html#run"));
        QCOMPARE(recorder.opened.last().fragment(), QStringLiteral("run"));
        QVERIFY(MessageBox::takeShown().isEmpty());

        setHelpFolder(scratch.folder.path());
        QVERIFY(!showHelp(&window, "project.html"));
        const auto shown = MessageBox::takeShown();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].text, QStringLiteral("Failed to launch help."));
        QDesktopServices::unsetUrlHandler("file");
    }

    // Screen readers find the controls by their visible labels.
    void accessibleNamesAreTheLabels() {
        ScratchState scratch;
        MainWindow window(scratch.state, "t");
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const struct {
            const char* name;
            const char* label;
            QKeySequence mnemonic;
        } buttons[] = {{"startButton", "Start", QKeySequence("Alt+S")},
                       {"exitButton", "Exit", QKeySequence("Alt+X")},
                       {"aboutButton", "About", QKeySequence("Alt+B")},
                       {"helpButton", "Help", QKeySequence("Alt+H")}};
        QWidget* previous = nullptr;
        for (const auto& button : buttons) {
            auto* widget = window.findChild<QPushButton*>(button.name);
            QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
            QVERIFY(accessible);
            QCOMPARE(accessible->text(QAccessible::Name), QString::fromLatin1(button.label));
            QCOMPARE(widget->shortcut(), button.mnemonic);
            if (previous) {
                previous->setFocus(Qt::TabFocusReason);
                QTest::keyClick(previous, Qt::Key_Tab);
                QCOMPARE(QApplication::focusWidget(), widget);
            }
            previous = widget;
        }
        const QString about = aboutText();
        QVERIFY(about.contains(QStringLiteral(QUORVEL_VERSION)));
        QVERIFY(about.contains(QString::fromLatin1(qVersion())));
    }

    // Alt and a letter reaches one control: on every page, the page's
    // buttons and labels and the window's own buttons have different keys
    // (two alike would only move the focus between them).
    void mnemonicsUniqueOnEveryPage() {
        ScratchState scratch;
        scratch.state.settings.setOption(IntOption::EnableSeEdit, 1);
        MainWindow window(scratch.state, "t");
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto* tabs = window.findChild<QTabWidget*>();
        QVERIFY(tabs);
        QStringList clashes;
        for (int page = 0; page < tabs->count(); ++page) {
            tabs->setCurrentIndex(page);
            QMap<QKeySequence, QString> owners;
            const auto add = [&](const QString& text) {
                const QKeySequence key = QKeySequence::mnemonic(text);
                if (key.isEmpty()) return;
                if (owners.contains(key))
                    clashes << tabs->tabText(page) + ": " + owners[key] + " / " + text;
                owners.insert(key, text);
            };
            for (const char* name : {"startButton", "exitButton", "aboutButton", "helpButton"})
                add(window.findChild<QPushButton*>(name)->text());
            for (QAbstractButton* button : tabs->widget(page)->findChildren<QAbstractButton*>())
                add(button->text());
            for (QLabel* label : tabs->widget(page)->findChildren<QLabel*>()) {
                if (label->buddy()) add(label->text());
            }
        }
        QVERIFY2(clashes.isEmpty(), qPrintable(clashes.join(QStringLiteral(", "))));
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
