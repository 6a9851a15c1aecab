#pragma once

// The main window: the four pages as tabs and the button row with Start,
// Exit, About and Help.

#include <QWidget>
#include <array>

#include "settings/profile_file.h"

class QTabWidget;
class QPushButton;
class QLabel;
class QProgressBar;

namespace quorvel::app {

struct AppState;
class SheetPage;
class ReportPage;

class MainWindow : public QWidget {
    Q_OBJECT
public:
    // Tab indexes, in tab order.
    enum Page { kProjectPage = 0, kOptionsPage = 1, kCheckerElementsPage = 2, kReportPage = 3 };

    MainWindow(AppState& state, const QString& title, QWidget* parent = nullptr);

    // The Start command: the active page is left, the project is checked for
    // a keyword and enabled files, and the run starts on the Report page.
    void start();
    bool running() const { return running_; }
    // Makes a page active as a tab change would: the active page is left
    // first, and may refuse. False when refused or during a run.
    bool activatePage(Page page);
    Page activePage() const { return static_cast<Page>(activeIndex_); }
    SheetPage* page(Page page) const;
    // Help for the active page.
    void showPageHelp();
    void showAbout();

protected:
    // During a run the window is not closed at once: the run is asked to
    // stop and the window closes when it has ended. Settings that cannot be
    // saved are reported, and the user may keep the window open.
    void closeEvent(QCloseEvent* event) override;

private:
    void onTabChanged(int index);
    void setRunning(bool running);
    void showProgress(int filesDone, int filesToDo);
    void startRejected(const QString& message);
    void restoreWindowRect();
    void saveWindowRect();

    AppState& state_;
    QTabWidget* tabs_;
    std::array<SheetPage*, 4> pages_{};
    ReportPage* reportPage_;
    QPushButton* startButton_;
    QPushButton* exitButton_;
    QPushButton* aboutButton_;
    QPushButton* helpButton_;
    QLabel* logo_;
    QLabel* progressLabel_;
    QProgressBar* progressBar_;
    int activeIndex_ = kProjectPage;
    bool switching_ = false;
    bool running_ = false;
    bool closeAfterRun_ = false;
};

}  // namespace quorvel::app
