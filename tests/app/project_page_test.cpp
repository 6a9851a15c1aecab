#include "app/project_page.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QComboBox>
#include <QDesktopServices>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "app/app_state.h"
#include "app/external_tools.h"
#include "app/file_dialog.h"
#include "app/help.h"
#include "app/keyword_import.h"
#include "app/message_box.h"
#include "app/project_files_model.h"
#include "app/project_name_dialog.h"
#include "app/text_prompt.h"
#include "app/tooltips.h"
#include "app/web_dialogs.h"
#include "argument_recorder.h"

using namespace quorvel;
using namespace quorvel::app;

namespace {

const QString kTaken =
    QStringLiteral("The name you have typed already exist!\n\nPlease enter a different name.");

// A settings file in a temporary folder and a Project page over it.
struct Fixture {
    QTemporaryDir dir;
    AppState state;
    std::unique_ptr<ProjectPage> page;

    explicit Fixture(const QByteArray& settingsText = {}) {
        if (!settingsText.isEmpty()) {
            QFile file(settingsPath());
            file.open(QIODevice::WriteOnly);
            file.write(settingsText);
        }
        state.settings.open(settingsPath().toStdString());
        page = std::make_unique<ProjectPage>(state);
        page->enterPage();
    }
    QString settingsPath() const { return dir.path() + "/Quorvel.hc"; }
    // What is saved on disk now.
    QByteArray saved() const {
        QFile file(settingsPath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    template <typename T>
    T* find(const char* name) const {
        return page->findChild<T*>(QLatin1String(name));
    }
    QComboBox* projects() const { return find<QComboBox>("projectCombo"); }
    QComboBox* keywords() const { return find<QComboBox>("keywordCombo"); }
    QListView* fileList() const { return find<QListView>("fileList"); }
    void click(const char* button) const { find<QPushButton>(button)->click(); }
    QStringList items(QComboBox* combo) const {
        QStringList texts;
        for (int i = 0; i < combo->count(); ++i)
            texts << combo->itemText(i);
        return texts;
    }
    QStringList files() const {
        QStringList names;
        for (int row = 0; row < page->filesModel()->rowCount(); ++row) {
            const QModelIndex index = page->filesModel()->index(row);
            names << (index.data(Qt::CheckStateRole).toInt() == Qt::Checked ? "" : "*") +
                         index.data().toString();
        }
        return names;
    }
    void selectFile(int row) const { fileList()->setCurrentIndex(page->filesModel()->index(row)); }
};

QStringList texts(const QList<MessageBox::Shown>& shown) {
    QStringList list;
    for (const MessageBox::Shown& box : shown)
        list << box.caption + "|" + box.text;
    return list;
}

}  // namespace

// Receives what QDesktopServices would hand to the desktop.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl& url) { urls << url; }
};

class ProjectPageTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        MessageBox::setNextAnswer(QMessageBox::Yes);
        FileDialog::clearTestMode();
        ProjectNameDialog::clearTestMode();
        TextPrompt::clearTestMode();
    }
    void cleanup() {
        MessageBox::clearTestMode();
        FileDialog::clearTestMode();
        ProjectNameDialog::clearTestMode();
        TextPrompt::clearTestMode();
    }

    void fileModelPassesTheModelTester() {
        Fixture f(
            "[Projects]\r\nCount=1\r\nItem1=P\r\nCurrent=P\r\n[P]\r\nFileCount=2\r\n"
            "File1=a.html\r\nFile2=*b.html\r\n");
        ProjectFilesModel model(f.state.settings);
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        QCOMPARE(model.rowCount(), 2);
        model.append("c.html");
        model.setAllEnabled(false);
        QVERIFY(model.setData(model.index(0), Qt::Checked, Qt::CheckStateRole));
        model.reload();
        QCOMPARE(f.state.settings.fileCount(), 3);
        QCOMPARE(f.state.settings.profile().getString("P", "File1"), std::string("a.html"));
        QCOMPARE(f.state.settings.profile().getString("P", "File3"), std::string("*c.html"));
    }

    void projectNameDialogReplacesInvalidCharacters_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("messages");
        QTest::newRow("slash and colon") << "a/b:d"
                                         << "a-b-d" << 1;
        QTest::newRow("backslash") << "x\\y"
                                   << "x-y" << 1;
        QTest::newRow("valid") << "my site"
                               << "my site" << 0;
    }
    void projectNameDialogReplacesInvalidCharacters() {
        QFETCH(QString, typed);
        QFETCH(QString, name);
        QFETCH(int, messages);
        ProjectNameDialog dialog(nullptr, {});
        QTest::keyClicks(dialog.findChild<QLineEdit*>("nameEdit"), typed);
        QCOMPARE(dialog.name(), name);
        const auto shown = MessageBox::takeShown();
        // Typing shows the message once per invalid character typed.
        QCOMPARE(shown.size(), messages * int(typed.count(QRegularExpression("[\\\\/:]"))));
        for (const auto& box : shown) {
            QCOMPARE(box.caption, QString("Quorvel Error Message"));
            QVERIFY(box.text.startsWith("You have typed an invalid character for a Project name!"));
        }
    }

    void newProject_data() {
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<QStringList>("projects");
        QTest::addColumn<QString>("current");
        QTest::addColumn<int>("refusals");
        QTest::newRow("new name") << QStringList{"Site"} << QStringList{"Default", "Site"} << "Site"
                                  << 0;
        QTest::newRow("other letter case refused, then a new one")
            << QStringList{"DEFAULT", "Second"} << QStringList{"Default", "Second"} << "Second"
            << 1;
        QTest::newRow("settings sections refused") << QStringList{"options", "Projects", "Mine"}
                                                   << QStringList{"Default", "Mine"} << "Mine" << 2;
        QTest::newRow("invalid characters replaced")
            << QStringList{"a/b:d"} << QStringList{"Default", "a-b-d"} << "a-b-d" << 0;
        QTest::newRow("blanks around dropped")
            << QStringList{"  spaced  "} << QStringList{"Default", "spaced"} << "spaced" << 0;
        QTest::newRow("empty is a cancel")
            << QStringList{""} << QStringList{"Default"} << "Default" << 0;
    }
    void newProject() {
        QFETCH(QStringList, answers);
        QFETCH(QStringList, projects);
        QFETCH(QString, current);
        QFETCH(int, refusals);
        Fixture f;
        for (const QString& answer : answers)
            ProjectNameDialog::setNextAnswer(answer);
        f.click("newProjectButton");
        QCOMPARE(f.items(f.projects()), projects);
        QCOMPARE(f.projects()->currentText(), current);
        QCOMPARE(QString::fromStdString(f.state.settings.currentProject()), current);
        QVERIFY(f.saved().contains("Current=" + current.toUtf8() + "\r\n"));
        const QStringList boxes = texts(MessageBox::takeShown()).filter(kTaken);
        QCOMPARE(boxes.size(), refusals);
    }

    void editProjectRenamesSectionAndRefusesUnchangedName() {
        Fixture f(
            "[Projects]\r\nCount=2\r\nItem1=A\r\nItem2=B\r\nCurrent=A\r\n"
            "[A]\r\nKeyCount=1\r\nKey1=kw\r\nCurrentKey=kw\r\n");
        ProjectNameDialog::setNextAnswer("A");  // unchanged: taken
        ProjectNameDialog::setNextAnswer("b");  // another project in other case: taken
        ProjectNameDialog::setNextAnswer("Renamed");
        f.click("editProjectButton");
        QCOMPARE(ProjectNameDialog::takeShown(), QStringList({"A", "A", "b"}));
        QCOMPARE(texts(MessageBox::takeShown()).filter(kTaken).size(), 2);
        QCOMPARE(f.items(f.projects()), QStringList({"Renamed", "B"}));
        QCOMPARE(f.state.settings.currentProject(), std::string("Renamed"));
        QCOMPARE(f.items(f.keywords()), QStringList{"kw"});
        const QByteArray saved = f.saved();
        QVERIFY(saved.contains("[Renamed]\r\n"));
        QVERIFY(!saved.contains("[A]"));
        QVERIFY(saved.contains("Current=Renamed\r\n"));
    }

    void deleteProject_data() {
        QTest::addColumn<QByteArray>("settings");
        QTest::addColumn<int>("select");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QStringList>("projects");
        QTest::addColumn<QString>("current");
        QTest::addColumn<QString>("message");
        const QByteArray two =
            "[Projects]\r\nCount=2\r\nItem1=A\r\nItem2=B\r\nCurrent=A\r\n"
            "[A]\r\nFolder=/a\r\n[B]\r\nFolder=/b\r\n";
        QTest::newRow("first: the new first becomes current")
            << two << 0 << int(QMessageBox::Yes) << QStringList{"B"} << "B"
            << "All options defined for this Project will be Deleted.\n\nAre you really sure that "
               "you want to delete this Project?";
        QTest::newRow("second: the previous becomes current")
            << two << 1 << int(QMessageBox::Yes) << QStringList{"A"} << "A"
            << "All options defined for this Project will be Deleted.\n\nAre you really sure that "
               "you want to delete this Project?";
        QTest::newRow("not confirmed")
            << two << 1 << int(QMessageBox::No) << QStringList{"A", "B"} << "B"
            << "All options defined for this Project will be "
               "Deleted.\n\nAre you really sure that you want to "
               "delete this Project?";
        QTest::newRow("the last project stays")
            << QByteArray() << 0 << int(QMessageBox::Yes) << QStringList{"Default"} << "Default"
            << "Cannot delete this project:\n\nAt least one project need to be defined !";
    }
    void deleteProject() {
        QFETCH(QByteArray, settings);
        QFETCH(int, select);
        QFETCH(int, answer);
        QFETCH(QStringList, projects);
        QFETCH(QString, current);
        QFETCH(QString, message);
        Fixture f(settings);
        f.projects()->setCurrentIndex(select);
        emit f.projects()->activated(select);
        MessageBox::setNextAnswer(static_cast<QMessageBox::StandardButton>(answer));
        f.click("deleteProjectButton");
        QCOMPARE(f.items(f.projects()), projects);
        QCOMPARE(QString::fromStdString(f.state.settings.currentProject()), current);
        QCOMPARE(f.find<QLineEdit>("folderEdit")->text(),
                 QString::fromStdString(f.state.settings.folder()));
        const auto shown = MessageBox::takeShown();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].text, message);
        for (const QString& gone : QStringList{"A", "B"}) {
            if (!projects.contains(gone) && !settings.isEmpty())
                QVERIFY(!f.saved().contains("[" + gone.toUtf8() + "]"));
        }
    }

    void keywordCommands() {
        Fixture f;
        // Add: exact duplicates are refused, other letter case is allowed.
        TextPrompt::setNextAnswer("Apple");
        f.click("addKeywordButton");
        TextPrompt::setNextAnswer("Apple");
        TextPrompt::setNextAnswer("apple");
        f.click("addKeywordButton");
        QCOMPARE(texts(MessageBox::takeShown()), QStringList{"Error Message - Quorvel|" + kTaken});
        QCOMPARE(TextPrompt::takeShown(),
                 QStringList({"Enter Keyword / Phrase|Name:|", "Enter Keyword / Phrase|Name:|",
                              "Enter Keyword / Phrase|Name:|Apple"}));
        QCOMPARE(f.items(f.keywords()), QStringList({"Apple", "apple"}));
        QCOMPARE(f.state.settings.currentKeyword(), std::string("apple"));
        QVERIFY(f.saved().contains("CurrentKey=apple\r\n"));

        // Edit replaces the selected keyword and keeps it current.
        TextPrompt::setNextAnswer("green apple");
        f.click("editKeywordButton");
        QCOMPARE(TextPrompt::takeShown(), QStringList{"Change Keyword / Phrase|Name:|apple"});
        QCOMPARE(f.items(f.keywords()), QStringList({"Apple", "green apple"}));
        QVERIFY(f.saved().contains("Key2=green apple\r\n"));
        QVERIFY(f.saved().contains("CurrentKey=green apple\r\n"));

        // Choosing another keyword makes it current.
        f.keywords()->setCurrentIndex(0);
        emit f.keywords()->activated(0);
        QVERIFY(f.saved().contains("CurrentKey=Apple\r\n"));

        // Delete selects the previous one; deleting the last leaves none current.
        f.click("deleteKeywordButton");
        QCOMPARE(f.items(f.keywords()), QStringList{"green apple"});
        QCOMPARE(f.state.settings.currentKeyword(), std::string("green apple"));
        f.click("deleteKeywordButton");
        QVERIFY(f.items(f.keywords()).isEmpty());
        QCOMPARE(f.state.settings.currentKeyword(), std::string());
        QVERIFY(!f.saved().contains("CurrentKey=green"));
    }

    void emptyKeywordsAsksFirst_data() {
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("left");
        QTest::newRow("yes") << int(QMessageBox::Yes) << 0;
        QTest::newRow("no") << int(QMessageBox::No) << 2;
    }
    void emptyKeywordsAsksFirst() {
        QFETCH(int, answer);
        QFETCH(int, left);
        Fixture f(
            "[Projects]\r\nCount=1\r\nItem1=P\r\nCurrent=P\r\n[P]\r\nKeyCount=2\r\n"
            "Key1=a\r\nKey2=b\r\nCurrentKey=b\r\n");
        MessageBox::setNextAnswer(static_cast<QMessageBox::StandardButton>(answer));
        f.click("emptyKeywordsButton");
        QCOMPARE(f.keywords()->count(), left);
        QCOMPARE(f.state.settings.keywordCount(), left);
        QCOMPARE(f.state.settings.currentKeyword().empty(), left == 0);
        const auto shown = MessageBox::takeShown();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].caption, QString("Warning Message"));
    }

    void keywordLinesOfAFile_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QStringList>("keywords");
        QTest::newRow("CR LF") << QByteArray("one\r\ntwo words\r\n")
                               << QStringList{"one", "two words"};
        QTest::newRow("LF, no final line end")
            << QByteArray("one\ntwo") << QStringList{"one", "two"};
        QTest::newRow("blank lines")
            << QByteArray("\r\none\r\n\r\n  \t\r\n\ntwo\n\n") << QStringList{"one", "two"};
        QTest::newRow("blanks around") << QByteArray("  one \t\r\n") << QStringList{"one"};
        QTest::newRow("byte order mark")
            << QByteArray("\xEF\xBB\xBFone\ntwo\n") << QStringList{"one", "two"};
        QTest::newRow("repeats kept for the caller")
            << QByteArray("a\na\n") << QStringList{"a", "a"};
        QTest::newRow("long line stays whole")
            << QByteArray(600, 'x') << QStringList{QString(600, 'x')};
        QTest::newRow("empty") << QByteArray() << QStringList{};
    }
    void keywordLinesOfAFile() {
        QFETCH(QByteArray, content);
        QFETCH(QStringList, keywords);
        QStringList got;
        for (const std::string& line : keywordLines(content.toStdString()))
            got << QString::fromStdString(line);
        QCOMPARE(got, keywords);
    }

    void importKeywordsSkipsListedOnes() {
        Fixture f(
            "[Projects]\r\nCount=1\r\nItem1=Shop\r\nCurrent=Shop\r\n[Shop]\r\nFolder=/x\r\n"
            "KeyCount=1\r\nKey1=two\r\nCurrentKey=two\r\n");
        const QString path = f.dir.path() + "/words.txt";
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("one\r\n\r\ntwo\nthree\n one\n\xE9t\xE9\n");
        file.close();
        FileDialog::setNextResult({path});
        f.click("importKeywordsButton");
        QCOMPARE(f.items(f.keywords()),
                 QStringList({"two", "one", "three", QString::fromLatin1("\xE9t\xE9")}));
        QCOMPARE(f.keywords()->currentIndex(), 3);
        // The last one added is current, its 8-bit bytes unchanged.
        QVERIFY(f.saved().contains("Key4=\xE9t\xE9\r\n"));
        QVERIFY(f.saved().contains("CurrentKey=\xE9t\xE9\r\n"));
        QCOMPARE(FileDialog::takeShownCaptions(), QStringList{"Import Keywords / Phrases"});

        // A file that cannot be read changes nothing.
        FileDialog::setNextResult({f.dir.path() + "/missing.txt"});
        f.click("importKeywordsButton");
        QCOMPARE(f.keywords()->count(), 4);
        QVERIFY(MessageBox::takeShown().isEmpty());
    }

    void addFiles_data() {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QStringList>("chosen");
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<int>("refused");
        QTest::newRow("inside the folder")
            << "/site" << QStringList{"/site/b.html", "/site/sub/c.htm"}
            << QStringList{"a.html", "b.html", "sub/c.htm"} << 0;
        QTest::newRow("folder with a trailing slash")
            << "/site/" << QStringList{"/site/b.html"} << QStringList{"a.html", "b.html"} << 0;
        QTest::newRow("outside the folder") << "/site" << QStringList{"/other/b.html"}
                                            << QStringList{"a.html", "/other/b.html"} << 0;
        QTest::newRow("a folder that only starts the same")
            << "/site" << QStringList{"/site2/b.html"} << QStringList{"a.html", "/site2/b.html"}
            << 0;
        QTest::newRow("other letter case refused, the rest added")
            << "/site" << QStringList{"/site/A.HTML", "/site/a.htm"}
            << QStringList{"a.html", "a.htm"} << 1;
        QTest::newRow("a disabled file counts too")
            << "/site" << QStringList{"/site/x.html"} << QStringList{"a.html", "*x.html"} << 1;
        QTest::newRow("the same file twice in one choice")
            << "/site" << QStringList{"/site/n.html", "/site/n.html"}
            << QStringList{"a.html", "n.html"} << 1;
        QTest::newRow("cancelled") << "/site" << QStringList{} << QStringList{"a.html"} << 0;
    }
    void addFiles() {
        QFETCH(QString, folder);
        QFETCH(QStringList, chosen);
        QFETCH(QStringList, files);
        QFETCH(int, refused);
        const bool disabledX = files.contains("*x.html");
        Fixture f("[Projects]\r\nCount=1\r\nItem1=P\r\nCurrent=P\r\n[P]\r\nFolder=" +
                  folder.toUtf8() + "\r\nFileCount=" + (disabledX ? "2" : "1") +
                  "\r\nFile1=a.html\r\n" + (disabledX ? "File2=*x.html\r\n" : ""));
        FileDialog::setNextResult(chosen);
        f.click("addFilesButton");
        QCOMPARE(f.files(), files);
        const auto shown = MessageBox::takeShown();
        QCOMPARE(shown.size(), refused);
        for (const auto& box : shown) {
            QCOMPARE(box.icon, QMessageBox::Critical);
            QCOMPARE(box.caption, QString("Error Message - Quorvel"));
            QCOMPARE(box.text, QString("\nThe selected file is already listed!\n"));
        }
        QCOMPARE(f.saved().count("File"), files.size() + 1);
    }

    void fileCommands() {
        Fixture f(
            "[Projects]\r\nCount=1\r\nItem1=P\r\nCurrent=P\r\n[P]\r\nFileCount=3\r\n"
            "File1=a.html\r\nFile2=*b.html\r\nFile3=c.html\r\n");
        QCOMPARE(f.files(), QStringList({"a.html", "*b.html", "c.html"}));

        // One box: stored and saved at once.
        QVERIFY(f.page->filesModel()->setData(f.page->filesModel()->index(1), Qt::Checked,
                                              Qt::CheckStateRole));
        QVERIFY(f.saved().contains("File2=b.html\r\n"));
        f.click("uncheckAllButton");
        QCOMPARE(f.files(), QStringList({"*a.html", "*b.html", "*c.html"}));
        QVERIFY(f.saved().contains("File1=*a.html\r\nFile2=*b.html\r\nFile3=*c.html\r\n"));
        f.page->fileMenu()->findChild<QAction*>("checkAllAction")->trigger();
        QCOMPARE(f.files(), QStringList({"a.html", "b.html", "c.html"}));
        f.page->fileMenu()->findChild<QAction*>("uncheckAllAction")->trigger();
        QCOMPARE(f.files(), QStringList({"*a.html", "*b.html", "*c.html"}));
        f.click("checkAllButton");

        // Delete without a selection does nothing; with one, the previous
        // entry is selected afterwards.
        f.click("deleteFileButton");
        QCOMPARE(f.files().size(), 3);
        f.selectFile(1);
        f.click("deleteFileButton");
        QCOMPARE(f.files(), QStringList({"a.html", "c.html"}));
        QCOMPARE(f.fileList()->currentIndex().row(), 0);
        QVERIFY(f.saved().contains("FileCount=2\r\nFile1=a.html\r\nFile2=c.html\r\n"));
        f.selectFile(0);
        f.click("deleteFileButton");
        QCOMPARE(f.files(), QStringList{"c.html"});
        QCOMPARE(f.fileList()->currentIndex().row(), 0);

        // Empty List asks first.
        MessageBox::setNextAnswer(QMessageBox::No);
        f.click("emptyFilesButton");
        QCOMPARE(f.files().size(), 1);
        MessageBox::setNextAnswer(QMessageBox::Yes);
        f.click("emptyFilesButton");
        QVERIFY(f.files().isEmpty());
        QVERIFY(!f.saved().contains("File1"));
        const auto shown = MessageBox::takeShown();
        QCOMPARE(shown.size(), 2);
        QCOMPARE(shown[0].text, QString("All Files defined for this Project will be Deleted.\n\n"
                                        "Are you really sure you want to delete all Files?"));
    }

    void folderAndHomeUrlAreSavedOnChange() {
        Fixture f;
        FileDialog::setNextResult({"/srv/my site"});
        f.click("folderButton");
        QCOMPARE(f.find<QLineEdit>("folderEdit")->text(), QString("/srv/my site"));
        QVERIFY(f.saved().contains("Folder=/srv/my site\r\n"));
        FileDialog::setNextResult({});
        f.click("folderButton");
        QVERIFY(f.saved().contains("Folder=/srv/my site\r\n"));

        auto* url = f.find<QLineEdit>("homeUrlEdit");
        QTest::keyClicks(url, "http://x.org/");
        QVERIFY(f.saved().contains("Home Url=http://x.org/\r\n"));
        QTest::keyClick(url, Qt::Key_Backspace);
        QVERIFY(f.saved().contains("Home Url=http://x.org\r\n"));

        // A typed folder is kept too.
        auto* folder = f.find<QLineEdit>("folderEdit");
        folder->clear();
        QTest::keyClicks(folder, "/typed");
        QVERIFY(f.saved().contains("Folder=/typed\r\n"));
    }

    // Texts that are not UTF-8 are shown one character per byte and written
    // back unchanged when another command saves.
    void eightBitTextsSurvive() {
        Fixture f(
            "[Projects]\r\nCount=1\r\nItem1=Caf\xE9\r\nCurrent=Caf\xE9\r\n[Caf\xE9]\r\n"
            "Home Url=http://x/\xE9\r\nKeyCount=1\r\nKey1=cr\xE8me\r\nCurrentKey=cr\xE8me\r\n");
        QCOMPARE(f.projects()->currentText(), QString::fromLatin1("Caf\xE9"));
        QCOMPARE(f.keywords()->currentText(), QString::fromLatin1("cr\xE8me"));
        TextPrompt::setNextAnswer(QString::fromUtf8("br\xC3\xBBl\xC3\xA9"));
        f.click("addKeywordButton");
        QVERIFY(f.page->leavePage());
        const QByteArray saved = f.saved();
        QVERIFY(saved.contains("[Caf\xE9]\r\n"));
        QVERIFY(saved.contains("Key1=cr\xE8me\r\n"));
        QVERIFY(saved.contains("Key2=br\xC3\xBBl\xC3\xA9\r\n"));
        QVERIFY(saved.contains("Home Url=http://x/\xE9\r\n"));
    }

    void openCommandsStartTheToolWithOneArgument() {
        Fixture f;
        const testing::ArgumentRecorder recorder(f.dir.path());
        const QString name = "it's \"my\" $(touch x) page.html";
        QVERIFY(f.state.settings.setFolder(QFile::encodeName(f.dir.path()).toStdString()));
        f.state.settings.addFile(name.toStdString());
        QVERIFY(f.state.settings.setOption(TextOption::UserRunApplication1,
                                           recorder.program().toStdString()));
        f.page->enterPage();

        // No selection: nothing starts.
        f.page->fileMenu()->findChild<QAction*>("openInUserTool1Action")->trigger();
        f.selectFile(0);
        f.page->fileMenu()->findChild<QAction*>("openInUserTool1Action")->trigger();
        QCOMPARE(recorder.arguments(), QStringList{f.dir.path() + "/" + name});

        // The browser command without a program goes to the desktop.
        UrlCatcher catcher;
        QDesktopServices::setUrlHandler("file", &catcher, "open");
        f.page->fileMenu()->findChild<QAction*>("openInBrowserAction")->trigger();
        QDesktopServices::unsetUrlHandler("file");
        QCOMPARE(catcher.urls, QList<QUrl>{QUrl::fromLocalFile(f.dir.path() + "/" + name)});
        QVERIFY(MessageBox::takeShown().isEmpty());
    }

    void helpLinksOpenOurPages() {
        Fixture f;
        setHelpFolder(f.dir.path());
        QFile(f.dir.path() + "/tutorial.html").open(QIODevice::WriteOnly);
        UrlCatcher catcher;
        QDesktopServices::setUrlHandler("file", &catcher, "open");
        f.click("helpTutorialButton");
        auto* link = f.find<QLabel>("tutorialLink");
        emit link->linkActivated("tutorial.html");
        emit f.find<QLabel>("faqLink")->linkActivated("confusing-results.html");
        QDesktopServices::unsetUrlHandler("file");
        const QUrl tutorial = QUrl::fromLocalFile(f.dir.path() + "/tutorial.html");
        QCOMPARE(catcher.urls, QList<QUrl>({tutorial, tutorial}));
        QCOMPARE(texts(MessageBox::takeShown()), QStringList{"Quorvel|Failed to launch help."});
    }

    // The web commands start from the page's buttons; without a project
    // folder the import only explains what it needs.
    void webCommandsStartFromTheButtons() {
        Fixture f;
        f.click("importFileButton");
        const auto shown = MessageBox::takeShown();
        QCOMPARE(shown.size(), 1);
        QVERIFY(shown[0].text.startsWith("You can import files from online"));
        QVERIFY(f.files().isEmpty());
        CheckFileLoginDialog::setNextAnswer(std::nullopt);
        f.click("downloadCheckFileButton");
        CheckFileLoginDialog::clearTestMode();
        QVERIFY(MessageBox::takeShown().isEmpty());
    }

    void controlsHaveNamesAndStartState() {
        Fixture f;
        for (QWidget* widget : f.page->findChildren<QWidget*>()) {
            bool insideCombo = false;
            for (QWidget* up = widget->parentWidget(); up; up = up->parentWidget())
                insideCombo = insideCombo || qobject_cast<QComboBox*>(up);
            if (insideCombo) continue;
            if (qobject_cast<QPushButton*>(widget) || qobject_cast<QLineEdit*>(widget) ||
                qobject_cast<QComboBox*>(widget) || qobject_cast<QListView*>(widget)) {
                QVERIFY2(!widget->objectName().isEmpty(),
                         qPrintable(widget->metaObject()->className()));
                QVERIFY2(!widget->accessibleName().isEmpty(), qPrintable(widget->objectName()));
            }
        }
        QCOMPARE(f.find<QPushButton>("newProjectButton")->text(), QString("&New..."));
        QCOMPARE(f.find<QPushButton>("emptyFilesButton")->text(), QString("E&mpty List"));
        QCOMPARE(f.find<QLineEdit>("homeUrlEdit")->accessibleName(), QString("Home URL:"));
        setToolTipsEnabled(true);
        QCOMPARE(f.find<QPushButton>("newProjectButton")->toolTip(),
                 QString("Create a new project"));
        QCOMPARE(f.page->fileMenu()->actions().size(), 8);  // five tools, a line, two switches
    }
};

QTEST_MAIN(ProjectPageTest)
#include "project_page_test.moc"
