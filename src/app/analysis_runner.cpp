#include "app/analysis_runner.h"

#include <QMetaObject>
#include <algorithm>

#include "app/app_state.h"
#include "app/text_bytes.h"
#include "checks/analysis_run.h"

namespace quorvel::app {

namespace {

// Collects a file's entries on the worker and posts them to the runner when
// the file's separator arrives, with the progress of the run. Once a stop is
// requested nothing more is posted, so the report holds whole files only.
class QueuedSink : public ReportSink {
public:
    QueuedSink(AnalysisRunner* runner, int filesToDo, std::stop_token stop)
        : runner_(runner), filesToDo_(filesToDo), stop_(std::move(stop)) {}

    void appendEntry(const ReportEntry& entry) override {
        if (stop_.stop_requested()) return;
        batch_.append(entry);
        if (entry.importanceClass == ImportanceClass::Separator) {
            flush();
            fileDone();
        }
    }

    void fileNotOpened(std::string_view fileName, std::string_view message) override {
        if (stop_.stop_requested()) return;
        flush();
        QMetaObject::invokeMethod(runner_, "fileNotOpened", Qt::QueuedConnection,
                                  Q_ARG(QString, textFromBytes(fileName)),
                                  Q_ARG(QString, textFromBytes(message)));
        fileDone();
    }

    void flush() {
        if (batch_.isEmpty()) return;
        QMetaObject::invokeMethod(runner_, "entriesReady", Qt::QueuedConnection,
                                  Q_ARG(QVector<quorvel::ReportEntry>, batch_));
        batch_.clear();
    }

private:
    void fileDone() {
        ++filesDone_;
        QMetaObject::invokeMethod(runner_, "progress", Qt::QueuedConnection,
                                  Q_ARG(int, filesDone_), Q_ARG(int, filesToDo_));
    }

    AnalysisRunner* runner_;
    int filesToDo_;
    int filesDone_ = 0;
    std::stop_token stop_;
    QVector<ReportEntry> batch_;
};

}  // namespace

AnalysisRunner::AnalysisRunner(QObject* parent) : QObject(parent) {
    qRegisterMetaType<quorvel::ReportEntry>();
    qRegisterMetaType<QVector<quorvel::ReportEntry>>();
}

AnalysisRunner::~AnalysisRunner() {
    requestStop();
    wait();
}

bool AnalysisRunner::start(const AppState& state) {
    if (running()) return false;
    wait();
    auto inputs = std::make_shared<RunInputs>(runInputsFromSettings(state.settings));
    auto rules =
        std::make_shared<EngineRules>(state.checker.resolve(state.settings.currentEngine()));
    const int filesToDo = static_cast<int>(std::count_if(
        inputs->files.begin(), inputs->files.end(), [](const ListedFile& f) { return f.enabled; }));
    stop_ = std::stop_source();
    thread_.reset(QThread::create([this, inputs, rules, filesToDo, stop = stop_.get_token()] {
        QueuedSink sink(this, filesToDo, stop);
        runAnalysis(*inputs, *rules, sink, defaultJobCount());
        sink.flush();
    }));
    connect(thread_.get(), &QThread::finished, this, &AnalysisRunner::finished);
    emit started();
    emit progress(0, filesToDo);
    thread_->start();
    return true;
}

bool AnalysisRunner::running() const {
    return thread_ && thread_->isRunning();
}

void AnalysisRunner::requestStop() {
    stop_.request_stop();
}

void AnalysisRunner::wait() {
    if (thread_) thread_->wait();
}

}  // namespace quorvel::app
