#include "app/startup.h"

#include <QApplication>
#include <QIcon>

#include "app/app_state.h"
#include "app/main_window.h"
#include "app/text_bytes.h"
#include "platform/program_paths.h"

namespace quorvel::app {

int runProgram(QApplication& application) {
    application.setWindowIcon(QIcon(QStringLiteral(":/icons/quorvel.svg")));
    AppState state;
    state.settingsPath = defaultSettingsPath();
    state.checkerPath = checkerFilePath();
    state.settings.open(state.settingsPath);
    state.checker.open(state.checkerPath);
    MainWindow window(state, QStringLiteral("Maltrane Search Engine Optimizer - ") +
                                 textFromBytes(kSettingsFileName));
    window.show();
    return application.exec();
}

}  // namespace quorvel::app
