#include "app/checker_elements_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTreeView>
#include <QVBoxLayout>

#include "app/app_state.h"
#include "app/message_box.h"
#include "app/text_bytes.h"
#include "app/text_prompt.h"
#include "platform/ascii_text.h"

namespace quorvel::app {

namespace {

constexpr char kOverriddenStyle[] = "background-color: yellow; color: black;";
const QString kErrorCaption = QStringLiteral("Quorvel Error Message");

int categoryOf(int check) {
    return check / 256;
}
int indexOf(int check) {
    return check % 256;
}

// A label with a mnemonic that names the control it belongs to, for the
// keyboard and for screen readers.
QLabel* buddyLabel(const QString& text, QWidget* control) {
    auto* label = new QLabel(text);
    label->setBuddy(control);
    control->setAccessibleName(QString(text).remove(u'&'));
    return label;
}

}  // namespace

int categoryPosition(std::string_view importanceCode) {
    const char code = importanceCode.empty() ? '\0' : importanceCode.front();
    switch (code) {
        case 'T':
        case 't':
            return 2;
        case 'E':
        case 'e':
            return 3;
        case 'S':
        case 's':
            return 1;
        default:
            return 0;
    }
}

char importanceCodeAt(int position) {
    static constexpr char kCodes[] = {'W', 'S', 'T', 'E'};
    return position >= 0 && position < 4 ? kCodes[position] : 'W';
}

CheckerElementsPage::CheckerElementsPage(AppState& state, QWidget* parent)
    : SheetPage(state, parent) {
    engineCombo_ = new QComboBox;
    engineCombo_->setObjectName(QStringLiteral("engineCombo"));
    engineCombo_->setAccessibleName(QStringLiteral("Search Engine"));
    addButton_ = new QPushButton(tr("&Add..."));
    addButton_->setObjectName(QStringLiteral("addEngineButton"));
    editButton_ = new QPushButton(tr("&Edit..."));
    editButton_->setObjectName(QStringLiteral("editEngineButton"));
    deleteButton_ = new QPushButton(tr("&Delete"));
    deleteButton_->setObjectName(QStringLiteral("deleteEngineButton"));
    caseCombo_ = new QComboBox;
    caseCombo_->setObjectName(QStringLiteral("caseCombo"));
    caseCombo_->addItems({tr("Insensitive"), tr("Sensitive")});

    auto* engineGroup = new QGroupBox(tr(" Search Engine "));
    auto* engineRow = new QHBoxLayout;
    engineRow->addWidget(engineCombo_, 1);
    engineRow->addWidget(addButton_);
    engineRow->addWidget(editButton_);
    engineRow->addWidget(deleteButton_);
    engineRow->addSpacing(12);
    engineRow->addWidget(buddyLabel(tr("&Case:"), caseCombo_));
    engineRow->addWidget(caseCombo_);
    engineGroup->setLayout(engineRow);

    treeModel_ = new QStandardItemModel(this);
    tree_ = new QTreeView;
    tree_->setObjectName(QStringLiteral("checksTree"));
    tree_->setModel(treeModel_);
    tree_->setHeaderHidden(true);
    tree_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tree_->setSelectionMode(QAbstractItemView::SingleSelection);
    auto* treeLabel =
        buddyLabel(tr("C&ontrols executed (when you press the Start button):"), tree_);

    enableBox_ = new QCheckBox(tr("E&nable"));
    enableBox_->setObjectName(QStringLiteral("enableCheckBox"));
    categoryCombo_ = new QComboBox;
    categoryCombo_->setObjectName(QStringLiteral("categoryCombo"));
    categoryCombo_->addItems({tr("Warning"), tr("Suggestion"), tr("Tip Note"), tr("Error")});
    valueEdit_ = new QLineEdit;
    valueEdit_->setObjectName(QStringLiteral("valueEdit"));
    messageEdit_ = new QLineEdit;
    messageEdit_->setObjectName(QStringLiteral("messageEdit"));
    descriptionEdit_ = new QPlainTextEdit;
    descriptionEdit_->setObjectName(QStringLiteral("descriptionEdit"));
    descriptionEdit_->setTabChangesFocus(true);

    auto* checkGrid = new QGridLayout;
    checkGrid->addWidget(enableBox_, 0, 0, 1, 2);
    checkGrid->addWidget(buddyLabel(tr("Ca&tegory:"), categoryCombo_), 1, 0);
    checkGrid->addWidget(categoryCombo_, 1, 1);
    checkGrid->addWidget(buddyLabel(tr("&Value (%1):"), valueEdit_), 2, 0);
    checkGrid->addWidget(valueEdit_, 2, 1);
    checkGrid->addWidget(buddyLabel(tr("Short &Message:"), messageEdit_), 3, 0);
    checkGrid->addWidget(messageEdit_, 3, 1);
    checkGrid->addWidget(buddyLabel(tr("Detailed Desc&ription:"), descriptionEdit_), 4, 0, 1, 2);
    checkGrid->addWidget(descriptionEdit_, 5, 0, 1, 2);
    checkGrid->setRowStretch(5, 1);
    checkGrid->setColumnStretch(1, 1);

    auto* treeColumn = new QVBoxLayout;
    treeColumn->addWidget(treeLabel);
    treeColumn->addWidget(tree_, 1);
    auto* body = new QHBoxLayout;
    body->addLayout(treeColumn, 2);
    body->addLayout(checkGrid, 3);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(engineGroup);
    layout->addLayout(body, 1);

    setTabOrder(engineCombo_, addButton_);
    setTabOrder(addButton_, editButton_);
    setTabOrder(editButton_, deleteButton_);
    setTabOrder(deleteButton_, caseCombo_);
    setTabOrder(caseCombo_, tree_);
    setTabOrder(tree_, enableBox_);
    setTabOrder(enableBox_, categoryCombo_);
    setTabOrder(categoryCombo_, valueEdit_);
    setTabOrder(valueEdit_, messageEdit_);
    setTabOrder(messageEdit_, descriptionEdit_);

    connect(engineCombo_, &QComboBox::activated, this, &CheckerElementsPage::onEngineChosen);
    connect(addButton_, &QPushButton::clicked, this, &CheckerElementsPage::addEngine);
    connect(editButton_, &QPushButton::clicked, this, &CheckerElementsPage::renameEngine);
    connect(deleteButton_, &QPushButton::clicked, this, &CheckerElementsPage::deleteEngine);
    connect(caseCombo_, &QComboBox::activated, this, &CheckerElementsPage::onCaseChosen);
    connect(tree_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                onTreeSelection(current.isValid() ? current.data(Qt::UserRole).toInt() : kNoCheck);
            });
    connect(enableBox_, &QCheckBox::toggled, this, [this] {
        if (!filling_) storeCheck();
    });
    connect(categoryCombo_, &QComboBox::activated, this, [this] {
        if (!filling_) storeCheck();
    });
    connect(valueEdit_, &QLineEdit::textChanged, this, [this] {
        if (filling_) return;
        storeCheck();
        updateHighlight();
    });
    connect(messageEdit_, &QLineEdit::textChanged, this, &CheckerElementsPage::onMessageEdited);
    connect(descriptionEdit_, &QPlainTextEdit::textChanged, this,
            &CheckerElementsPage::onDescriptionEdited);

