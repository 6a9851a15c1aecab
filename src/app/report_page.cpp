#include "app/report_page.h"

#include "app/analysis_runner.h"
#include "app/app_state.h"

namespace quorvel::app {

ReportPage::ReportPage(AppState& state, QWidget* parent)
    : SheetPage(state, parent), runner_(new AnalysisRunner(this)) {
    connect(runner_, &AnalysisRunner::finished, this, &ReportPage::runFinished);
}

ReportPage::~ReportPage() {
    runner_->wait();
}

bool ReportPage::leavePage() {
    return true;
}

void ReportPage::enterPage() {}

bool ReportPage::runAnalysis() {
    if (running()) return false;
    emit runStarted();
    return runner_->start(state());
}

bool ReportPage::running() const {
    return runner_->running();
}

}  // namespace quorvel::app
