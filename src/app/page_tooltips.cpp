#include "app/page_tooltips.h"

#include <QWidget>
#include <string_view>

namespace quorvel::app {

namespace {

struct ToolTipRow {
    std::string_view objectName;
    std::string_view text;
};

constexpr ToolTipRow kToolTips[] = {
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
};

constexpr qsizetype kMaxToolTipLength = 255;

}  // namespace

QString pageToolTipText(const QString& objectName) {
    for (const ToolTipRow& row : kToolTips) {
        if (objectName == QLatin1String(row.objectName.data(), qsizetype(row.objectName.size())))
            return QString::fromUtf8(row.text.data(), qsizetype(row.text.size()))
                .left(kMaxToolTipLength);
    }
    return {};
}

void applyPageToolTips(QWidget* root, bool enabled) {
    for (QWidget* widget : root->findChildren<QWidget*>()) {
        const QString text = pageToolTipText(widget->objectName());
        if (!text.isEmpty()) widget->setToolTip(enabled ? text : QString());
    }
}

}  // namespace quorvel::app