    refill();
}

void CheckerElementsPage::refill() {
    filling_ = true;
    engineCombo_->clear();
    (void)state().checker.reload();
    fillEngines();
    caseCombo_->setCurrentIndex(state().checker.caseSensitive(state().checker.currentEngine()) ? 1
                                                                                               : 0);
    buildTree();
    editingAllowed_ = state().settings.option(IntOption::EnableSeEdit) == 1;
    applyEditingAllowed();
    filling_ = false;
    showCheck();
}

void CheckerElementsPage::fillEngines() {
    const CheckerFile& checker = state().checker;
    for (int n = 1; n <= checker.engineCount(); ++n) {
        const std::string name = checker.engineName(n);
        engineCombo_->addItem(textFromBytes(name), QByteArray::fromStdString(name));
    }
    const int current =
        engineCombo_->findData(QByteArray::fromStdString(state().settings.currentEngine()));
    engineCombo_->setCurrentIndex(current >= 0 ? current : 0);
}

void CheckerElementsPage::buildTree() {
    treeModel_->clear();
    for (int category = 0; category < kCategoryCount; ++category) {
        const std::string_view categoryText = categoryName(category);
        auto* root = new QStandardItem(textFromBytes(categoryText));
        root->setData(kNoCheck, Qt::UserRole);
        for (int index = 0; index < checkCount(category); ++index) {
            auto* child = new QStandardItem(
                textFromBytes(state().checker.effectiveField(category, index, CheckField::Name)));
            child->setData(category * 256 + index, Qt::UserRole);
            root->appendRow(child);
        }
        treeModel_->appendRow(root);
    }
    tree_->expandAll();
    selectedCheck_ = kNoCheck;
    tree_->setCurrentIndex(treeModel_->index(0, 0));
}

void CheckerElementsPage::applyEditingAllowed() {
    for (QWidget* control : std::initializer_list<QWidget*>{
             enableBox_, categoryCombo_, messageEdit_, descriptionEdit_, valueEdit_, addButton_,
             editButton_, deleteButton_, caseCombo_}) {
        control->setEnabled(editingAllowed_);
    }
}

