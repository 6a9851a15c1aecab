#include "app/main_window.h"

#include <QAccessible>
#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "app/about_box.h"
#include "app/analysis_runner.h"
#include "app/app_state.h"
#include "app/checker_elements_page.h"
#include "app/help.h"
#include "app/message_box.h"
#include "app/options_page.h"
#include "app/project_page.h"
#include "app/report_page.h"
#include "app/text_bytes.h"
#include "app/tooltips.h"
#include "checks/analysis_run.h"
#include "settings/window_placement.h"

// The library's resources (the icon) must be registered by hand, outside
// any namespace.
static void initResources() {
    Q_INIT_RESOURCE(quorvel);
}

namespace quorvel::app {

namespace {

constexpr int kButtonSpacing = 8;

QPushButton* makeButton(const QString& text, const char* objectName, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(objectName));
    button->setAccessibleName(QString(text).remove(u'&'));
    // Enter inside a page must never press a button of the row.
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

Rect rectOf(const QRect& r) {
    return Rect{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

}  // namespace

MainWindow::MainWindow(AppState& state, const QString& title, QWidget* parent)
    : QWidget(parent), state_(state) {
    initResources();
    setObjectName(QStringLiteral("mainWindow"));
    setWindowTitle(title);
    setWindowIcon(QIcon(QStringLiteral(":/icons/quorvel.svg")));

    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("pageTabs"));
    tabs_->setAccessibleName(tr("Pages"));
    auto* project = new ProjectPage(state_);
    project->setObjectName(QStringLiteral("projectPage"));
    auto* options = new OptionsPage(state_);
    options->setObjectName(QStringLiteral("optionsPage"));
    auto* checker = new CheckerElementsPage(state_);
    connect(project, &ProjectPage::checkerFileReplaced, checker, &CheckerElementsPage::refill);
    checker->setObjectName(QStringLiteral("checkerElementsPage"));
    reportPage_ = new ReportPage(state_);
    reportPage_->setObjectName(QStringLiteral("reportPage"));
    pages_ = {project, options, checker, reportPage_};
    const QString names[] = {tr("Project"), tr("Options"), tr("Checker Elements"), tr("Report")};
    for (std::size_t i = 0; i < pages_.size(); ++i) {
        pages_[i]->setAccessibleName(names[i]);
        tabs_->addTab(pages_[i], names[i]);
    }

    // The maker's name, drawn bold beside the buttons.
    logo_ = new QLabel(QStringLiteral("Maltrane"), this);
    logo_->setObjectName(QStringLiteral("logoLabel"));
    QFont logoFont(QStringLiteral("Arial"));
    logoFont.setPixelSize(22);
    logoFont.setBold(true);
    logo_->setFont(logoFont);

    progressLabel_ = new QLabel(this);
    progressLabel_->setObjectName(QStringLiteral("runProgressLabel"));
    progressBar_ = new QProgressBar(this);
    progressBar_->setObjectName(QStringLiteral("runProgressBar"));
    progressBar_->setAccessibleName(tr("Files checked"));
    progressBar_->setTextVisible(false);
    progressBar_->setMaximumWidth(180);
    progressLabel_->hide();
    progressBar_->hide();

    startButton_ = makeButton(tr("&Start"), "startButton", this);
    exitButton_ = makeButton(tr("E&xit"), "exitButton", this);
    aboutButton_ = makeButton(tr("A&bout"), "aboutButton", this);
    helpButton_ = makeButton(tr("&Help"), "helpButton", this);
    const std::array<QPushButton*, 4> row = {startButton_, exitButton_, aboutButton_, helpButton_};
    // One width for the four buttons, the widest caption's.
    int width = 0;
    for (QPushButton* button : row)
        width = std::max(width, button->sizeHint().width());
    for (QPushButton* button : row)
        button->setFixedWidth(std::max(width, 88));

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(kButtonSpacing);
    buttons->addWidget(logo_);
    buttons->addSpacing(16);
    buttons->addWidget(progressLabel_);
    buttons->addWidget(progressBar_, 1);
    buttons->addStretch(1);
    for (QPushButton* button : row)
        buttons->addWidget(button);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_, 1);
    layout->addLayout(buttons);

    // Keyboard order: the tabs, the page, then the row from Start to Help.
    setTabOrder(tabs_, startButton_);
    setTabOrder(startButton_, exitButton_);
    setTabOrder(exitButton_, aboutButton_);
    setTabOrder(aboutButton_, helpButton_);

