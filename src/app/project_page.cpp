#include "app/project_page.h"

#include <QApplication>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

#include "app/app_state.h"
#include "app/external_tools.h"
#include "app/file_dialog.h"
#include "app/help.h"
#include "app/keyword_import.h"
#include "app/message_box.h"
#include "app/project_files_model.h"
#include "app/project_name_dialog.h"
#include "app/text_bytes.h"
#include "app/text_prompt.h"
#include "app/web_commands.h"
#include "platform/dates.h"

namespace quorvel::app {

namespace {

const QString kErrorCaption = QStringLiteral("Error Message - Quorvel");
const QString kConfirmCaption = QStringLiteral("Warning Message");
const QString kNameTaken =
    QStringLiteral("The name you have typed already exist!\n\nPlease enter a different name.");

// The longest value a line of the settings file holds.
constexpr int kMaxValueLength = static_cast<int>(ProfileFile::kMaxValue);
const QString kTooLong = QStringLiteral("The text is too long to be stored in the settings file.");

QByteArray qbytes(const std::string& bytes) {
    return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::string stdBytes(const QVariant& data) {
    const QByteArray bytes = data.toByteArray();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

// Items of the project and keyword selectors show the text and keep the
// stored bytes, so that 8-bit names that are not UTF-8 are written back as
// they were.
void addItem(QComboBox* combo, const std::string& bytes) {
    combo->addItem(textFromBytes(bytes), qbytes(bytes));
}

std::string itemBytes(const QComboBox* combo, int index) {
    return stdBytes(combo->itemData(index));
}

int findItemBytes(const QComboBox* combo, const std::string& bytes) {
    return combo->findData(qbytes(bytes));
}

bool containsIgnoringCase(const QComboBox* combo, const QString& text) {
    for (int i = 0; i < combo->count(); ++i) {
        if (combo->itemText(i).compare(text, Qt::CaseInsensitive) == 0) return true;
    }
    return false;
}

// Sections of the settings file that a project may not share its name with.
bool isReservedProjectName(const QString& name) {
    return name.compare(QLatin1String(kProjectsSection.data(), kProjectsSection.size()),
                        Qt::CaseInsensitive) == 0 ||
           name.compare(QLatin1String(kOptionsSection.data(), kOptionsSection.size()),
                        Qt::CaseInsensitive) == 0;
}

QPushButton* makeButton(const QString& text, const char* name, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(name));
    button->setAccessibleName(QString(text).remove(u'&'));
    button->setAutoDefault(false);
    return button;
}

QLabel* makeLabel(const QString& text, QWidget* buddy, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setBuddy(buddy);
    buddy->setAccessibleName(QString(text).remove(u'&'));
    return label;
}

}  // namespace

ProjectPage::ProjectPage(AppState& state, QWidget* parent) : SheetPage(state, parent) {
    buildControls();
}

void ProjectPage::buildControls() {
    // Project row
    projectCombo_ = new QComboBox(this);
    projectCombo_->setObjectName(QStringLiteral("projectCombo"));
    projectCombo_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    projectCombo_->setMinimumContentsLength(20);
    QLabel* projectLabel = makeLabel(tr("Project:"), projectCombo_, this);
    QPushButton* newProject = makeButton(tr("&New..."), "newProjectButton", this);
    QPushButton* editProject = makeButton(tr("&Edit..."), "editProjectButton", this);
    QPushButton* deleteProject = makeButton(tr("De&lete"), "deleteProjectButton", this);
    auto* projectRow = new QHBoxLayout;
    projectRow->addWidget(projectLabel);
    projectRow->addWidget(projectCombo_, 1);
    projectRow->addWidget(newProject);
    projectRow->addWidget(editProject);
    projectRow->addWidget(deleteProject);

    // Keywords
    auto* keywordGroup = new QGroupBox(tr(" Keyword / Phrase "), this);
    keywordGroup->setObjectName(QStringLiteral("keywordGroup"));
    keywordCombo_ = new QComboBox(keywordGroup);
    keywordCombo_->setObjectName(QStringLiteral("keywordCombo"));
    keywordCombo_->setAccessibleName(tr("Keyword / Phrase"));
    keywordCombo_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    keywordCombo_->setMinimumContentsLength(20);
    QPushButton* addKeyword = makeButton(tr("A&dd..."), "addKeywordButton", keywordGroup);
    QPushButton* editKeyword = makeButton(tr("Ed&it..."), "editKeywordButton", keywordGroup);
    QPushButton* deleteKeyword = makeButton(tr("Delete"), "deleteKeywordButton", keywordGroup);
    QPushButton* importKeywords =
        makeButton(tr("Impo&rt..."), "importKeywordsButton", keywordGroup);
    QPushButton* emptyKeywords = makeButton(tr("Em&pty List"), "emptyKeywordsButton", keywordGroup);
    auto* keywordLayout = new QGridLayout(keywordGroup);
    keywordLayout->addWidget(keywordCombo_, 0, 0, 1, 5);
    keywordLayout->addWidget(addKeyword, 1, 0);
    keywordLayout->addWidget(editKeyword, 1, 1);
    keywordLayout->addWidget(deleteKeyword, 1, 2);
    keywordLayout->addWidget(importKeywords, 1, 3);
    keywordLayout->addWidget(emptyKeywords, 1, 4);

    // Folder and home URL
    folderEdit_ = new QLineEdit(this);
    folderEdit_->setObjectName(QStringLiteral("folderEdit"));
    folderEdit_->setMaxLength(kMaxValueLength);
    QLabel* folderLabel = makeLabel(tr("Project Folder:"), folderEdit_, this);
    QPushButton* folderButton = makeButton(tr(">>"), "folderButton", this);
    folderButton->setAccessibleName(tr("Choose the project folder"));
    folderButton->setMaximumWidth(
        folderButton->fontMetrics().horizontalAdvance(QStringLiteral(">>")) * 3);
    homeUrlEdit_ = new QLineEdit(this);
    homeUrlEdit_->setObjectName(QStringLiteral("homeUrlEdit"));
    homeUrlEdit_->setMaxLength(kMaxValueLength);
    QLabel* homeUrlLabel = makeLabel(tr("Home URL:"), homeUrlEdit_, this);
    auto* pathGrid = new QGridLayout;
    pathGrid->addWidget(folderLabel, 0, 0);
    pathGrid->addWidget(folderEdit_, 0, 1);
    pathGrid->addWidget(folderButton, 0, 2);
    pathGrid->addWidget(homeUrlLabel, 1, 0);
    pathGrid->addWidget(homeUrlEdit_, 1, 1, 1, 2);

    // Files
    auto* filesGroup = new QGroupBox(tr(" Files to Check "), this);
    filesGroup->setObjectName(QStringLiteral("filesGroup"));
    fileList_ = new QListView(filesGroup);
    fileList_->setObjectName(QStringLiteral("fileList"));
    fileList_->setAccessibleName(tr("Files to Check"));
    fileList_->setSelectionMode(QAbstractItemView::SingleSelection);
    fileList_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    fileList_->setContextMenuPolicy(Qt::CustomContextMenu);
    filesModel_ = new ProjectFilesModel(state().settings, this);
    fileList_->setModel(filesModel_);
    QPushButton* addFiles = makeButton(tr("&Add..."), "addFilesButton", filesGroup);
    QPushButton* importFile = makeButton(tr("Imp&ort..."), "importFileButton", filesGroup);
    QPushButton* deleteFile = makeButton(tr("Dele&te"), "deleteFileButton", filesGroup);
    QPushButton* emptyFiles = makeButton(tr("E&mpty List"), "emptyFilesButton", filesGroup);
    QPushButton* uncheckAll = makeButton(tr("&Uncheck all"), "uncheckAllButton", filesGroup);
    QPushButton* checkAll = makeButton(tr("&Check all"), "checkAllButton", filesGroup);
    auto* fileButtons = new QVBoxLayout;
    for (QPushButton* button : {addFiles, importFile, deleteFile, emptyFiles, uncheckAll, checkAll})
        fileButtons->addWidget(button);
    fileButtons->addStretch(1);
    auto* filesLayout = new QHBoxLayout(filesGroup);
    filesLayout->addWidget(fileList_, 1);
    filesLayout->addLayout(fileButtons);

    // Check file and help
    QPushButton* download = makeButton(tr("Do&wnload Check file"), "downloadCheckFileButton", this);
    auto* dateCaption = new QLabel(tr("Check file was updated on:"), this);
    checkFileDate_ = new QLabel(this);
    checkFileDate_->setObjectName(QStringLiteral("checkFileDateLabel"));
    checkFileDate_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* checkFileBox = new QVBoxLayout;
    checkFileBox->addWidget(download, 0, Qt::AlignLeft);
    auto* dateRow = new QHBoxLayout;
    dateRow->addWidget(dateCaption);
    dateRow->addWidget(checkFileDate_, 1);
    checkFileBox->addLayout(dateRow);
    checkFileBox->addStretch(1);

    auto* resources = new QGroupBox(tr(" VEV Online Resources "), this);
    resources->setObjectName(QStringLiteral("resourcesGroup"));
    auto makeLink = [&](const QString& text, const QString& page, const char* name) {
        auto* link = new QLabel(
            QStringLiteral("<a href=\"%1\">%2</a>").arg(page, text.toHtmlEscaped()), resources);
        link->setObjectName(QLatin1String(name));
        link->setAccessibleName(text);
        link->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
        link->setFocusPolicy(Qt::StrongFocus);
        connect(link, &QLabel::linkActivated, this, &ProjectPage::openHelpPage);
        return link;
    };
    QLabel* tutorialLink = makeLink(tr("1. VEV Tutorial download (pdf)"),
                                    QStringLiteral("tutorial.html"), "tutorialLink");
    QLabel* faqLink = makeLink(tr("2. Frequently Asked VEV Questions"),
                               QStringLiteral("confusing-results.html"), "faqLink");
    QPushButton* helpTutorial =
        makeButton(tr("Displa&y The Help Tutorial"), "helpTutorialButton", this);
    auto* resourcesLayout = new QVBoxLayout(resources);
    resourcesLayout->addWidget(tutorialLink);
    resourcesLayout->addWidget(faqLink);
    auto* helpBox = new QVBoxLayout;
    helpBox->addWidget(resources);
    helpBox->addWidget(helpTutorial, 0, Qt::AlignRight);

    auto* bottomRow = new QHBoxLayout;
    bottomRow->addLayout(checkFileBox, 1);
    bottomRow->addLayout(helpBox, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(projectRow);
    layout->addWidget(keywordGroup);
    layout->addLayout(pathGrid);
    layout->addWidget(filesGroup, 1);
    layout->addLayout(bottomRow);

    // The file list's menu
    fileMenu_ = new QMenu(this);
    fileMenu_->setObjectName(QStringLiteral("fileMenu"));
    const struct {
        const char* text;
        const char* name;
        ExternalTool tool;
    } openCommands[] = {
        {"Open File In Browser", "openInBrowserAction", ExternalTool::Open},
        {"Open File In HTML Editor", "openInHtmlEditorAction", ExternalTool::Edit},
        {"Open File In Text Editor", "openInTextEditorAction", ExternalTool::EditText},
        {"Open File In User Tool 1", "openInUserTool1Action", ExternalTool::User1},
        {"Open File In User Tool 2", "openInUserTool2Action", ExternalTool::User2},
    };
    for (const auto& command : openCommands) {
        QAction* action = fileMenu_->addAction(tr(command.text));
        action->setObjectName(QLatin1String(command.name));
        const ExternalTool tool = command.tool;
        connect(action, &QAction::triggered, this, [this, tool] { openSelectedFile(tool); });
    }
    fileMenu_->addSeparator();
    QAction* checkAllAction = fileMenu_->addAction(tr("Check all listed files"));
    checkAllAction->setObjectName(QStringLiteral("checkAllAction"));
    QAction* uncheckAllAction = fileMenu_->addAction(tr("Uncheck all listed files"));
    uncheckAllAction->setObjectName(QStringLiteral("uncheckAllAction"));

    // Tab order follows the reading order of the page.
    QWidget* order[] = {projectCombo_, newProject,   editProject,   deleteProject,  keywordCombo_,
                        addKeyword,    editKeyword,  deleteKeyword, importKeywords, emptyKeywords,
                        folderEdit_,   folderButton, homeUrlEdit_,  fileList_,      addFiles,
                        importFile,    deleteFile,   emptyFiles,    uncheckAll,     checkAll,
                        download,      tutorialLink, faqLink,       helpTutorial};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    connect(projectCombo_, &QComboBox::activated, this, &ProjectPage::onProjectActivated);
    connect(newProject, &QPushButton::clicked, this, &ProjectPage::newProject);
    connect(editProject, &QPushButton::clicked, this, &ProjectPage::editProject);
    connect(deleteProject, &QPushButton::clicked, this, &ProjectPage::deleteProject);
    connect(keywordCombo_, &QComboBox::activated, this, &ProjectPage::onKeywordActivated);
    connect(addKeyword, &QPushButton::clicked, this, &ProjectPage::addKeyword);
    connect(editKeyword, &QPushButton::clicked, this, &ProjectPage::editKeyword);
    connect(deleteKeyword, &QPushButton::clicked, this, &ProjectPage::deleteKeyword);
    connect(importKeywords, &QPushButton::clicked, this, &ProjectPage::importKeywords);
    connect(emptyKeywords, &QPushButton::clicked, this, &ProjectPage::emptyKeywords);
    connect(folderEdit_, &QLineEdit::textEdited, this, &ProjectPage::onFolderEdited);
    connect(folderButton, &QPushButton::clicked, this, &ProjectPage::chooseFolder);
    connect(homeUrlEdit_, &QLineEdit::textEdited, this, &ProjectPage::onHomeUrlEdited);
    connect(addFiles, &QPushButton::clicked, this, &ProjectPage::addFiles);
    connect(deleteFile, &QPushButton::clicked, this, &ProjectPage::deleteFile);
    connect(emptyFiles, &QPushButton::clicked, this, &ProjectPage::emptyFiles);
    connect(importFile, &QPushButton::clicked, this, &ProjectPage::importFileFromUrl);
    connect(download, &QPushButton::clicked, this, &ProjectPage::downloadCheckFile);
    connect(checkAll, &QPushButton::clicked, this, [this] { setAllFilesEnabled(true); });
    connect(uncheckAll, &QPushButton::clicked, this, [this] { setAllFilesEnabled(false); });
    connect(checkAllAction, &QAction::triggered, this, [this] { setAllFilesEnabled(true); });
    connect(uncheckAllAction, &QAction::triggered, this, [this] { setAllFilesEnabled(false); });
    connect(filesModel_, &ProjectFilesModel::fileEnabledChanged, this, &ProjectPage::save);
    connect(fileList_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { fileMenu_->popup(fileList_->viewport()->mapToGlobal(at)); });
    connect(helpTutorial, &QPushButton::clicked, this,
            [this] { openHelpPage(QStringLiteral("tutorial.html")); });
}

// ---------------------------------------------------------------------------
// Page events

bool ProjectPage::leavePage() {
    storeHomeUrl();
    save();
    return true;
}

void ProjectPage::enterPage() {
    UserSettings& settings = state().settings;
    checkFileDate_->setText(textFromBytes(state().checker.checkFileDate(localeDateOrder())));
    projectCombo_->clear();
    for (int n = 1; n <= settings.projectCount(); ++n)
        addItem(projectCombo_, settings.projectName(n));
    const int current = findItemBytes(projectCombo_, settings.currentProject());
    projectCombo_->setCurrentIndex(current >= 0 ? current : 0);
    refreshProject();
}

void ProjectPage::refreshProject() {
    UserSettings& settings = state().settings;
    if (projectCombo_->currentIndex() >= 0)
        settings.setCurrentProject(itemBytes(projectCombo_, projectCombo_->currentIndex()));
    save();
    folderEdit_->setText(textFromBytes(settings.folder()));
    homeUrlEdit_->setText(textFromBytes(settings.homeUrl()));
    filesModel_->reload();
    fillKeywords();
}

void ProjectPage::fillKeywords() {
    const UserSettings& settings = state().settings;
    keywordCombo_->clear();
    for (int n = 1; n <= settings.keywordCount(); ++n)
        addItem(keywordCombo_, settings.keyword(n));
    selectCurrentKeyword();
}

void ProjectPage::selectCurrentKeyword() {
    const int current = findItemBytes(keywordCombo_, state().settings.currentKeyword());
    keywordCombo_->setCurrentIndex(current >= 0 ? current : (keywordCombo_->count() > 0 ? 0 : -1));
}

void ProjectPage::storeSelectedKeyword() {
    UserSettings& settings = state().settings;
    const int index = keywordCombo_->currentIndex();
    // With no keyword left, a deleted keyword must not stay current.
    if (index < 0)
        settings.clearCurrentKeyword();
    else
        settings.setCurrentKeyword(itemBytes(keywordCombo_, index));
    save();
}

void ProjectPage::save() {
    (void)state().settings.save();
}

// ---------------------------------------------------------------------------
// Projects

std::optional<QString> ProjectPage::askProjectName(const QString& initial) {
    QString proposed = initial;
    for (;;) {
        std::optional<QString> name = ProjectNameDialog::ask(this, proposed);
        // Blanks around a name would not survive a reload of the settings file.
        if (!name || name->trimmed().isEmpty()) return std::nullopt;
        *name = name->trimmed();
        if (!containsIgnoringCase(projectCombo_, *name) && !isReservedProjectName(*name))
            return name;
        MessageBox::error(this, kErrorCaption, kNameTaken);
        proposed = *name;
    }
}

void ProjectPage::newProject() {
    const std::optional<QString> name = askProjectName({});
    if (!name) return;
    const std::string bytes = bytesFromText(*name);
    addItem(projectCombo_, bytes);
    projectCombo_->setCurrentIndex(projectCombo_->count() - 1);
    state().settings.addProject(bytes);
    refreshProject();
}

void ProjectPage::editProject() {
    const int index = projectCombo_->currentIndex();
    if (index < 0) return;
    const std::string oldBytes = itemBytes(projectCombo_, index);
    const std::optional<QString> name = askProjectName(projectCombo_->itemText(index));
    if (!name) return;
    const std::string bytes = bytesFromText(*name);
    projectCombo_->setItemText(index, *name);
    projectCombo_->setItemData(index, qbytes(bytes));
    state().settings.renameProject(oldBytes, bytes);
    refreshProject();
}

void ProjectPage::deleteProject() {
    const int index = projectCombo_->currentIndex();
    if (index < 0) return;
    if (projectCombo_->count() <= 1) {
        MessageBox::error(
            this, kErrorCaption,
            tr("Cannot delete this project:\n\nAt least one project need to be defined !"));
        return;
    }
    if (!MessageBox::confirm(this, kConfirmCaption,
                             tr("All options defined for this Project will be Deleted.\n\nAre you "
                                "really sure that you want to delete this Project?")))
        return;
    state().settings.deleteProject(itemBytes(projectCombo_, index));
    projectCombo_->removeItem(index);
    projectCombo_->setCurrentIndex(index > 0 ? index - 1 : 0);
    refreshProject();
}

void ProjectPage::onProjectActivated(int) {
    refreshProject();
}

// ---------------------------------------------------------------------------
// Keywords

void ProjectPage::addKeyword() {
    QString proposed;
    for (;;) {
        const std::optional<QString> text =
            TextPrompt::ask(this, tr("Enter Keyword / Phrase"), tr("Name:"), proposed);
        if (!text || text->trimmed().isEmpty()) return;
        const std::string bytes = bytesFromText(text->trimmed());
        if (findItemBytes(keywordCombo_, bytes) < 0) {
            addItem(keywordCombo_, bytes);
            keywordCombo_->setCurrentIndex(keywordCombo_->count() - 1);
            state().settings.addKeyword(bytes);
            storeSelectedKeyword();
            return;
        }
        MessageBox::error(this, kErrorCaption, kNameTaken);
        proposed = text->trimmed();
    }
}

void ProjectPage::editKeyword() {
    const int index = keywordCombo_->currentIndex();
    if (index < 0) return;
    const std::string oldBytes = itemBytes(keywordCombo_, index);
    const std::optional<QString> text = TextPrompt::ask(
        this, tr("Change Keyword / Phrase"), tr("Name:"), keywordCombo_->itemText(index));
    if (!text || text->trimmed().isEmpty()) return;
    const std::string bytes = bytesFromText(text->trimmed(), oldBytes);
    keywordCombo_->setItemText(index, textFromBytes(bytes));
    keywordCombo_->setItemData(index, qbytes(bytes));
    state().settings.replaceKeyword(oldBytes, bytes);
    storeSelectedKeyword();
}

void ProjectPage::deleteKeyword() {
    const int index = keywordCombo_->currentIndex();
    if (index < 0) return;
    state().settings.removeKeyword(itemBytes(keywordCombo_, index));
    keywordCombo_->removeItem(index);
    keywordCombo_->setCurrentIndex(keywordCombo_->count() == 0 ? -1 : (index > 0 ? index - 1 : 0));
    storeSelectedKeyword();
}

void ProjectPage::emptyKeywords() {
    if (!MessageBox::confirm(this, kConfirmCaption,
                             tr("All keywords / Phrases defined for this Project will be "
                                "Deleted.\n\nAre you really sure you want to delete all Keywords / "
                                "Phrases?")))
        return;
    UserSettings& settings = state().settings;
    keywordCombo_->clear();
    for (int n = settings.keywordCount(); n >= 1; --n)
        settings.removeKeywordAt(n);
    settings.clearCurrentKeyword();
    save();
}

void ProjectPage::importKeywords() {
    const UserSettings& settings = state().settings;
    const QString folder = textFromBytes(settings.folder());
    const QString proposed =
        QDir(folder.isEmpty() ? QDir::currentPath() : folder)
            .filePath(QStringLiteral("Quorvel-") + textFromBytes(settings.currentProject()) +
                      QStringLiteral(".txt"));
    const QString fileName = FileDialog::openFileName(this, tr("Import Keywords / Phrases"),
                                                      proposed, tr("Text Files (*.txt)"));
    if (fileName.isEmpty()) return;
    QFile file(fileName);
    // A file that cannot be read adds nothing.
    if (!file.open(QIODevice::ReadOnly)) return;
    const QByteArray content = file.readAll();
    for (const std::string& keyword : keywordLines(
             std::string_view(content.constData(), static_cast<std::size_t>(content.size())))) {
        if (findItemBytes(keywordCombo_, keyword) >= 0) continue;
        addItem(keywordCombo_, keyword);
        keywordCombo_->setCurrentIndex(keywordCombo_->count() - 1);
        state().settings.addKeyword(keyword);
    }
    storeSelectedKeyword();
}

void ProjectPage::onKeywordActivated(int) {
    storeSelectedKeyword();
}

// ---------------------------------------------------------------------------
// Folder and home URL

void ProjectPage::chooseFolder() {
    const QString start = folderEdit_->text().isEmpty() ? QDir::currentPath() : folderEdit_->text();
    const QString chosen = FileDialog::existingFolder(this, tr("Choose the Project Folder"), start);
    if (chosen.isEmpty()) return;
    folderEdit_->setText(chosen);
    if (!state().settings.setFolder(QFile::encodeName(chosen).toStdString()))
        MessageBox::error(this, kErrorCaption, kTooLong);
    save();
}

void ProjectPage::onFolderEdited(const QString& text) {
    UserSettings& settings = state().settings;
    if (!settings.setFolder(bytesFromText(text, settings.folder())))
        MessageBox::error(this, kErrorCaption, kTooLong);
    save();
}

void ProjectPage::onHomeUrlEdited(const QString&) {
    storeHomeUrl();
    save();
}

void ProjectPage::storeHomeUrl() {
    UserSettings& settings = state().settings;
    if (!settings.setHomeUrl(bytesFromText(homeUrlEdit_->text(), settings.homeUrl())))
        MessageBox::error(this, kErrorCaption, kTooLong);
}

// ---------------------------------------------------------------------------
// Files

void ProjectPage::addFiles() {
    UserSettings& settings = state().settings;
    QString folder = textFromBytes(settings.folder());
    if (!folder.isEmpty() && !folder.endsWith(u'/')) folder += u'/';
    const QStringList chosen = FileDialog::openFileNames(
        this, tr("Add Files"), folder,
        tr("Html Files (*.htm *.html *.shtm *.shtml);;"
           "Asp Files (*.asp *.jsp *.cfm *.cfml *.php *.php3);;All Files (*)"));
    if (chosen.isEmpty()) return;
    for (const QString& path : chosen) {
        const std::string name = settings.relativeFileName(QFile::encodeName(path).toStdString());
        const QString shown = textFromBytes(name);
        bool listed = false;
        for (int row = 0; row < filesModel_->rowCount() && !listed; ++row)
            listed =
                textFromBytes(filesModel_->fileName(row)).compare(shown, Qt::CaseInsensitive) == 0;
        if (listed) {
            MessageBox::error(this, kErrorCaption, tr("\nThe selected file is already listed!\n"));
            continue;
        }
        filesModel_->append(name);
    }
    save();
}

int ProjectPage::selectedFileRow() const {
    const QModelIndex index = fileList_->currentIndex();
    return index.isValid() && fileList_->selectionModel()->isSelected(index) ? index.row() : -1;
}

void ProjectPage::deleteFile() {
    const int row = selectedFileRow();
    if (row < 0) return;
    if (!state().settings.removeFile(filesModel_->fileName(row))) {
        MessageBox::error(this, kErrorCaption,
                          tr("Unable to delete the specified file: please contact support!"));
        return;
    }
    save();
    filesModel_->reload();
    if (filesModel_->rowCount() > 0)
        fileList_->setCurrentIndex(filesModel_->index(row > 0 ? row - 1 : 0));
}

void ProjectPage::emptyFiles() {
    if (!MessageBox::confirm(this, kConfirmCaption,
                             tr("All Files defined for this Project will be Deleted.\n\nAre you "
                                "really sure you want to delete all Files?")))
        return;
    UserSettings& settings = state().settings;
    for (int n = settings.fileCount(); n >= 1; --n)
        settings.removeFileAt(n);
    save();
    filesModel_->reload();
}

void ProjectPage::setAllFilesEnabled(bool enabled) {
    filesModel_->setAllEnabled(enabled);
    save();
}

void ProjectPage::importFileFromUrl() {
    if (!importFromUrl(this, state())) return;
    filesModel_->reload();
    fileList_->setCurrentIndex(filesModel_->index(filesModel_->rowCount() - 1));
}

void ProjectPage::downloadCheckFile() {
    if (!updateCheckerFromServer(this, state())) return;
    // The checker file may have been replaced: every reader takes it anew.
    (void)state().checker.reload();
    emit checkerFileReplaced();
    const QString previousDate = checkFileDate_->text();
    enterPage();
    if (checkFileDate_->text().isEmpty()) checkFileDate_->setText(previousDate);
}

void ProjectPage::openSelectedFile(ExternalTool tool) {
    const int row = selectedFileRow();
    if (row < 0) {
        QApplication::beep();
        return;
    }
    const std::string path = state().settings.resolveFilePath(filesModel_->fileName(row));
    openWithTool(this, state().settings, tool, QFile::decodeName(QByteArray::fromStdString(path)));
}

// ---------------------------------------------------------------------------
// Help

void ProjectPage::openHelpPage(const QString& page) {
    showHelp(this, page);
}

}  // namespace quorvel::app
