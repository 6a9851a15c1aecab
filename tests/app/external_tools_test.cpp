#include "app/external_tools.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "app/message_box.h"
#include "settings/user_settings.h"

using namespace quorvel;
using namespace quorvel::app;

namespace {

// Writes an executable shell script that appends each of its arguments, one
// per line, to `record`.
QString writeRecorder(const QString& folder, const QString& record) {
    const QString path = folder + "/recorder.sh";
    QFile script(path);
    if (!script.open(QIODevice::WriteOnly)) return {};
    script.write("#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\" >> '" +
                 QFile::encodeName(record) + "'; done\n");
    script.close();
    script.setPermissions(script.permissions() | QFileDevice::ExeOwner);
    return path;
}

QStringList waitForLines(const QString& record, int count) {
    QStringList lines;
    for (int i = 0; i < 100 && lines.size() < count; ++i) {
        QTest::qWait(50);
        QFile file(record);
        if (file.open(QIODevice::ReadOnly))
            lines = QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
    }
    return lines;
}

}  // namespace

class ExternalToolsTest : public QObject {
    Q_OBJECT
private slots:
    void init() { MessageBox::setNextAnswer(QMessageBox::Ok); }
    void cleanup() { MessageBox::clearTestMode(); }

    void configuredProgramGetsThePathAsOneArgument_data() {
        QTest::addColumn<int>("tool");
        QTest::addColumn<int>("option");
        QTest::addColumn<QString>("fileName");
        QTest::newRow("browser") << int(ExternalTool::Open) << int(TextOption::OpenRunApplication)
                                 << "plain.html";
        QTest::newRow("html editor, blanks and quotes")
            << int(ExternalTool::Edit) << int(TextOption::EditRunApplication)
            << "my \"quoted\" 'page'.html";
        QTest::newRow("text editor, command substitution")
            << int(ExternalTool::EditText) << int(TextOption::EditTextRunApplication)
            << "$(touch pwned) `id` ; rm -rf x.html";
        QTest::newRow("user tool 1, non-ASCII")
            << int(ExternalTool::User1) << int(TextOption::UserRunApplication1)
            << QString::fromUtf8("caf\xc3\xa9 & <b>.htm");
        QTest::newRow("user tool 2, backslash and star")
            << int(ExternalTool::User2) << int(TextOption::UserRunApplication2) << "a\\b*?.html";
    }
    void configuredProgramGetsThePathAsOneArgument() {
        QFETCH(int, tool);
        QFETCH(int, option);
        QFETCH(QString, fileName);
        QTemporaryDir folder;
        const QString record = folder.path() + "/args.txt";
        const QString recorder = writeRecorder(folder.path(), record);
        UserSettings settings;
        settings.open((folder.path() + "/q.hc").toStdString());
        settings.setOption(static_cast<TextOption>(option), recorder.toStdString());

        const QString fullPath = folder.path() + "/" + fileName;
        QVERIFY(openWithTool(nullptr, settings, static_cast<ExternalTool>(tool), fullPath));
        const QStringList lines = waitForLines(record, 1);
        QCOMPARE(lines, QStringList{fullPath});
        QVERIFY(MessageBox::takeShown().isEmpty());
    }

    void missingProgramShowsItsPath() {
        QTemporaryDir folder;
        UserSettings settings;
        settings.open((folder.path() + "/q.hc").toStdString());
        const QString program = folder.path() + "/no such tool";
        settings.setOption(TextOption::UserRunApplication2, program.toStdString());
        QVERIFY(!openWithTool(nullptr, settings, ExternalTool::User2, folder.path() + "/a.html"));
        const auto shown = MessageBox::takeShown();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].icon, QMessageBox::Critical);
        QCOMPARE(shown[0].caption, QString("Error Message - Quorvel"));
        QCOMPARE(shown[0].text, "Error executing the program:\n\n" + program);
    }

    // With no HTML editor set, the desktop's default application for plain
    // text (from the XDG MIME database) opens the file.
    void editWithoutProgramUsesDefaultTextApplication() {
        QTemporaryDir folder;
        const QString record = folder.path() + "/args.txt";
        const QString recorder = writeRecorder(folder.path(), record);
        QDir(folder.path()).mkpath("data/applications");
        QDir(folder.path()).mkpath("config");
        QFile desktop(folder.path() + "/data/applications/quorvel-test-editor.desktop");
        QVERIFY(desktop.open(QIODevice::WriteOnly));
        desktop.write("[Desktop Entry]\nType=Application\nName=Test editor\nExec=" +
                      QFile::encodeName(recorder) + " %f\nMimeType=text/plain;\n");
        desktop.close();
        QFile mimeApps(folder.path() + "/config/mimeapps.list");
        QVERIFY(mimeApps.open(QIODevice::WriteOnly));
        mimeApps.write("[Default Applications]\ntext/plain=quorvel-test-editor.desktop\n");
        mimeApps.close();
        qputenv("XDG_DATA_HOME", QFile::encodeName(folder.path() + "/data"));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(folder.path() + "/config"));
        qputenv("XDG_DATA_DIRS", QFile::encodeName(folder.path() + "/none"));
        qputenv("XDG_CONFIG_DIRS", QFile::encodeName(folder.path() + "/none"));

        UserSettings settings;
        settings.open((folder.path() + "/q.hc").toStdString());
        const QString fullPath = folder.path() + "/page with blanks.html";
        QVERIFY(openWithTool(nullptr, settings, ExternalTool::Edit, fullPath));
        QCOMPARE(waitForLines(record, 1), QStringList{fullPath});
        QVERIFY(MessageBox::takeShown().isEmpty());
    }
};

QTEST_MAIN(ExternalToolsTest)
#include "external_tools_test.moc"
