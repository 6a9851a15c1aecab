#include "app/checker_elements_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeView>
#include <QtTest>
#include <memory>

#include "app/app_state.h"
#include "app/message_box.h"
#include "app/text_prompt.h"

using namespace quorvel;
using namespace quorvel::app;

namespace {

constexpr char kChecker[] =
    "[SearchEngines]\r\nCount=2\r\nItem1=Alpha\r\nItem2=Beta\r\n\r\n"
    "[Beta]\r\nCaseSensitive=0\r\n1TitleValue=60\r\n";

// A page over a settings file and a checker file in a fresh folder.
struct Fixture {
    QTemporaryDir folder;
    AppState state;
    std::unique_ptr<CheckerElementsPage> page;

    explicit Fixture(bool editing, const char* checker = kChecker) {
        const QString chk = folder.path() + "/Quorvel.chk";
        QFile file(chk);
        file.open(QIODevice::WriteOnly);
        file.write(checker);
        file.close();
        state.settingsPath = (folder.path() + "/Quorvel.hc").toStdString();
        state.checkerPath = chk.toStdString();
        state.settings.open(state.settingsPath);
        if (editing) state.settings.setOption(IntOption::EnableSeEdit, 1);
        state.settings.setCurrentEngine("Beta");
        state.checker.open(state.checkerPath);
        page = std::make_unique<CheckerElementsPage>(state);
    }
    template <typename T>
    T* find(const char* name) {
        T* widget = page->findChild<T*>(name);
        if (!widget) qFatal("no widget %s", name);
        return widget;
    }
    // Selects check `index` of category `category` in the tree.
    void selectCheck(int category, int index) {
        auto* tree = find<QTreeView>("checksTree");
        tree->setCurrentIndex(tree->model()->index(index, 0, tree->model()->index(category, 0)));
    }
    void selectRoot(int category) {
        auto* tree = find<QTreeView>("checksTree");
        tree->setCurrentIndex(tree->model()->index(category, 0));
    }
    QByteArray checkerBytes() {
        QFile file(folder.path() + "/Quorvel.chk");
        file.open(QIODevice::ReadOnly);
        return file.readAll();
    }
};

}  // namespace

class CheckerElementsPageTest : public QObject {
    Q_OBJECT
private slots:
    void init() { MessageBox::setNextAnswer(QMessageBox::Ok); }
    void cleanup() {
        MessageBox::clearTestMode();
        TextPrompt::clearTestMode();
    }

    void categoryPositionsAndCodes() {
        const std::pair<const char*, int> cases[] = {{"T", 2}, {"t", 2},  {"E", 3}, {"e", 3},
                                                     {"S", 1}, {"s", 1},  {"W", 0}, {"", 0},
                                                     {"x", 0}, {"Tip", 2}};
        for (const auto& [code, position] : cases)
            QCOMPARE(categoryPosition(code), position);
        QCOMPARE(QString(QChar(importanceCodeAt(0))), QString("W"));
        QCOMPARE(QString(QChar(importanceCodeAt(1))), QString("S"));
        QCOMPARE(QString(QChar(importanceCodeAt(2))), QString("T"));
        QCOMPARE(QString(QChar(importanceCodeAt(3))), QString("E"));
    }

    void viewerByDefaultDisablesEditingAndHighlights() {
        Fixture f(false);
        f.selectCheck(0, 1);  // overridden in Beta
        for (const char* name :
             {"enableCheckBox", "categoryCombo", "valueEdit", "messageEdit", "descriptionEdit",
              "addEngineButton", "editEngineButton", "deleteEngineButton", "caseCombo"}) {
            QVERIFY2(!f.find<QWidget>(name)->isEnabled(), name);
        }
        QVERIFY(f.find<QWidget>("engineCombo")->isEnabled());
        QCOMPARE(f.find<QLineEdit>("valueEdit")->text(), QString("60"));
        QCOMPARE(f.find<QWidget>("valueEdit")->property("overridden").toBool(), false);
        const QByteArray before = f.checkerBytes();
        QVERIFY(f.page->leavePage());
        QCOMPARE(f.checkerBytes(), before);
    }

    void treeHoldsEveryCheckUnderItsCategory() {
        Fixture f(false);
        auto* model = f.find<QTreeView>("checksTree")->model();
        QCOMPARE(model->rowCount(), kCategoryCount);
        int checks = 0;
        for (int c = 0; c < kCategoryCount; ++c) {
            QCOMPARE(model->index(c, 0).data().toString(),
                     QString::fromLatin1(categoryName(c).data(), categoryName(c).size()));
            checks += model->rowCount(model->index(c, 0));
        }
        QCOMPARE(checks, kCheckCount);
        QCOMPARE(f.find<QComboBox>("engineCombo")->currentText(), QString("Beta"));
        QCOMPARE(f.find<QComboBox>("caseCombo")->currentIndex(), 0);
    }

