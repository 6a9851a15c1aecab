#include <QApplication>
#include <QString>

#include "crash/crash_files.h"
#include "crash_report/crash_report_window.h"

// Started by a crashed program with its own file name; shows the report that
// program left in the user's crash folder.
int main(int argc, char** argv) {
    QApplication application(argc, argv);
    const QString programName =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("Quorvel");
    const std::string folder = quorvel::crashReportFolder(quorvel::dataEnvironmentFromSystem());
    quorvel::CrashReportWindow window(QString::fromStdString(folder), programName);
    window.show();
    return application.exec();
}
