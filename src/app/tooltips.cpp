#include "app/tooltips.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>
#include <string_view>

namespace quorvel::app {

namespace {

struct ToolTipRow {
    std::string_view objectName;
    std::string_view text;
};

// One row per control that has a tooltip; each page keeps its rows together.
constexpr ToolTipRow kToolTips[] = {
    // Main window
    {"pageTabs", "Choose a page; the pages cannot be changed while a check runs"},
    {"startButton", "Check every enabled file of the current project for the current keyword"},
    {"exitButton", "Save the settings and close the program"},
    {"aboutButton", "Show the program's version, its libraries and its licence"},
    {"helpButton", "Show the help for the current page"},
    {"runProgressBar", "Files of the project checked so far"},
    // Project page
    {"projectCombo", "Select the project to work on"},
    {"newProjectButton", "Create a new project"},
    {"editProjectButton", "Change the name of the current project"},
    {"deleteProjectButton", "Delete the current project with all its keywords and files"},
    {"keywordCombo", "Select the keyword or phrase the check looks for"},
    {"addKeywordButton", "Add a new keyword or phrase"},
    {"editKeywordButton", "Change the selected keyword or phrase"},
    {"deleteKeywordButton", "Delete the selected keyword or phrase"},
    {"importKeywordsButton", "Add the keywords or phrases of a text file, one per line"},
    {"emptyKeywordsButton", "Delete every keyword and phrase of the project"},
    {"folderEdit", "The folder that holds the project's pages"},
    {"folderButton", "Browse folders to select the project folder"},
    {"homeUrlEdit", "The address of the site's home page"},
    {"fileList",
     "The files to check: clear a box to leave a file out. Right click for more commands"},
    {"addFilesButton", "Add one or more files to the list"},
    {"importFileButton", "Import a page from a web address into the project folder"},
    {"deleteFileButton", "Remove the selected file from the list"},
    {"emptyFilesButton", "Remove every file from the list"},
    {"uncheckAllButton", "Leave every listed file out of the check"},
    {"checkAllButton", "Include every listed file in the check"},
    {"downloadCheckFileButton", "Download the latest check file"},
    {"checkFileDateLabel", "The date of the check file in use"},
    {"tutorialLink", "Open the tutorial"},
    {"faqLink", "Open the answers to frequently asked questions"},
    {"helpTutorialButton", "Display the tutorial of the program's help"},
    // Options page
    {"enableToolTipsCheck", "Let the program show comics help text"},
    {"autosizeColumnsCheck", "Enable column autosize in Report dialog"},
    {"browserEdit", "Run this program on \"File Open\" menu selection"},
    {"htmlEditorEdit", "Run this program on \"File Edit\" menu selection"},
    {"textEditorEdit", "Run this program on \"File Edit as Text\" menu selection"},
    {"userTool1Edit", "Run this program on \"Open File In User Tool 1\" menu selection"},
    {"userTool2Edit", "Run this program on \"Open File In User Tool 2\" menu selection"},
    {"browserBrowseButton", "Browse folders to select the program to run"},
    {"htmlEditorBrowseButton", "Browse folders to select the program to run"},
    {"textEditorBrowseButton", "Browse folders to select the program to run"},
    {"userTool1BrowseButton", "Browse folders to select the program to run"},
    {"userTool2BrowseButton", "Browse folders to select the program to run"},
    {"autoViewHtmlReportCheck",
     "After you press the \"Start\" button the program will automatically display the HTML "
     "report"},
    {"killTerminatingSCheck",
     "Consider equivalent words that only differ for a final s character (Example: apple is "
     "equal to apples)"},
    {"skipShortWordsCheck", "Discard words that are less than the specified number of characters"},
    {"minWordLengthSpin", "Minimum word length"},
    // Checker Elements page
    {"engineCombo", "Select the search engine whose checks are shown"},
    {"enableCheckBox", "Check this box to enable the shown check"},
    {"categoryCombo", "Define the check category for the current search engine"},
    {"valueEdit", "This is the check associated value"},
    {"messageEdit", "This is the error message shown. %1 mean Value field substitution."},
    {"descriptionEdit",
     "This is the detailed error message. %1 is the Value field, while %2 is the current value."},
    {"addEngineButton", "Add a new search engine"},
    {"editEngineButton", "Change the name of the current search engine"},
    {"deleteEngineButton", "Delete the current search engine and all it's options"},
    {"caseCombo", "Specify if the current search engine is Case sensistive"},
    {"checksTree", "Here are listed the available search engine checks the program will execute"},
    // Report page
    {"reportTable",
     "This the program report for the checked project files (right click  to display a popup "
     "menu)"},
    {"menuButton", "Press here or right click over the report to see the menu options"},
    {"htmlReportButton",
     "Press this button to start your browser and display a detailed html report!"},
    {"confusingResultsButton", "If you see strange results, then press this button"},
    {"reportKeywordCombo", "This is the currently active keyword/phrase"},
    {"reportEngineCombo", "This is the currently active search engine"},
};

constexpr qsizetype kMaxToolTipLength = 255;

bool g_enabled = true;

void apply(QWidget* widget) {
    const QString text = toolTipText(widget->objectName());
    if (!text.isEmpty()) widget->setToolTip(g_enabled ? text : QString());
}

// Gives widgets their text when they are polished (just before they are
// first shown) and swallows every tooltip while the switch is off, also
// tooltips that a page set by itself.
class ToolTipSwitch : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* object, QEvent* event) override {
        if (event->type() == QEvent::ToolTip) return !g_enabled;
        if (event->type() == QEvent::Polish && object->isWidgetType())
            apply(static_cast<QWidget*>(object));
        return false;
    }
};

void ensureInstalled() {
    static ToolTipSwitch* installed = nullptr;
    if (installed || !qApp) return;
    installed = new ToolTipSwitch(qApp);
    qApp->installEventFilter(installed);
}

}  // namespace

QString toolTipText(const QString& objectName) {
    for (const ToolTipRow& row : kToolTips) {
        if (objectName == QLatin1String(row.objectName.data(), qsizetype(row.objectName.size())))
            return QString::fromUtf8(row.text.data(), qsizetype(row.text.size()))
                .left(kMaxToolTipLength);
    }
    return {};
}

void setToolTipsEnabled(bool enabled) {
    ensureInstalled();
    g_enabled = enabled;
    for (QWidget* widget : QApplication::allWidgets())
        apply(widget);
}

bool toolTipsEnabled() {
    return g_enabled;
}

}  // namespace quorvel::app
