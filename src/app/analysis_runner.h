#pragma once

// Runs the analysis of the current project on a worker thread and hands its
// results to the window thread by queued signals, so the window repaints and
// shows progress while the files are checked.

#include <QObject>
#include <QString>
#include <QThread>
#include <QVector>
#include <memory>
#include <stop_token>

#include "report/report_entry.h"

namespace quorvel::app {

struct AppState;

class AnalysisRunner : public QObject {
    Q_OBJECT
public:
    explicit AnalysisRunner(QObject* parent = nullptr);
    ~AnalysisRunner() override;  // stops a run and waits for it

    // Copies the current project's inputs and the current engine's rules out
    // of the settings and the checker file (on the calling thread), then
    // checks the files on a worker thread. False when a run is going on.
    bool start(const AppState& state);
    bool running() const;
    // Asks the run to stop after the file in hand: the entries delivered are
    // those of the list's first files, whole; finished follows.
    void requestStop();
    // Blocks until the run has ended (tests and closing).
    void wait();

signals:
    void started();
    // Entries of the run in list order, a file's entries and its separator
    // in one batch.
    void entriesReady(const QVector<quorvel::ReportEntry>& entries);
    void fileNotOpened(const QString& fileName, const QString& message);
    // Files handed over so far and the number of enabled files; first sent
    // with 0 before the first file.
    void progress(int filesDone, int filesToDo);
    void finished();

private:
    std::unique_ptr<QThread> thread_;
    std::stop_source stop_;
};

}  // namespace quorvel::app

Q_DECLARE_METATYPE(quorvel::ReportEntry)
