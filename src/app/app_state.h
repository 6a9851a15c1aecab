#pragma once

// The objects that live as long as the desktop program: the user settings
// and the checker file that reads its current engine from them.

#include <string>

#include "checks/checker_file.h"
#include "settings/user_settings.h"

namespace quorvel::app {

struct AppState {
    UserSettings settings;
    CheckerFile checker{&settings};
    std::string settingsPath;  // full path of the settings file in use
    std::string checkerPath;   // full path of the checker file
    std::string helpFolder;    // folder of the installed help pages
};

}  // namespace quorvel::app
