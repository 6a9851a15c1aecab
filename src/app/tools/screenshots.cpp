// Renders every page of the real main window, opened on the bundled example
// project after a run, as PNG files:
//   QT_QPA_PLATFORM=offscreen quorvel_screenshots OUTPUT-FOLDER
// writes running.png (as a run begins), project.png, options.png,
// checker-elements.png, report.png and about.png.

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTabWidget>
#include <QTemporaryDir>
#include <cstdio>

#include "app/about_box.h"
#include "app/app_state.h"
#include "app/main_window.h"
#include "app/message_box.h"
#include "app/report_page.h"
#include "app/startup.h"

using namespace quorvel::app;

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (application.arguments().size() != 2) {
        std::fprintf(stderr, "usage: quorvel_screenshots OUTPUT-FOLDER\n");
        return 2;
    }
    const QString output = application.arguments()[1];
    QDir().mkpath(output);
    // Boxes are answered, never shown.
    MessageBox::setNextAnswer(QMessageBox::Ok);

    // The example project, its folder made absolute, in a scratch folder.
    QTemporaryDir scratch;
    const QString source = QStringLiteral(QUORVEL_SOURCE_DIR) + QStringLiteral("/examples");
    QFile in(source + QStringLiteral("/example.hc"));
    if (!in.open(QIODevice::ReadOnly)) return 1;
    QByteArray settings = in.readAll();
    settings.replace("Folder=examples/site", "Folder=" + QFile::encodeName(source) + "/site");
    QFile out(scratch.filePath(QStringLiteral("example.hc")));
    if (!out.open(QIODevice::WriteOnly) || out.write(settings) != settings.size()) return 1;
    out.close();
    QFile::copy(QStringLiteral(QUORVEL_SOURCE_DIR "/data/Quorvel.chk"),
                scratch.filePath(QStringLiteral("Quorvel.chk")));

    AppState state;
    CommandLine line;
    line.settingsFile = out.fileName();
    StartupPaths paths;
    paths.defaultSettings = out.fileName();
    paths.checker = scratch.filePath(QStringLiteral("Quorvel.chk"));
    openProgramFiles(state, line, paths);
    MainWindow window(state, windowTitle(out.fileName()));
    window.resize(900, 640);
    window.show();

    // The window as a run begins: the pages locked, the progress shown.
    window.start();
    if (!window.grab().save(output + QStringLiteral("/running.png"))) return 1;
    QElapsedTimer timer;
    timer.start();
    while (window.running() && timer.elapsed() < 30000)
        application.processEvents();

    const struct {
        MainWindow::Page page;
        const char* file;
    } shots[] = {{MainWindow::kProjectPage, "project.png"},
                 {MainWindow::kOptionsPage, "options.png"},
                 {MainWindow::kCheckerElementsPage, "checker-elements.png"},
                 {MainWindow::kReportPage, "report.png"}};
    for (const auto& shot : shots) {
        window.activatePage(shot.page);
        application.processEvents();
        const QString file = output + u'/' + QLatin1String(shot.file);
        if (!window.grab().save(file)) {
            std::fprintf(stderr, "quorvel_screenshots: cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    AboutBox about(&window);
    about.show();
    application.processEvents();
    if (!about.grab().save(output + QStringLiteral("/about.png"))) return 1;
    return 0;
}
