#include "crash_report/crash_report_window.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

namespace {

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

}  // namespace

class CrashReportWindowTest : public QObject {
    Q_OBJECT

private slots:
    void showsTheReportAndHandsItOn();
    void withoutFilesThereIsNothingToCopy();
};

// A report with the log, the dump, a settings file given by its full path and
// a checker file that has gone since.
void CrashReportWindowTest::showsTheReportAndHandsItOn() {
    QTemporaryDir folder;
    const QByteArray log =
        "quorvel caused an Access Violation (0xc0000005) \r\nin module quorvel at offset "
        "0x0000000000001234.\r\n\r\nException handler called in Default.\r\nError occurred at "
        "12/8/2026 14:25:34.\r\n";
    writeFile(folder.filePath("ERRORLOG.TXT"), log);
    writeFile(folder.filePath("CRASH.DMP"), "MDMP");
    writeFile(folder.filePath("Quorvel.hc"), "[Options]\r\n");
    writeFile(folder.filePath("MtCrashReport.ini"),
              "[FilesToAdd]\r\nFile001=ERRORLOG.TXT,Error description and details,Log file\r\n"
              "File002=CRASH.DMP,Process memory dump,Debug file\r\n"
              "File003=" +
                  folder.filePath("Quorvel.hc").toUtf8() +
                  ",User Settings File,Settings\r\n"
                  "File004=" +
                  folder.filePath("gone/Quorvel.chk").toUtf8() + ",Checker File,VEV Settings\r\n");

    quorvel::CrashReportWindow window(folder.path(), QStringLiteral("quorvel"));
    QStringList started;
    window.setProgramStarter([&](const QString& program, const QStringList& arguments) {
        started << program + QLatin1Char(' ') + arguments.join(QLatin1Char('|'));
        return true;
    });
    window.show();

    auto* summary = window.findChild<QLabel*>(QStringLiteral("summary"));
    QVERIFY(summary != nullptr);
    QVERIFY(summary->text().startsWith(
        QStringLiteral("quorvel caused an Access Violation (0xc0000005)")));
    QVERIFY(summary->text().contains(QStringLiteral("Error occurred at 12/8/2026 14:25:34.")));

    auto* files = window.findChild<QTreeWidget*>(QStringLiteral("fileList"));
    QVERIFY(files != nullptr);
    QCOMPARE(files->topLevelItemCount(), 4);
    const struct {
        QString path;
        QString kind;
        bool enabled;
    } rows[] = {
        {folder.filePath("ERRORLOG.TXT"), "Log file", true},
        {folder.filePath("CRASH.DMP"), "Debug file", true},
        {folder.filePath("Quorvel.hc"), "Settings", true},
        {folder.filePath("gone/Quorvel.chk"), "VEV Settings", false},
    };
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(files->topLevelItem(i)->text(0), rows[i].path);
        QCOMPARE(files->topLevelItem(i)->text(2), rows[i].kind);
        QCOMPARE(!files->topLevelItem(i)->isDisabled(), rows[i].enabled);
    }

    QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("copyLogButton")),
                      Qt::LeftButton);
    QCOMPARE(QApplication::clipboard()->text(), QString::fromUtf8(log));

    QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("openFolderButton")),
                      Qt::LeftButton);
    QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("mailButton")), Qt::LeftButton);
    QCOMPARE(started.size(), 2);
    QCOMPARE(started[0], QStringLiteral("xdg-open ") + folder.path());
    // Only the files that exist are attached.
    QVERIFY(started[1].startsWith(
        QStringLiteral("xdg-email --subject|Crash report of quorvel|--body|")));
    QVERIFY(started[1].endsWith(QStringLiteral("|--attach|") + folder.filePath("ERRORLOG.TXT") +
                                QStringLiteral("|--attach|") + folder.filePath("CRASH.DMP") +
                                QStringLiteral("|--attach|") + folder.filePath("Quorvel.hc")));
}

void CrashReportWindowTest::withoutFilesThereIsNothingToCopy() {
    QTemporaryDir folder;
    quorvel::CrashReportWindow window(folder.path(), QStringLiteral("quorvel"));
    QCOMPARE(window.findChild<QTreeWidget*>(QStringLiteral("fileList"))->topLevelItemCount(), 0);
    QVERIFY(!window.findChild<QPushButton*>(QStringLiteral("copyLogButton"))->isEnabled());
    QCOMPARE(window.findChild<QLabel*>(QStringLiteral("summary"))->text(),
             QStringLiteral("No error log was written."));
}

QTEST_MAIN(CrashReportWindowTest)
#include "crash_report_window_test.moc"
