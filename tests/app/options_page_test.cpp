#include "app/options_page.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

#include "app/app_state.h"
#include "app/file_dialog.h"
#include "app/main_window.h"
#include "app/message_box.h"

using namespace quorvel;
using namespace quorvel::app;

namespace {

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Clicks a check box on its box, which a click in the middle of a wide
// check box with a short text would miss.
void clickBox(QCheckBox* box) {
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(4, box->height() / 2));
}

}  // namespace

class OptionsPageTest : public QObject {
    Q_OBJECT
private slots:
    void init() { MessageBox::setNextAnswer(QMessageBox::Ok); }
    void cleanup() {
        MessageBox::clearTestMode();
        FileDialog::clearTestMode();
    }

    // Each control is filled from its key and written back to it when the
    // page is left, with the file saved.
    void checkBoxesStoredOnLeaving_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<int>("option");
        QTest::addColumn<QByteArray>("key");
        QTest::newRow("tooltips") << "enableToolTipsCheck" << int(IntOption::EnableToolTips)
                                  << QByteArray("EnableToolTips");
        QTest::newRow("autosize") << "autosizeColumnsCheck" << int(IntOption::AutosizeColumns)
                                  << QByteArray("AutosizeColumns");
        QTest::newRow("html report")
            << "autoViewHtmlReportCheck" << int(IntOption::AutoViewHtmlReport)
            << QByteArray("AutoViewHtmlReport");
        QTest::newRow("final s") << "killTerminatingSCheck" << int(IntOption::KillTeminatingS)
                                 << QByteArray("KillTeminatingS");
        QTest::newRow("short words") << "skipShortWordsCheck" << int(IntOption::SkipShortWords)
                                     << QByteArray("SkipShortWords");
    }
    void checkBoxesStoredOnLeaving() {
        QFETCH(QString, box);
        QFETCH(int, option);
        QFETCH(QByteArray, key);
        QTemporaryDir dir;
        AppState state;
        state.settings.open((dir.path() + "/q.hc").toStdString());
        OptionsPage page(state);
        page.enterPage();
        auto* check = page.findChild<QCheckBox*>(box);
        QVERIFY(check);
        const int before = state.settings.option(static_cast<IntOption>(option));
        QCOMPARE(int(check->isChecked()), before);
        clickBox(check);
        QVERIFY(page.leavePage());
        QCOMPARE(state.settings.option(static_cast<IntOption>(option)), 1 - before);
        QVERIFY(readFile(dir.path() + "/q.hc")
                    .contains(key + "=" + QByteArray::number(1 - before) + "\r\n"));
    }

    void programFieldsStoredOnLeaving_data() {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QString>("browse");
        QTest::addColumn<int>("option");
        QTest::newRow("browser") << "browserEdit"
                                 << "browserBrowseButton" << int(TextOption::OpenRunApplication);
        QTest::newRow("html editor")
            << "htmlEditorEdit"
            << "htmlEditorBrowseButton" << int(TextOption::EditRunApplication);
        QTest::newRow("text editor")
            << "textEditorEdit"
            << "textEditorBrowseButton" << int(TextOption::EditTextRunApplication);
        QTest::newRow("user tool 1")
            << "userTool1Edit"
            << "userTool1BrowseButton" << int(TextOption::UserRunApplication1);
        QTest::newRow("user tool 2")
            << "userTool2Edit"
            << "userTool2BrowseButton" << int(TextOption::UserRunApplication2);
    }
    void programFieldsStoredOnLeaving() {
        QFETCH(QString, edit);
        QFETCH(QString, browse);
        QFETCH(int, option);
        QTemporaryDir dir;
        AppState state;
        state.settings.open((dir.path() + "/q.hc").toStdString());
        // An 8-bit path that is not UTF-8 is shown and kept byte for byte.
        QVERIFY(state.settings.setOption(static_cast<TextOption>(option),
                                         "/opt/\xE9"
                                         "diteur"));
        OptionsPage page(state);
        page.enterPage();
        auto* field = page.findChild<QLineEdit*>(edit);
        QCOMPARE(field->text(), QString::fromLatin1("/opt/\xE9"
                                                    "diteur"));
        QVERIFY(page.leavePage());
        QCOMPARE(state.settings.option(static_cast<TextOption>(option)), std::string("/opt/\xE9"
                                                                                     "diteur"));

        FileDialog::setNextResult({"/usr/bin/my tool"});
        page.findChild<QPushButton*>(browse)->click();
        QCOMPARE(field->text(), QString("/usr/bin/my tool"));
        FileDialog::setNextResult({});
        page.findChild<QPushButton*>(browse)->click();
        QCOMPARE(field->text(), QString("/usr/bin/my tool"));
        QVERIFY(page.leavePage());
        QCOMPARE(state.settings.option(static_cast<TextOption>(option)),
                 std::string("/usr/bin/my tool"));
        QVERIFY(readFile(dir.path() + "/q.hc").contains("=/usr/bin/my tool\r\n"));
    }

    void minWordLengthRangeAndEnabling_data() {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("shown");
        QTest::addColumn<int>("kept");
        QTest::newRow("default") << QByteArray() << QString() << 3 << 3;
        QTest::newRow("in range") << QByteArray("7") << QString() << 7 << 7;
        QTest::newRow("stored above the range") << QByteArray("25") << QString() << 10 << 10;
        QTest::newRow("stored below the range") << QByteArray("-4") << QString() << 0 << 0;
        QTest::newRow("typed zero") << QByteArray() << "0" << 3 << 0;
        QTest::newRow("typed ten") << QByteArray() << "10" << 3 << 10;
        QTest::newRow("typed beyond ten keeps what fits") << QByteArray() << "12" << 3 << 1;
    }
    void minWordLengthRangeAndEnabling() {
        QFETCH(QByteArray, stored);
        QFETCH(QString, typed);
        QFETCH(int, shown);
        QFETCH(int, kept);
        QTemporaryDir dir;
        AppState state;
        state.settings.open((dir.path() + "/q.hc").toStdString());
        if (!stored.isEmpty())
            state.settings.profile().writeString("Options", "MinWordLength", stored.toStdString());
        OptionsPage page(state);
        page.enterPage();
        auto* skip = page.findChild<QCheckBox*>("skipShortWordsCheck");
        auto* number = page.findChild<QSpinBox*>("minWordLengthSpin");
        QCOMPARE(number->value(), shown);
        QVERIFY(!skip->isChecked());
        QVERIFY(!number->isEnabled());
        clickBox(skip);
        QVERIFY(number->isEnabled());
        if (!typed.isEmpty()) {
            number->selectAll();
            QTest::keyClicks(number, typed);
        }
        QVERIFY(page.leavePage());
        QCOMPARE(state.settings.option(IntOption::MinWordLength), kept);
        QCOMPARE(state.settings.option(IntOption::SkipShortWords), 1);
        clickBox(skip);
        QVERIFY(!number->isEnabled());
    }

    // In the window: values are stored when another page becomes active and
    // when the window closes; the tooltip switch acts at once on every page.
    void windowStoresOptionsAndSwitchesToolTips() {
        QTemporaryDir dir;
        const QString path = dir.path() + "/q.hc";
        AppState state;
        state.settings.open(path.toStdString());
        MainWindow window(state, "t");
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto* tabs = window.findChild<QTabWidget*>("pageTabs");
        QVERIFY(window.activatePage(MainWindow::kOptionsPage));
        auto* finalS = window.findChild<QCheckBox*>("killTerminatingSCheck");
        clickBox(finalS);
        QCOMPARE(state.settings.option(IntOption::KillTeminatingS), 0);
        tabs->setCurrentIndex(MainWindow::kProjectPage);
        QCOMPARE(state.settings.option(IntOption::KillTeminatingS), 1);
        QVERIFY(readFile(path).contains("KillTeminatingS=1\r\n"));

        QVERIFY(window.activatePage(MainWindow::kOptionsPage));
        clickBox(window.findChild<QCheckBox*>("autoViewHtmlReportCheck"));
        auto* newProject = window.findChild<QPushButton*>("newProjectButton");
        auto* toolTips = window.findChild<QCheckBox*>("enableToolTipsCheck");
        QCOMPARE(newProject->toolTip(), QString("Create a new project"));
        clickBox(toolTips);
        QVERIFY(newProject->toolTip().isEmpty());
        QVERIFY(toolTips->toolTip().isEmpty());
        QVERIFY(readFile(path).contains("EnableToolTips=0\r\n"));
        clickBox(toolTips);
        QCOMPARE(newProject->toolTip(), QString("Create a new project"));
        QCOMPARE(toolTips->toolTip(), QString("Let the program show comics help text"));

        window.close();
        QCOMPARE(state.settings.option(IntOption::AutoViewHtmlReport), 1);
        QVERIFY(readFile(path).contains("AutoViewHtmlReport=1\r\n"));
    }

    void controlsHaveAccessibleNames() {
        QTemporaryDir dir;
        AppState state;
        state.settings.open((dir.path() + "/q.hc").toStdString());
        OptionsPage page(state);
        const QList<QWidget*> controls = page.findChildren<QWidget*>();
        int named = 0;
        for (QWidget* widget : controls) {
            if (!qobject_cast<QCheckBox*>(widget) && !qobject_cast<QPushButton*>(widget) &&
                !qobject_cast<QSpinBox*>(widget) &&
                !(qobject_cast<QLineEdit*>(widget) && !qobject_cast<QSpinBox*>(widget->parent())))
                continue;
            QVERIFY2(!widget->objectName().isEmpty(), qPrintable(widget->accessibleName()));
            QVERIFY2(!widget->accessibleName().isEmpty(), qPrintable(widget->objectName()));
            ++named;
        }
        QCOMPARE(named, 5 + 5 + 5 + 1);
        QCOMPARE(page.findChild<QLineEdit*>("htmlEditorEdit")->accessibleName(),
                 QString("HTML Editor:"));
    }
};

QTEST_MAIN(OptionsPageTest)
#include "options_page_test.moc"
