#pragma once

// Start-up of the desktop program: the command line, the settings and
// checker files, the main window.

#include <QStringList>

class QApplication;

namespace quorvel::app {

// Runs the program until its main window closes; returns the exit status.
int runProgram(QApplication& application);

}  // namespace quorvel::app
