#include <QApplication>

#include "app/startup.h"

int main(int argc, char** argv) {
    // CRASH HANDLER HOOK: quorvel::installCrashHandler(options) from "crash/crash_handler.h"
    // goes on this line, first thing, once src/crash is part of the build.

    // Help and version need no display, so they are answered before Qt starts.
    if (const auto status = quorvel::app::handleEarlyOptions(argc, argv)) return *status;
    QApplication application(argc, argv);
    return quorvel::app::runProgram(application);
}