    void valueBackToDefaultRemovesOverrideAndHighlight() {
        Fixture f(true);
        f.selectCheck(0, 1);
        auto* value = f.find<QLineEdit>("valueEdit");
        QCOMPARE(value->text(), QString("60"));
        QVERIFY(value->property("overridden").toBool());
        value->setText("70");  // the catalogue default
        QVERIFY(!value->property("overridden").toBool());
        QVERIFY(!f.checkerBytes().contains("1TitleValue"));
        value->setText("65");
        QVERIFY(value->property("overridden").toBool());
        QVERIFY(f.checkerBytes().contains("1TitleValue=65\r\n"));
    }

    void angleBracketsInMessageReplacedAfterOneMessage() {
        Fixture f(true);
        f.selectCheck(0, 0);
        auto* message = f.find<QLineEdit>("messageEdit");
        message->setText("Use <b>");
        QCOMPARE(message->text(), QString("Use \"b\""));
        const auto shown = MessageBox::takeShown();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].caption, QString("Quorvel Error Message"));
        QVERIFY(f.checkerBytes().contains("0TitleMsg=Use \"b\"\r\n"));
    }

    void pastedLinesInDescriptionJoinedBySpace() {
        Fixture f(true);
        f.selectCheck(2, 0);
        auto* description = f.find<QPlainTextEdit>("descriptionEdit");
        description->setPlainText("first line\nsecond line");
        QCOMPARE(description->toPlainText(), QString("first line second line"));
        const auto shown = MessageBox::takeShown();
        QCOMPARE(shown.size(), 1);
        QVERIFY(shown[0].text.startsWith("The characters CR and LF are not allowed !"));
        QVERIFY(f.checkerBytes().contains("0BodyDescr=first line second line\r\n"));
    }

    void engineNameTakenInOtherCaseIsRefused() {
        Fixture f(true);
        TextPrompt::setNextAnswer(QString("BETA"));
        TextPrompt::setNextAnswer(std::nullopt);  // the user gives up
        f.find<QPushButton>("addEngineButton")->click();
        const auto shown = MessageBox::takeShown();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].caption, QString("Error Message - Quorvel"));
        QCOMPARE(f.find<QComboBox>("engineCombo")->count(), 2);
        // The second prompt proposes what was typed.
        QCOMPARE(TextPrompt::takeShown().value(1), QString("Enter Search Engine Name|&Name:|BETA"));
    }

    void addedEngineBecomesCurrentWithDefaults() {
        Fixture f(true);
        TextPrompt::setNextAnswer(QString("Gamma"));
        f.selectCheck(0, 1);
        f.find<QPushButton>("addEngineButton")->click();
        QCOMPARE(f.state.settings.currentEngine(), std::string("Gamma"));
        QCOMPARE(f.find<QLineEdit>("valueEdit")->text(), QString("70"));
        QCOMPARE(f.find<QComboBox>("caseCombo")->currentIndex(), 1);
        QVERIFY(f.checkerBytes().contains("Item3=Gamma\r\n"));
    }

    void renamingKeepsOverridesUnderTheNewName() {
        Fixture f(true);
        TextPrompt::setNextAnswer(QString("Beta 2"));
        f.find<QPushButton>("editEngineButton")->click();
        QCOMPARE(f.state.settings.currentEngine(), std::string("Beta 2"));
        QVERIFY(f.checkerBytes().contains("[Beta 2]\r\nCaseSensitive=0\r\n1TitleValue=60"));
    }

    void deletingFirstEngineSelectsAndMakesNewFirstCurrent() {
        Fixture f(true);
        auto* engines = f.find<QComboBox>("engineCombo");
        engines->setCurrentIndex(0);
        f.state.settings.setCurrentEngine("Alpha");
        MessageBox::setNextAnswer(QMessageBox::Yes);
        f.find<QPushButton>("deleteEngineButton")->click();
        QCOMPARE(engines->count(), 1);
        QCOMPARE(engines->currentText(), QString("Beta"));
        QCOMPARE(f.state.settings.currentEngine(), std::string("Beta"));
        QVERIFY(!f.checkerBytes().contains("Alpha"));
    }

    void deleteAnsweredNoKeepsEngine() {
        Fixture f(true);
        MessageBox::setNextAnswer(QMessageBox::No);
        f.find<QPushButton>("deleteEngineButton")->click();
        QCOMPARE(f.find<QComboBox>("engineCombo")->count(), 2);
    }

    void enableKeptWhenRootSelected() {
        Fixture f(true);
        f.selectCheck(0, 0);
        auto* enable = f.find<QCheckBox>("enableCheckBox");
        QVERIFY(enable->isChecked());
        enable->setChecked(false);
        f.selectRoot(1);
        QVERIFY(!enable->isEnabled());
        QVERIFY(f.checkerBytes().contains("0TitleEnable=0\r\n"));
        f.selectCheck(0, 0);
        QVERIFY(!enable->isChecked());
    }

    void caseSelectorStoresSwitch() {
        Fixture f(true);
        auto* caseCombo = f.find<QComboBox>("caseCombo");
        caseCombo->setCurrentIndex(1);
        emit caseCombo->activated(1);
        QVERIFY(f.checkerBytes().contains("[Beta]\r\nCaseSensitive=1\r\n"));
    }
};

QTEST_MAIN(CheckerElementsPageTest)
#include "checker_elements_page_test.moc"
