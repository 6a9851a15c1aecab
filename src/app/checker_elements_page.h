#pragma once

#include <optional>
#include <string_view>

#include "app/sheet_page.h"
#include "checks/check_catalogue.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QStandardItemModel;
class QTreeView;

namespace quorvel::app {

// Position in the Category selector of an importance code: T is 2, E is 3,
// S is 1 (either case), anything else 0 (Warning).
int categoryPosition(std::string_view importanceCode);
// The code stored for a position of the Category selector: W, S, T or E.
char importanceCodeAt(int position);

// The Checker Elements page: the rule set of one engine, the engine list and
// the current engine. Every change goes straight into the checker file. The
// check controls, the Case selector and the engine buttons work only while
// "EnableSeEdit" is 1; otherwise the page only shows.
class CheckerElementsPage : public SheetPage {
    Q_OBJECT
public:
    explicit CheckerElementsPage(AppState& state, QWidget* parent = nullptr);

    bool leavePage() override;
    void enterPage() override;
    QString helpPage() const override { return QStringLiteral("checker-elements.html"); }

    // Reloads the checker file from disk and fills the page anew (also after
    // the file was replaced by a download).
    void refill();

private:
    // A tree item's value: category * 256 + index for a check, -1 for a root.
    static constexpr int kNoCheck = -1;

    void buildTree();
    void fillEngines();
    void applyEditingAllowed();
    void onTreeSelection(int newCheck);
    void showCheck();
    void storeCheck();
    void showSelectedEngine();
    void onEngineChosen();
    void addEngine();
    void renameEngine();
    void deleteEngine();
    void onCaseChosen(int position);
    void onMessageEdited();
    void onDescriptionEdited();
    void updateHighlight();
    void saveChecker();
    // Asks for a new engine name until it is unlisted (letter case ignored)
    // or the dialog is cancelled.
    std::optional<QString> askEngineName(const QString& initial);

    bool editingAllowed_ = false;
    bool filling_ = false;  // controls are being set, not typed into
    int selectedCheck_ = kNoCheck;

    QComboBox* engineCombo_;
    QPushButton* addButton_;
    QPushButton* editButton_;
    QPushButton* deleteButton_;
    QComboBox* caseCombo_;
    QTreeView* tree_;
    QStandardItemModel* treeModel_;
    QCheckBox* enableBox_;
    QComboBox* categoryCombo_;
    QLineEdit* valueEdit_;
    QLineEdit* messageEdit_;
    QPlainTextEdit* descriptionEdit_;
};

}  // namespace quorvel::app
