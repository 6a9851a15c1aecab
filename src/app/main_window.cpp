#include "app/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/app_state.h"
#include "app/checker_elements_page.h"
#include "app/message_box.h"
#include "app/options_page.h"
#include "app/project_page.h"
#include "app/report_page.h"
#include "checks/analysis_run.h"

namespace quorvel::app {

MainWindow::MainWindow(AppState& state, const QString& title, QWidget* parent)
    : QWidget(parent), state_(state) {
    setObjectName(QStringLiteral("mainWindow"));
    setWindowTitle(title);

    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("pageTabs"));
    auto* project = new ProjectPage(state_);
    project->setObjectName(QStringLiteral("projectPage"));
    auto* options = new OptionsPage(state_);
    options->setObjectName(QStringLiteral("optionsPage"));
    auto* checker = new CheckerElementsPage(state_);
    checker->setObjectName(QStringLiteral("checkerElementsPage"));
    reportPage_ = new ReportPage(state_);
    reportPage_->setObjectName(QStringLiteral("reportPage"));
    pages_ = {project, options, checker, reportPage_};
    tabs_->addTab(project, tr("Project"));
    tabs_->addTab(options, tr("Options"));
    tabs_->addTab(checker, tr("Checker Elements"));
    tabs_->addTab(reportPage_, tr("Report"));

    logo_ = new QLabel(QStringLiteral("Maltrane"), this);
    logo_->setObjectName(QStringLiteral("logoLabel"));
    QFont logoFont = logo_->font();
    logoFont.setBold(true);
    logoFont.setPointSizeF(logoFont.pointSizeF() * 1.4);
    logo_->setFont(logoFont);

    startButton_ = new QPushButton(tr("&Start"), this);
    startButton_->setObjectName(QStringLiteral("startButton"));
    exitButton_ = new QPushButton(tr("E&xit"), this);
    exitButton_->setObjectName(QStringLiteral("exitButton"));
    aboutButton_ = new QPushButton(tr("&About"), this);
    aboutButton_->setObjectName(QStringLiteral("aboutButton"));
    helpButton_ = new QPushButton(tr("&Help"), this);
    helpButton_->setObjectName(QStringLiteral("helpButton"));
    for (QPushButton* button : {startButton_, exitButton_, aboutButton_, helpButton_}) {
        // Enter inside a page must never press a button of the row.
        button->setAutoDefault(false);
        button->setDefault(false);
    }

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(logo_);
    buttons->addStretch(1);
    buttons->setSpacing(8);
    for (QPushButton* button : {startButton_, exitButton_, aboutButton_, helpButton_})
        buttons->addWidget(button);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_, 1);
    layout->addLayout(buttons);

    connect(tabs_, &QTabWidget::currentChanged, this, &MainWindow::onTabChanged);
    connect(startButton_, &QPushButton::clicked, this, &MainWindow::start);
    connect(exitButton_, &QPushButton::clicked, this, &QWidget::close);
    connect(reportPage_, &ReportPage::runFinished, this, [this] { setRunning(false); });

    for (SheetPage* page : pages_)
        page->enterPage();
    tabs_->setCurrentIndex(kProjectPage);
    resize(760, 560);
}

SheetPage* MainWindow::page(Page page) const {
    return pages_[static_cast<std::size_t>(page)];
}

bool MainWindow::activatePage(Page page) {
    if (running_) return false;
    if (tabs_->currentIndex() == page) return true;
    tabs_->setCurrentIndex(page);
    return tabs_->currentIndex() == page;
}

void MainWindow::onTabChanged(int index) {
    if (switching_) return;
    if (running_ || !pages_[static_cast<std::size_t>(activeIndex_)]->leavePage()) {
        // The change is refused: the old page stays active.
        switching_ = true;
        tabs_->setCurrentIndex(activeIndex_);
        switching_ = false;
        return;
    }
    activeIndex_ = index;
    pages_[static_cast<std::size_t>(index)]->enterPage();
}

void MainWindow::startRejected(const QString& message) {
    MessageBox::error(this, tr("Quorvel - Error"), message);
    activatePage(kProjectPage);
}

void MainWindow::start() {
    if (running_) return;
    if (!pages_[static_cast<std::size_t>(activeIndex_)]->leavePage()) return;
    const RunInputs inputs = runInputsFromSettings(state_.settings);
    if (const auto problem = runInputsProblem(inputs)) {
        startRejected(QString::fromUtf8(problem->data(), static_cast<qsizetype>(problem->size())));
        return;
    }
    activatePage(kReportPage);
    setRunning(true);
    if (!reportPage_->runAnalysis()) setRunning(false);
}

void MainWindow::setRunning(bool running) {
    if (running == running_) return;
    running_ = running;
    if (running) {
        startButton_->setEnabled(false);
        tabs_->tabBar()->setEnabled(false);
        exitButton_->setEnabled(false);
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        QApplication::restoreOverrideCursor();
        exitButton_->setEnabled(true);
        tabs_->tabBar()->setEnabled(true);
        startButton_->setEnabled(true);
    }
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (running_) {
        event->ignore();
        return;
    }
    pages_[static_cast<std::size_t>(activeIndex_)]->leavePage();
    const QRect frame = frameGeometry();
    state_.settings.setWindowRect(
        TextOption::MainWindowRect,
        Rect{frame.left(), frame.top(), frame.right() + 1, frame.bottom() + 1});
    (void)state_.settings.save();
    event->accept();
}

}  // namespace quorvel::app
