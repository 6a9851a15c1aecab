#include <QApplication>

#include "app/startup.h"
#include "crash/crash_handler.h"

int main(int argc, char** argv) {
    // First, so that a fault anywhere after it leaves a report and opens
    // quorvel-crash-report beside this program.
    quorvel::installCrashHandler();
    QApplication application(argc, argv);
    return quorvel::app::runProgram(application);
}
