#include "app/main_window.h"

#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

#include "app/app_state.h"
#include "app/message_box.h"

using namespace quorvel::app;

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init() { MessageBox::setNextAnswer(QMessageBox::Ok); }
    void cleanup() { MessageBox::clearTestMode(); }

    void startWithoutKeywordShowsErrorAndProjectPage() {
        QTemporaryDir folder;
        AppState state;
        state.settings.open((folder.path() + "/Quorvel.hc").toStdString());
        MainWindow window(state, "t");
        auto* tabs = window.findChild<QTabWidget*>("pageTabs");
        QVERIFY(tabs);
        QVERIFY(window.activatePage(MainWindow::kOptionsPage));
        window.findChild<QPushButton*>("startButton")->click();
        const auto shown = MessageBox::takeShown();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].caption, QString("Quorvel - Error"));
        QCOMPARE(shown[0].text, QString("Please define a keyword before to run the check"));
        QCOMPARE(tabs->currentIndex(), int(MainWindow::kProjectPage));
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
