#pragma once

// The main window: the four pages as tabs and the button row with Start,
// Exit, About and Help.

#include <QWidget>
#include <array>

class QTabWidget;
class QPushButton;
class QLabel;

namespace quorvel::app {

struct AppState;
class SheetPage;
class ProjectPage;
class OptionsPage;
class CheckerElementsPage;
class ReportPage;

class MainWindow : public QWidget {
    Q_OBJECT
public:
    // Tab indexes, in tab order.
    enum Page { kProjectPage = 0, kOptionsPage = 1, kCheckerElementsPage = 2, kReportPage = 3 };

    MainWindow(AppState& state, const QString& title, QWidget* parent = nullptr);

    // The Start command.
    void start();
    bool running() const { return running_; }
    // Makes a page active as a tab change would: the active page is left
    // first, and may refuse. False when refused or during a run.
    bool activatePage(Page page);
    SheetPage* page(Page page) const;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void onTabChanged(int index);
    void setRunning(bool running);
    void startRejected(const QString& message);

    AppState& state_;
    QTabWidget* tabs_;
    std::array<SheetPage*, 4> pages_{};
    ReportPage* reportPage_;
    QPushButton* startButton_;
    QPushButton* exitButton_;
    QPushButton* aboutButton_;
    QPushButton* helpButton_;
    QLabel* logo_;
    int activeIndex_ = kProjectPage;
    bool switching_ = false;
    bool running_ = false;
};

}  // namespace quorvel::app
