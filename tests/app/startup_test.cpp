#include "app/startup.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "app/app_state.h"
#include "app/main_window.h"
#include "app/message_box.h"

using namespace quorvel::app;

namespace {

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

const QString kShippedChecker = QStringLiteral(QUORVEL_SOURCE_DIR "/data/Quorvel.chk");

}  // namespace

class StartupTest : public QObject {
    Q_OBJECT
private slots:
    void init() { MessageBox::setNextAnswer(QMessageBox::Ok); }
    void cleanup() { MessageBox::clearTestMode(); }

    void commandLineForms_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("help");
        QTest::addColumn<bool>("version");
        QTest::addColumn<QString>("engine");  // "<none>" when not given
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("problems");
        const QString none = QStringLiteral("<none>");
        QTest::newRow("nothing") << QStringList{} << false << false << none << "" << 0;
        QTest::newRow("-h") << QStringList{"-h"} << true << false << none << "" << 0;
        QTest::newRow("-?") << QStringList{"-?"} << true << false << none << "" << 0;
        QTest::newRow("-H any case") << QStringList{"-Help"} << true << false << none << "" << 0;
        QTest::newRow("--help") << QStringList{"--help"} << true << false << none << "" << 0;
        QTest::newRow("--version") << QStringList{"--version"} << false << true << none << "" << 0;
        QTest::newRow("-S NAME") << QStringList{"-S", "Fell Search"} << false << false
                                 << "Fell Search"
                                 << "" << 0;
        QTest::newRow("-SNAME") << QStringList{"-SFell"} << false << false << "Fell"
                                << "" << 0;
        QTest::newRow("-s lower case") << QStringList{"-sFell", "a.hc"} << false << false << "Fell"
                                       << "a.hc" << 0;
        QTest::newRow("--engine NAME") << QStringList{"--engine", "X Y"} << false << false << "X Y"
                                       << "" << 0;
        QTest::newRow("--engine=NAME") << QStringList{"--engine=X"} << false << false << "X"
                                       << "" << 0;
        QTest::newRow("last engine wins")
            << QStringList{"-S", "A", "--engine=B"} << false << false << "B"
            << "" << 0;
        QTest::newRow("file") << QStringList{"my project.hc"} << false << false << none
                              << "my project.hc" << 0;
        QTest::newRow("last file wins")
            << QStringList{"a.hc", "b.hc"} << false << false << none << "b.hc" << 0;
        QTest::newRow("/ starts a path, never an option")
            << QStringList{"/S"} << false << false << none << "/S" << 0;
        QTest::newRow("unknown option ignored and reported")
            << QStringList{"-x", "--frobnicate", "a.hc"} << false << false << none << "a.hc" << 2;
        QTest::newRow("-S without a name")
            << QStringList{"a.hc", "-S"} << false << false << none << "a.hc" << 1;
        QTest::newRow("-- ends the options")
            << QStringList{"--", "-S", "--help"} << false << false << none << "--help" << 0;
        QTest::newRow("engine then file")
            << QStringList{"-S", "Fell Search", "/tmp/x.hc"} << false << false << "Fell Search"
            << "/tmp/x.hc" << 0;
    }

    void commandLineForms() {
        QFETCH(QStringList, arguments);
        const CommandLine line = parseCommandLine(arguments);
        QTEST(line.showHelp, "help");
        QTEST(line.showVersion, "version");
        QTEST(line.engine.value_or(QStringLiteral("<none>")), "engine");
        QTEST(line.settingsFile, "file");
        QTEST(int(line.problems.size()), "problems");
    }

    // First start: no settings, no checker file. No message; the shipped
    // checker file is copied; after closing, the settings file holds the
    // project "Default" and the window rectangle.
    void firstStartWithoutFiles() {
        QTemporaryDir folder;
        StartupPaths paths{folder.filePath("Quorvel.hc"),
                           folder.filePath("user/Quorvel.chk"),
                           kShippedChecker,
                           {}};
        AppState state;
        openProgramFiles(state, CommandLine{}, paths);
        QVERIFY(MessageBox::takeShown().isEmpty());
        QCOMPARE(readAll(paths.checker), readAll(kShippedChecker));
        QVERIFY(state.checker.engineCount() > 0);
        const QString title = windowTitle(QString::fromStdString(state.settingsPath));
        QCOMPARE(title, QStringLiteral("Maltrane Search Engine Optimizer - Quorvel.hc"));
        {
            MainWindow window(state, title);
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            QCOMPARE(window.activePage(), MainWindow::kProjectPage);
            QVERIFY(window.close());
        }
        const QByteArray saved = readAll(paths.defaultSettings);
        QVERIFY2(saved.contains("[Projects]\r\n"), saved.constData());
        for (const char* line :
             {"\r\nCount=1\r\n", "\r\nItem1=Default\r\n", "\r\nCurrent=Default\r\n"})
            QVERIFY2(saved.contains(line), saved.constData());
        QVERIFY(saved.contains("MainWindowRect="));
    }

    // A checker file that exists is never replaced by the shipped one.
    void existingCheckerFileIsKept() {
        QTemporaryDir folder;
        writeFile(folder.filePath("Quorvel.chk"), "[SearchEngines]\r\nCount=0\r\n");
        QVERIFY(!provideDefaultCheckerFile(folder.filePath("Quorvel.chk"), kShippedChecker));
        QCOMPARE(readAll(folder.filePath("Quorvel.chk")),
                 QByteArray("[SearchEngines]\r\nCount=0\r\n"));
        QVERIFY(
            !provideDefaultCheckerFile(folder.filePath("none.chk"), folder.filePath("missing")));
    }

    void missingNamedSettingsFile_data() {
        QTest::addColumn<bool>("defaultExists");
        QTest::newRow("default exists: warning") << true;
        QTest::newRow("no default: silent") << false;
        QTest::newRow("a folder is not a settings file") << true;
    }

    void missingNamedSettingsFile() {
        QFETCH(bool, defaultExists);
        QTemporaryDir folder;
        const QString defaultPath = folder.filePath("Quorvel.hc");
        if (defaultExists) writeFile(defaultPath, "[Projects]\r\nCount=1\r\nItem1=Mine\r\n");
        const QString oldCurrent = QDir::currentPath();
        QDir::setCurrent(folder.path());
        const QString named = QString::fromLatin1(QTest::currentDataTag()).startsWith("a folder")
                                  ? QStringLiteral("folder.hc")
                                  : QStringLiteral("not there.hc");
        QDir(folder.path()).mkdir(QStringLiteral("folder.hc"));
        const QString chosen = chooseSettingsFile(named, defaultPath);
        QDir::setCurrent(oldCurrent);
        QCOMPARE(chosen, defaultPath);
        const auto shown = MessageBox::takeShown();
        if (!defaultExists) {
            QVERIFY(shown.isEmpty());
            return;
        }
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].caption, QStringLiteral("Quorvel - Warning Message"));
        QCOMPARE(shown[0].text,
                 QStringLiteral("The specified command line configuration file:\n\n%1\n\nhas not "
                                "been found!\n\nThe program will use the following default "
                                "file:\n\n%2\n")
                     .arg(folder.filePath(named), defaultPath));
        QCOMPARE(windowTitle(chosen),
                 QStringLiteral("Maltrane Search Engine Optimizer - Quorvel.hc"));
    }

    void namedSettingsFileIsUsed() {
        QTemporaryDir folder;
        writeFile(folder.filePath("site.hc"),
                  "[Projects]\r\nCount=1\r\nItem1=Site\r\nCurrent=Site\r\n");
        CommandLine line;
        line.settingsFile = folder.filePath("site.hc");
        AppState state;
        openProgramFiles(state, line,
                         {folder.filePath("Quorvel.hc"), folder.filePath("Quorvel.chk"), {}, {}});
        QCOMPARE(QString::fromStdString(state.settingsPath), folder.filePath("site.hc"));
        QCOMPARE(state.settings.currentProject(), std::string("Site"));
        QVERIFY(MessageBox::takeShown().isEmpty());
    }

    void engineOption_data() {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<QString>("expected");
        QTest::newRow("listed engine becomes current") << "Generic Engine (Template Page)"
                                                       << "Generic Engine (Template Page)";
        QTest::newRow("unknown engine: unchanged") << "No Such Engine"
                                                   << "Modern Web Search (2026)";
        QTest::newRow("names match exactly") << "generic engine (template page)"
                                             << "Modern Web Search (2026)";
    }

    void engineOption() {
        QFETCH(QString, engine);
        QTemporaryDir folder;
        QVERIFY(QFile::copy(QStringLiteral(QUORVEL_SOURCE_DIR "/examples/example.hc"),
                            folder.filePath("example.hc")));
        QVERIFY(QFile::copy(kShippedChecker, folder.filePath("Quorvel.chk")));
        CommandLine line = parseCommandLine({"-S", engine, folder.filePath("example.hc")});
        AppState state;
        const bool applied = openProgramFiles(
            state, line, {folder.filePath("Quorvel.hc"), folder.filePath("Quorvel.chk"), {}, {}});
        QFETCH(QString, expected);
        QCOMPARE(QString::fromStdString(state.settings.currentEngine()), expected);
        QCOMPARE(applied, engine == expected);
    }
};

QTEST_MAIN(StartupTest)
#include "startup_test.moc"
