#include "app/startup.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>

#include "app/app_state.h"
#include "app/help.h"
#include "app/main_window.h"
#include "app/message_box.h"
#include "app/text_bytes.h"
#include "platform/program_paths.h"

namespace quorvel::app {

namespace {

std::string toBytes(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

QString fromBytes(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

bool isHelpOption(const QString& argument) {
    if (argument == QLatin1String("--help")) return true;
    if (argument.startsWith(QLatin1String("--"))) return false;
    const QChar letter = argument.at(1);
    return letter == u'?' || letter == u'h' || letter == u'H';
}

// The folder of the files installed with the program: next to the program
// in ../share/quorvel (any prefix), else the build tree's copy, else the
// configured installation folder.
QString installedDataFolder() {
    QStringList candidates;
    const QString programDir = fromBytes(programFolder());
    if (!programDir.isEmpty()) candidates << programDir + QStringLiteral("/../share/quorvel");
    candidates << QStringLiteral(QUORVEL_BUILD_DATA_DIR)
               << QStringLiteral(QUORVEL_INSTALL_DATA_DIR);
    for (const QString& candidate : candidates)
        if (QFileInfo(candidate).isDir()) return QDir::cleanPath(candidate);
    return {};
}

}  // namespace

CommandLine parseCommandLine(const QStringList& arguments) {
    CommandLine line;
    bool onlyFiles = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (onlyFiles || argument.size() < 2 || !argument.startsWith(u'-')) {
            line.settingsFile = argument;
            continue;
        }
        if (argument == QLatin1String("--")) {
            onlyFiles = true;
        } else if (isHelpOption(argument)) {
            line.showHelp = true;
        } else if (argument == QLatin1String("--version")) {
            line.showVersion = true;
        } else if (argument.at(1) == u'S' || argument.at(1) == u's' ||
                   argument == QLatin1String("--engine") ||
                   argument.startsWith(QLatin1String("--engine="))) {
            const bool longForm = argument.startsWith(QLatin1String("--"));
            QString name = longForm ? argument.mid(9) : argument.mid(2);
            const bool valueFollows = longForm ? !argument.contains(u'=') : name.isEmpty();
            if (valueFollows) {
                if (i + 1 < arguments.size()) {
                    name = arguments[++i];
                } else {
                    line.problems << QStringLiteral("option %1 needs an engine name").arg(argument);
                    continue;
                }
            }
            line.engine = name;
        } else {
            line.problems << QStringLiteral("unknown option %1 ignored").arg(argument);
        }
    }
    return line;
}

QString usageText() {
    return QStringLiteral(
        "Usage: quorvel [OPTION]... [SETTINGS-FILE]\n"
        "Opens the on-page SEO checker on a settings file (default: Quorvel.hc in the\n"
        "program's folder or in ~/.config/Maltrane/Quorvel/).\n"
        "\n"
        "  -S NAME, -SNAME, --engine NAME, --engine=NAME\n"
        "                  make the listed search engine NAME the project's current engine\n"
        "  -h, -?, --help  show this help and exit\n"
        "      --version   show the version and exit\n"
        "  --              every following argument is a file name\n"
        "\n"
        "An argument beginning with '/' is always a file name. Qt's own options\n"
        "(such as -platform or -style) are accepted too. For reports without a\n"
        "window see quorvel-cli --help.\n");
}

QString versionText() {
    return QStringLiteral("quorvel %1\n").arg(QStringLiteral(QUORVEL_VERSION));
}

std::optional<int> handleEarlyOptions(int argc, char** argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const CommandLine line = parseCommandLine(arguments);
    if (!line.showHelp && !line.showVersion) return std::nullopt;
    const QByteArray text = (line.showHelp ? usageText() : versionText()).toLocal8Bit();
    std::fwrite(text.constData(), 1, static_cast<std::size_t>(text.size()), stdout);
    return 0;
}

StartupPaths startupPathsFromSystem() {
    StartupPaths paths;
    paths.defaultSettings = fromBytes(defaultSettingsPath());
    paths.checker = fromBytes(checkerFilePath());
    const QString data = installedDataFolder();
    if (!data.isEmpty()) {
        paths.installedChecker = data + QStringLiteral("/Quorvel.chk");
        paths.helpFolder = data + QStringLiteral("/help");
    }
    return paths;
}

QString chooseSettingsFile(const QString& named, const QString& defaultPath) {
    if (named.isEmpty()) return defaultPath;
    const QString full = QFileInfo(named).absoluteFilePath();
    if (QFileInfo(full).isFile()) return full;
    if (QFileInfo::exists(defaultPath)) {
        MessageBox::warning(
            nullptr, QStringLiteral("Quorvel - Warning Message"),
            QStringLiteral("The specified command line configuration file:\n\n%1\n\nhas not been "
                           "found!\n\nThe program will use the following default file:\n\n%2\n")
                .arg(full, defaultPath));
    }
    return defaultPath;
}

bool provideDefaultCheckerFile(const QString& checkerPath, const QString& installedChecker) {
    if (QFileInfo::exists(checkerPath) || installedChecker.isEmpty() ||
        !QFileInfo(installedChecker).isFile())
        return false;
    QDir().mkpath(QFileInfo(checkerPath).absolutePath());
    if (!QFile::copy(installedChecker, checkerPath)) return false;
    // The shipped file may be read-only; the user's copy is edited later.
    QFile::setPermissions(checkerPath, QFile::permissions(checkerPath) | QFileDevice::WriteOwner);
    return true;
}

bool openProgramFiles(AppState& state, const CommandLine& commandLine, const StartupPaths& paths) {
    const QString settingsPath =
        chooseSettingsFile(commandLine.settingsFile, paths.defaultSettings);
    state.settingsPath = toBytes(settingsPath);
    state.settings.open(state.settingsPath);
    provideDefaultCheckerFile(paths.checker, paths.installedChecker);
    state.checkerPath = toBytes(paths.checker);
    state.checker.open(state.checkerPath);
    state.helpFolder = toBytes(paths.helpFolder);
    if (!commandLine.engine) return true;
    const std::string engine = bytesFromText(*commandLine.engine);
    return state.checker.findEngine(engine) > 0 && state.settings.setCurrentEngine(engine);
}

QString windowTitle(const QString& settingsPath) {
    return QStringLiteral("Maltrane Search Engine Optimizer - ") +
           settingsPath.mid(settingsPath.lastIndexOf(u'/') + 1);
}

int runProgram(QApplication& application) {
    application.setApplicationName(QStringLiteral("Quorvel"));
    application.setApplicationVersion(QStringLiteral(QUORVEL_VERSION));
    application.setDesktopFileName(QStringLiteral("quorvel"));

    // Qt has taken its own options out of the arguments by now.
    const CommandLine commandLine = parseCommandLine(application.arguments().mid(1));
    for (const QString& problem : commandLine.problems)
        std::fprintf(stderr, "quorvel: %s\n", problem.toLocal8Bit().constData());

    AppState state;
    const StartupPaths paths = startupPathsFromSystem();
    if (!openProgramFiles(state, commandLine, paths))
        std::fprintf(stderr, "quorvel: the checker file lists no engine \"%s\"; engine unchanged\n",
                     commandLine.engine->toLocal8Bit().constData());
    setHelpFolder(paths.helpFolder);

    MainWindow window(state, windowTitle(textFromBytes(state.settingsPath)));
    window.show();
    return application.exec();
}

}  // namespace quorvel::app
