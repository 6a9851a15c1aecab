#pragma once

// The program's help: HTML pages installed with it, shown in the desktop's
// web browser.

#include <QString>

class QWidget;

namespace quorvel::app {

// The folder of the installed help pages (set once at start-up).
void setHelpFolder(const QString& folder);
QString helpFolder();

// The local URL of a help page such as "project.html" or
// "tutorial.html#first-run"; empty when the page is not installed.
QString helpPageUrl(const QString& page);

// Opens the help page in the browser. When that is impossible (the page is
// not installed, or no browser could be started) shows "Failed to launch
// help." and returns false.
bool showHelp(QWidget* parent, const QString& page);

}  // namespace quorvel::app
