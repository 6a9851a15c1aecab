#include "app/analysis_runner.h"

#include <QMetaObject>

#include "app/app_state.h"
#include "app/text_bytes.h"
#include "checks/analysis_run.h"

namespace quorvel::app {

namespace {

// Collects a file's entries on the worker and posts them to the runner when
// the file's separator arrives.
class QueuedSink : public ReportSink {
public:
    explicit QueuedSink(AnalysisRunner* runner) : runner_(runner) {}

    void appendEntry(const ReportEntry& entry) override {
        batch_.append(entry);
        if (entry.importanceClass == ImportanceClass::Separator) flush();
    }

    void fileNotOpened(std::string_view fileName, std::string_view message) override {
        flush();
        QMetaObject::invokeMethod(runner_, "fileNotOpened", Qt::QueuedConnection,
                                  Q_ARG(QString, textFromBytes(fileName)),
                                  Q_ARG(QString, textFromBytes(message)));
    }

    void flush() {
        if (batch_.isEmpty()) return;
        QMetaObject::invokeMethod(runner_, "entriesReady", Qt::QueuedConnection,
                                  Q_ARG(QVector<quorvel::ReportEntry>, batch_));
        batch_.clear();
    }

private:
    AnalysisRunner* runner_;
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
    stop_ = std::stop_source();
    thread_.reset(QThread::create([this, inputs, rules, stop = stop_.get_token()] {
        QueuedSink sink(this);
        RunControl control;
        control.stop = stop;
        // Called after each file's entries were handed to the sink, so the
        // window sees a file's rows before it is counted.
        control.progress = [this, &sink](std::size_t done, std::size_t toDo) {
            sink.flush();
            QMetaObject::invokeMethod(this, "progress", Qt::QueuedConnection,
                                      Q_ARG(int, static_cast<int>(done)),
                                      Q_ARG(int, static_cast<int>(toDo)));
        };
        runAnalysis(*inputs, *rules, sink, defaultJobCount(), control);
        sink.flush();
    }));
    connect(thread_.get(), &QThread::finished, this, &AnalysisRunner::finished);
    emit started();
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
