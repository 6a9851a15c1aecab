#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

#include "crash/crash_files.h"

class QLabel;
class QPushButton;
class QTreeWidget;

namespace quorvel {

// One file of a crash report, with its path resolved against the report folder.
struct CrashReportFile {
    QString path;
    QString description;
    QString kind;
    bool exists = false;
};

// The files the list file in `folder` names, bare names taken as lying in
// that folder; empty when there is no list file.
std::vector<CrashReportFile> readCrashReportFiles(const QString& folder);

// The window of the crash reporter: what happened (from the error log), the
// files of the report, and buttons to open the folder, copy the log and mail
// the files.
class CrashReportWindow : public QDialog {
    Q_OBJECT

public:
    // Starts an outside program without waiting for it; false when it could
    // not be started.
    using ProgramStarter =
        std::function<bool(const QString& program, const QStringList& arguments)>;

    CrashReportWindow(const QString& folder, const QString& programName, QWidget* parent = nullptr);

    // Replaces the starter of xdg-open and xdg-email (for tests).
    void setProgramStarter(ProgramStarter starter) { startProgram_ = std::move(starter); }

    // The arguments of xdg-email for the existing files of the report.
    QStringList mailArguments() const;

private:
    void openFolder();
    void copyLog();
    void mailFiles();

    QString folder_;
    QString programName_;
    QString logText_;
    std::vector<CrashReportFile> files_;
    ProgramStarter startProgram_;
    QLabel* summary_ = nullptr;
    QTreeWidget* fileList_ = nullptr;
    QPushButton* copyButton_ = nullptr;
    QPushButton* mailButton_ = nullptr;
};

}  // namespace quorvel