    connect(tabs_, &QTabWidget::currentChanged, this, &MainWindow::onTabChanged);
    connect(startButton_, &QPushButton::clicked, this, &MainWindow::start);
    connect(exitButton_, &QPushButton::clicked, this, &QWidget::close);
    connect(aboutButton_, &QPushButton::clicked, this, &MainWindow::showAbout);
    connect(helpButton_, &QPushButton::clicked, this, &MainWindow::showPageHelp);
    connect(reportPage_, &ReportPage::runStarted, this, [this] { setRunning(true); });
    connect(reportPage_, &ReportPage::runFinished, this, [this] { setRunning(false); });
    connect(&reportPage_->runner(), &AnalysisRunner::progress, this, &MainWindow::showProgress);

    // Every page is entered once, in tab order, so each fills its controls;
    // then the Project page becomes the active one.
    for (SheetPage* page : pages_)
        page->enterPage();
    switching_ = true;
    tabs_->setCurrentIndex(kProjectPage);
    switching_ = false;
    pages_[kProjectPage]->enterPage();
    resize(820, 600);
    restoreWindowRect();
    setToolTipsEnabled(state_.settings.option(IntOption::EnableToolTips) != 0);
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
        startRejected(textFromBytes(*problem));
        return;
    }
    activatePage(kReportPage);
    // The Report page announces the run (runStarted), which disables the
    // window until runFinished.
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
        // The count is known before the run reports it.
        const auto files = state_.settings.files();
        showProgress(0, static_cast<int>(std::count_if(files.begin(), files.end(),
                                                       [](const auto& f) { return f.enabled; })));
        progressLabel_->show();
        progressBar_->show();
    } else {
        progressLabel_->hide();
        progressBar_->hide();
        QApplication::restoreOverrideCursor();
        exitButton_->setEnabled(true);
        tabs_->tabBar()->setEnabled(true);
        startButton_->setEnabled(true);
        if (closeAfterRun_) close();
    }
}

void MainWindow::showProgress(int filesDone, int filesToDo) {
    progressBar_->setRange(0, std::max(filesToDo, 1));
    progressBar_->setValue(std::min(filesDone, std::max(filesToDo, 1)));
    // The file being checked, counted from 1.
    const int current = std::min(filesDone + 1, std::max(filesToDo, 1));
    progressLabel_->setText(filesToDo > 0 ? tr("file %1 of %2").arg(current).arg(filesToDo)
                                          : QString());
}

void MainWindow::showPageHelp() {
    showHelp(this, pages_[static_cast<std::size_t>(activeIndex_)]->helpPage());
}

void MainWindow::showAbout() {
    auto* box = new AboutBox(this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

// The rectangle is the window frame's top-left corner and the window's inner
// size: the frame's own size is known only some time after the window is
// shown (and not at all on some desktops), so an outer size read back as an
// inner one would grow the window by its frame at every start.
void MainWindow::restoreWindowRect() {
    Rect saved;
    if (!state_.settings.windowRect(TextOption::MainWindowRect, saved)) return;
    const QPoint centre((saved.left + saved.right) / 2, (saved.top + saved.bottom) / 2);
    QScreen* screen = QGuiApplication::screenAt(centre);
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    const Rect fitted = fitIntoDesktop(saved, rectOf(screen->availableGeometry()));
    const QSize size(static_cast<int>(fitted.right - fitted.left),
                     static_cast<int>(fitted.bottom - fitted.top));
    if (size.width() <= 0 || size.height() <= 0) return;
    move(static_cast<int>(fitted.left), static_cast<int>(fitted.top));
    resize(size);
}

void MainWindow::saveWindowRect() {
    const bool normal =
        !(windowState() & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen));
    const QPoint corner = normal ? frameGeometry().topLeft() : normalGeometry().topLeft();
    const QSize inner = normal ? size() : normalGeometry().size();
    state_.settings.setWindowRect(TextOption::MainWindowRect, rectOf(QRect(corner, inner)));
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (running_) {
        // Closing during a run: the run stops after the file in hand, then
        // the window closes.
        closeAfterRun_ = true;
        reportPage_->runner().requestStop();
        event->ignore();
        return;
    }
    pages_[static_cast<std::size_t>(activeIndex_)]->leavePage();
    saveWindowRect();
    // Settings that cannot be written would be lost: the user may keep the
    // window open and make room or rights first.
    if (const FileResult saved = state_.settings.save(); !saved) {
        const QString text = tr("The settings could not be saved: %1\n\nClose the program anyway?")
                                 .arg(textFromBytes(saved.message()));
        if (!MessageBox::confirm(this, tr("Warning Message"), text)) {
            event->ignore();
            return;
        }
    }
    event->accept();
}

}  // namespace quorvel::app
