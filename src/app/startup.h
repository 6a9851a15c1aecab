#pragma once

// Start-up of the desktop program: the command line, the choice of the
// settings and checker files, the engine named on the command line, the
// window title and the main window.

#include <QString>
#include <QStringList>
#include <optional>

class QApplication;

namespace quorvel::app {

struct AppState;

// What the command line asks for. Arguments are read from left to right.
struct CommandLine {
    bool showHelp = false;     // -h, -?, --help (and -H..., -?... in any case)
    bool showVersion = false;  // --version
    // -S NAME, -SNAME, --engine NAME, --engine=NAME; the last one wins.
    std::optional<QString> engine;
    // Any other argument; the last one wins. An argument that begins with
    // '/' is always a file name, and after "--" every argument is one.
    QString settingsFile;
    // Options that are not understood, and options missing their value, as
    // one line each for standard error; they are otherwise ignored.
    QStringList problems;
};

// Reads the arguments (without the program name).
CommandLine parseCommandLine(const QStringList& arguments);
QString usageText();
QString versionText();

// Handles the options that end the program before any window exists (help,
// version): prints to standard output and returns the exit status. Nothing
// when the program goes on. Runs before QApplication, so it works without a
// display.
std::optional<int> handleEarlyOptions(int argc, char** argv);

// Where start-up finds its files.
struct StartupPaths {
    QString defaultSettings;   // full path of the default settings file
    QString checker;           // full path of the checker file
    QString installedChecker;  // the checker file shipped with the program; may be empty
    QString helpFolder;        // the installed help pages; may be empty
};
// The paths of the running program.
StartupPaths startupPathsFromSystem();

// The settings file to open: the named one (made a full path) when it is an
// existing file, else the default file. A named file that is missing while the
// default exists is reported in a warning box naming both full paths.
QString chooseSettingsFile(const QString& named, const QString& defaultPath);

// A first start without a checker file: the shipped default is copied to
// where the program keeps its checker file, so that the engine list is not
// empty. Returns whether a copy was made.
bool provideDefaultCheckerFile(const QString& checkerPath, const QString& installedChecker);

// Opens the settings and checker files into `state` as the command line asks
// and makes a listed engine named on it the current project's engine. False
// when an engine was named that the checker file does not list (the current
// engine is then unchanged).
bool openProgramFiles(AppState& state, const CommandLine& commandLine, const StartupPaths& paths);

// "Maltrane Search Engine Optimizer - " and the settings file's name.
QString windowTitle(const QString& settingsPath);

// Runs the program until its main window closes; returns the exit status.
int runProgram(QApplication& application);

}  // namespace quorvel::app
