#pragma once

#include <optional>
#include <string>

#include "app/sheet_page.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListView;
class QPushButton;
class QMenu;

namespace quorvel::app {

class ProjectFilesModel;
enum class ExternalTool;

// The Project page: projects, their folder and home URL, keywords and the
// files to check. Every command writes straight into the user settings and
// saves them; the page keeps nothing beyond what it shows.
class ProjectPage : public SheetPage {
    Q_OBJECT
public:
    explicit ProjectPage(AppState& state, QWidget* parent = nullptr);

signals:
    // The checker file was downloaded anew: pages that show it refill.
    void checkerFileReplaced();

public:
    bool leavePage() override;
    // Refills every control from the settings: the projects, the current
    // project's folder, home URL, files and keywords, the check-file date.
    void enterPage() override;
    QString helpPage() const override { return QStringLiteral("project.html"); }

    // The commands of the page's buttons and menus.
    void newProject();
    void editProject();
    void deleteProject();
    void addKeyword();
    void editKeyword();
    void deleteKeyword();
    void importKeywords();
    void emptyKeywords();
    void chooseFolder();
    void addFiles();
    void deleteFile();
    void emptyFiles();
    void setAllFilesEnabled(bool enabled);
    // Imports a page from a web address into the folder and lists it.
    void importFileFromUrl();
    // Replaces the checker file with the one on the update server.
    void downloadCheckFile();
    // Opens the selected file with a tool; a beep when no file is selected.
    void openSelectedFile(ExternalTool tool);

    ProjectFilesModel* filesModel() const { return filesModel_; }
    // The file list's context menu, built once.
    QMenu* fileMenu() const { return fileMenu_; }

private:
    void buildControls();
    // Makes the selected project current, saves and shows its data.
    void refreshProject();
    void fillKeywords();
    void selectCurrentKeyword();
    // Makes the selected keyword current (or clears it when none is left) and saves.
    void storeSelectedKeyword();
    void onProjectActivated(int index);
    void onKeywordActivated(int index);
    void onFolderEdited(const QString& text);
    void onHomeUrlEdited(const QString& text);
    void storeHomeUrl();
    void save();
    // Asks for a project name until it is new (ignoring case) or cancelled.
    std::optional<QString> askProjectName(const QString& initial);
    int selectedFileRow() const;
    void openHelpPage(const QString& page);

    QComboBox* projectCombo_;
    QComboBox* keywordCombo_;
    QLineEdit* folderEdit_;
    QLineEdit* homeUrlEdit_;
    QListView* fileList_;
    ProjectFilesModel* filesModel_;
    QMenu* fileMenu_;
    QLabel* checkFileDate_;
};

}  // namespace quorvel::app
