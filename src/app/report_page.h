#pragma once

#include "app/sheet_page.h"

class QComboBox;
class QLabel;
class QMenu;
class QAction;
class QPushButton;
class QTableView;

namespace quorvel::app {

class AnalysisRunner;
class ReportModel;
enum class ExternalTool;
enum class ReportFormat;

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
    ReportModel& model() { return *model_; }
    QMenu* popupMenu() const { return menu_; }

    // The first selected row; -1 when none is.
    int selectedRow() const;
    // Sets the menu items and the "Html Report" button for the selection;
    // `activation` first greys the three open commands.
    void updateMenuState(bool activation = false);
    // Each column as wide as its cells and header; the position stays hidden.
    void fitColumns();

    // The commands of the page.
    void showEntryDetails();
    void openEntryFile(ExternalTool tool);

signals:
    void runStarted();
    void runFinished();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QAction* addMenuAction(const QString& text, const char* name);
    void buildMenu();
    void popupMenuAt(const QPoint& globalPosition);
    void refillSelectors();
    void keywordChosen(int index);
    void engineChosen(int index);
    void onRunFinished();
    void setSelectorsEnabled(bool enabled);
    void showConfusingResultsHelp();

    AnalysisRunner* runner_;
    ReportModel* model_;
    QComboBox* engineCombo_;
    QComboBox* keywordCombo_;
    QPushButton* menuButton_;
    QPushButton* htmlReportButton_;
    QPushButton* densivoButton_;
    QPushButton* confusingButton_;
    QTableView* table_;
    QLabel* hintLabel_;
    QMenu* menu_;
    QAction* showDetailsAction_ = nullptr;
    QAction* exportTextAction_ = nullptr;
    QAction* exportHtmlAction_ = nullptr;
    QAction* copyTextAction_ = nullptr;
    QAction* copyHtmlAction_ = nullptr;
    QAction* emailAction_ = nullptr;
    QAction* openBrowserAction_ = nullptr;
    QAction* openHtmlEditorAction_ = nullptr;
    QAction* openTextEditorAction_ = nullptr;
    QAction* openUserTool1Action_ = nullptr;
    QAction* openUserTool2Action_ = nullptr;
};

}  // namespace quorvel::app