void CheckerElementsPage::onTreeSelection(int newCheck) {
    if (filling_) {
        selectedCheck_ = newCheck;
        return;
    }
    storeCheck();
    selectedCheck_ = newCheck;
    showCheck();
}

void CheckerElementsPage::showCheck() {
    filling_ = true;
    const bool isCheck = selectedCheck_ != kNoCheck;
    for (QWidget* control : std::initializer_list<QWidget*>{enableBox_, categoryCombo_, valueEdit_,
                                                            messageEdit_, descriptionEdit_}) {
        control->setEnabled(isCheck && editingAllowed_);
    }
    if (!isCheck) {
        enableBox_->setChecked(false);
        categoryCombo_->setCurrentIndex(-1);
        valueEdit_->clear();
        messageEdit_->clear();
        descriptionEdit_->clear();
    } else {
        const CheckerFile& checker = state().checker;
        const int category = categoryOf(selectedCheck_);
        const int index = indexOf(selectedCheck_);
        enableBox_->setChecked(checker.effectiveField(category, index, CheckField::Enable) == "1");
        messageEdit_->setText(
            textFromBytes(checker.effectiveField(category, index, CheckField::Msg)));
        messageEdit_->setCursorPosition(0);
        descriptionEdit_->setPlainText(
            textFromBytes(checker.effectiveField(category, index, CheckField::Descr)));
        const std::string value = checker.effectiveField(category, index, CheckField::Value);
        valueEdit_->setText(textFromBytes(value));
        valueEdit_->setCursorPosition(0);
        if (value.empty()) valueEdit_->setEnabled(false);
        categoryCombo_->setCurrentIndex(
            categoryPosition(checker.effectiveField(category, index, CheckField::Cat)));
    }
    filling_ = false;
    updateHighlight();
}

void CheckerElementsPage::storeCheck() {
    // A viewer never writes; a root selects no check.
    if (selectedCheck_ == kNoCheck || !editingAllowed_) return;
    CheckerFile& checker = state().checker;
    const int category = categoryOf(selectedCheck_);
    const int index = indexOf(selectedCheck_);
    const auto store = [&](CheckField field, const std::string& text) {
        (void)checker.setField(category, index, field, text);
    };
    const auto edited = [&](CheckField field, const QString& text) {
        return bytesFromText(text, checker.effectiveField(category, index, field));
    };
    store(CheckField::Enable, enableBox_->isChecked() ? "1" : "0");
    store(CheckField::Msg, edited(CheckField::Msg, messageEdit_->text()));
    store(CheckField::Descr, edited(CheckField::Descr, descriptionEdit_->toPlainText()));
    store(CheckField::Value, edited(CheckField::Value, valueEdit_->text()));
    store(CheckField::Cat, std::string(1, importanceCodeAt(categoryCombo_->currentIndex())));
    saveChecker();
}

void CheckerElementsPage::updateHighlight() {
    const bool isCheck = selectedCheck_ != kNoCheck;
    const std::pair<QWidget*, CheckField> fields[] = {{valueEdit_, CheckField::Value},
                                                      {messageEdit_, CheckField::Msg},
                                                      {descriptionEdit_, CheckField::Descr}};
    for (const auto& [control, field] : fields) {
        const bool overridden = editingAllowed_ && isCheck &&
                                !state().checker.hasNoOverride(categoryOf(selectedCheck_),
                                                               indexOf(selectedCheck_), field);
        control->setProperty("overridden", overridden);
        control->setStyleSheet(overridden ? QString::fromLatin1(kOverriddenStyle) : QString());
    }
}

void CheckerElementsPage::onMessageEdited() {
    if (filling_) return;
    storeCheck();
    updateHighlight();
    QString text = messageEdit_->text();
    if (!text.contains(u'<') && !text.contains(u'>')) return;
    MessageBox::error(this, kErrorCaption,
                      tr("The characters < and > are not allowed !\nThese characters will be now "
                         "replaced by the character \"."));
    text.replace(u'<', u'"').replace(u'>', u'"');
    messageEdit_->setText(text);  // stores again
}

