#pragma once

#include "app/sheet_page.h"

class QProgressBar;
class QLabel;

namespace quorvel::app {

class AnalysisRunner;

// The Report page: the run's findings, and the run itself, which the Start
// command and the page's keyword and engine selectors start.
class ReportPage : public SheetPage {
    Q_OBJECT
public:
    explicit ReportPage(AppState& state, QWidget* parent = nullptr);
    ~ReportPage() override;

    bool leavePage() override;
    void enterPage() override;
    QString helpPage() const override { return QStringLiteral("report.html"); }

    // Empties the report and runs the analysis of the current project on a
    // worker thread; runStarted and runFinished frame it. False when a run
    // is going on.
    bool runAnalysis();
    bool running() const;
    AnalysisRunner& runner() { return *runner_; }

signals:
    void runStarted();
    void runFinished();

private:
    AnalysisRunner* runner_;
};

}  // namespace quorvel::app
