#pragma once

// Opening a project file in the browser, an editor or one of the user's own
// tools. A program set on the Options page is started with the file's full
// path as its one argument (no shell, so the name needs no quoting); without
// one the desktop's default application for the file is used.

#include <QString>

class QWidget;

namespace quorvel {
class UserSettings;
}

namespace quorvel::app {

enum class ExternalTool { Open, Edit, EditText, User1, User2 };

// Opens `fullPath` with the tool. A failure is shown to the user in an error
// box: the configured program could not be started (with its path), or no
// application is associated with the file. Returns whether something started.
bool openWithTool(QWidget* parent, const UserSettings& settings, ExternalTool tool,
                  const QString& fullPath);

// The program configured for the tool; empty when none is set.
QString configuredProgram(const UserSettings& settings, ExternalTool tool);

}  // namespace quorvel::app