void CheckerElementsPage::onDescriptionEdited() {
    if (filling_) return;
    storeCheck();
    updateHighlight();
    QString text = descriptionEdit_->toPlainText();
    if (text.contains(u'<') || text.contains(u'>')) {
        MessageBox::error(this, kErrorCaption,
                          tr("The characters < and > are not allowed !\nThese characters will be "
                             "now replaced by the character \"."));
        text.replace(u'<', u'"').replace(u'>', u'"');
        descriptionEdit_->setPlainText(text);  // stores again, then the line rule below
        return;
    }
    static const QString kLineBreaks = QStringLiteral("\r\n\u2028\u2029");
    bool hadBreak = false;
    for (QChar& c : text) {
        if (kLineBreaks.contains(c)) {
            c = u' ';
            hadBreak = true;
        }
    }
    if (!hadBreak) return;
    descriptionEdit_->setPlainText(text);  // stores again
    descriptionEdit_->moveCursor(QTextCursor::End);
    MessageBox::error(this, kErrorCaption,
                      tr("The characters CR and LF are not allowed !\nThese characters have been "
                         "replaced by the space character."));
}

void CheckerElementsPage::showSelectedEngine() {
    const std::string name = engineCombo_->currentData().toByteArray().toStdString();
    CheckerFile& checker = state().checker;
    if (engineCombo_->currentIndex() >= 0 && checker.findEngine(name) > 0) {
        state().settings.setCurrentEngine(name);
        (void)state().settings.save();
    }
    filling_ = true;
    caseCombo_->setCurrentIndex(checker.caseSensitive(checker.currentEngine()) ? 1 : 0);
    filling_ = false;
    showCheck();
    saveChecker();
}

void CheckerElementsPage::onEngineChosen() {
    storeCheck();
    showSelectedEngine();
}

std::optional<QString> CheckerElementsPage::askEngineName(const QString& initial) {
    QString proposed = initial;
    for (;;) {
        const std::optional<QString> name =
            TextPrompt::ask(this, tr("Enter Search Engine Name"), tr("&Name:"), proposed);
        if (!name) return std::nullopt;
        const std::string bytes = bytesFromText(*name);
        bool taken = false;
        for (int i = 0; i < engineCombo_->count() && !taken; ++i)
            taken = equalsIgnoringAsciiCase(engineCombo_->itemData(i).toByteArray().toStdString(),
                                            bytes);
        if (!taken) return name;
        MessageBox::error(this, QStringLiteral("Error Message - Quorvel"),
                          tr("The name you have typed already exist!\n\nPlease enter a different "
                             "name."));
        proposed = *name;
    }
}

void CheckerElementsPage::addEngine() {
    const std::optional<QString> name = askEngineName({});
    if (!name) return;
    storeCheck();
    const std::string bytes = bytesFromText(*name);
    engineCombo_->addItem(*name, QByteArray::fromStdString(bytes));
    engineCombo_->setCurrentIndex(engineCombo_->count() - 1);
    state().checker.addEngine(bytes);
    showSelectedEngine();
}

void CheckerElementsPage::renameEngine() {
    if (engineCombo_->currentIndex() < 0) return;
    const std::optional<QString> name = askEngineName(engineCombo_->currentText());
    if (!name) return;
    storeCheck();
    const std::string oldName = engineCombo_->currentData().toByteArray().toStdString();
    const std::string newName = bytesFromText(*name);
    const int position = engineCombo_->currentIndex();
    engineCombo_->setItemText(position, *name);
    engineCombo_->setItemData(position, QByteArray::fromStdString(newName));
    (void)state().checker.renameEngine(oldName, newName);
    showSelectedEngine();
}

void CheckerElementsPage::deleteEngine() {
    const int position = engineCombo_->currentIndex();
    if (position < 0) return;
    if (!MessageBox::confirm(this, QStringLiteral("Warning Message"),
                             tr("All options defined for this Search Engine will be Deleted.\n\n"
                                "Are you really sure that you want to delete this Search "
                                "Engine?"))) {
        return;
    }
    state().checker.deleteEngine(engineCombo_->currentData().toByteArray().toStdString());
    engineCombo_->removeItem(position);
    engineCombo_->setCurrentIndex(position > 0 ? position - 1 : 0);
    showSelectedEngine();
}

void CheckerElementsPage::onCaseChosen(int position) {
    CheckerFile& checker = state().checker;
    checker.setCaseSensitive(checker.currentEngine(), position);
    saveChecker();
}

void CheckerElementsPage::saveChecker() {
    if (state().checker.save()) return;
    MessageBox::error(
        this, QStringLiteral("Error Message - Quorvel"),
        tr("The checker file could not be written:\n\n%1").arg(textFromBytes(state().checkerPath)));
}

void CheckerElementsPage::enterPage() {
    filling_ = true;
    const int current =
        engineCombo_->findData(QByteArray::fromStdString(state().settings.currentEngine()));
    engineCombo_->setCurrentIndex(current >= 0 ? current : 0);
    filling_ = false;
    showCheck();
}

bool CheckerElementsPage::leavePage() {
    storeCheck();
    showSelectedEngine();
    return true;
}

}  // namespace quorvel::app
