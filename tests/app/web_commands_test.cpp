#include "app/web_commands.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <map>

#include "app/app_state.h"
#include "app/download_dialog.h"
#include "app/message_box.h"
#include "app/web_dialogs.h"
#include "net/http_download.h"

using namespace quorvel;
using namespace quorvel::app;

namespace {

// A web server on 127.0.0.1 that answers each path with a fixed response;
// a path without one gets 404. "/drip" sends its headers and then one byte
// every 100 ms, never ending.
class LoopbackServer : public QObject {
public:
    LoopbackServer() {
        server_.listen(QHostAddress::LocalHost, 0);
        connect(&server_, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = server_.nextPendingConnection())
                serve(socket);
        });
    }
    QString url(const QString& path) const {
        return QStringLiteral("http://127.0.0.1:%1%2").arg(server_.serverPort()).arg(path);
    }
    std::map<QByteArray, QByteArray> responses;
    QList<QByteArray> requests;  // request heads, in order

private:
    void serve(QTcpSocket* socket) {
        auto* buffer = new QByteArray;
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QObject::destroyed, [buffer] { delete buffer; });
        connect(socket, &QTcpSocket::readyRead, socket, [this, socket, buffer] {
            buffer->append(socket->readAll());
            const qsizetype end = buffer->indexOf("\r\n\r\n");
            if (end < 0) return;
            const QByteArray head = buffer->left(end);
            buffer->clear();
            requests.append(head);
            const QByteArray path = head.split(' ').value(1);
            if (path == "/drip") {
                socket->write("HTTP/1.0 200 OK\r\nContent-Length: 100000\r\n\r\n");
                auto* timer = new QTimer(socket);
                connect(timer, &QTimer::timeout, socket, [socket] { socket->write("x"); });
                timer->start(100);
                return;
            }
            const auto found = responses.find(path);
            socket->write(found != responses.end() ? found->second
                                                   : QByteArray("HTTP/1.0 404 Not Found\r\n"
                                                                "Content-Length: 0\r\n\r\n"));
            socket->disconnectFromHost();
        });
    }
    QTcpServer server_;
};

QByteArray ok(const QByteArray& body) {
    return "HTTP/1.0 200 OK\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" +
           body;
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
}

struct Project {
    QTemporaryDir folder;
    AppState state;
    Project() {
        state.settingsPath = (folder.path() + "/Quorvel.hc").toStdString();
        state.checkerPath = (folder.path() + "/Quorvel.chk").toStdString();
        state.settings.open(state.settingsPath);
        state.settings.setFolder(folder.path().toStdString());
        state.settings.setHomeUrl("http://www.example.com/");
    }
    QString path(const QString& name) const { return folder.path() + "/" + name; }
};

}  // namespace

class WebCommandsTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        MessageBox::setNextAnswer(QMessageBox::Ok);
        DownloadDialog::setCloseWhenCompletedForTests(true);
    }
    void cleanup() {
        MessageBox::clearTestMode();
        ImportUrlDialog::clearTestMode();
        CheckFileLoginDialog::clearTestMode();
    }

    void localNameFollowsTypedUrl() {
        const std::pair<const char*, const char*> cases[] = {
            {"http://host/dir/page.htm", "page.htm"},
            {"http://host/", "keep"},
            {"http://host", "keep"},
            {"http:/", "keep"},
            {"https://host/a\\b.html", "b.html"},
        };
        for (const auto& [url, expected] : cases) {
            ImportUrlDialog dialog(nullptr, QString());
            auto* name = dialog.findChild<QLineEdit*>("localNameEdit");
            name->setText("keep");
            dialog.findChild<QLineEdit*>("urlEdit")->setText(url);
            QCOMPARE(name->text(), QString(expected));
        }
    }

    void importDialogRefusesWhatCannotBeDownloaded() {
        const struct {
            const char* url;
            const char* name;
            const char* message;
        } cases[] = {
            {"http://", "a.html", "Please specify a valid URL!"},
            {"HTTP://", "a.html", "Please specify a valid URL!"},
            {"http://host/", "", "Please specify a local file name!"},
            {"http://host/", "../a.html", "plain file name"},
        };
        for (const auto& c : cases) {
            ImportUrlDialog dialog(nullptr, QString());
            dialog.findChild<QLineEdit*>("urlEdit")->setText(c.url);
            dialog.findChild<QLineEdit*>("localNameEdit")->setText(c.name);
            dialog.accept();
            QCOMPARE(dialog.result(), int(QDialog::Rejected));
            const auto shown = MessageBox::takeShown();
            QCOMPARE(shown.size(), 1);
            QVERIFY2(shown[0].text.contains(c.message), c.url);
        }
    }

    void passwordIsMasked() {
        CheckFileLoginDialog dialog(nullptr);
        QCOMPARE(dialog.findChild<QLineEdit*>("passwordEdit")->echoMode(), QLineEdit::Password);
    }

    void importDownloadsAndListsThePage() {
        LoopbackServer server;
        server.responses["/site/page.htm"] = ok("<html>imported</html>");
        Project project;
        ImportUrlDialog::setNextAnswer(ImportRequest{server.url("/site/page.htm"), "page.htm"});
        const auto added = importFromUrl(nullptr, project.state);
        QCOMPARE(added.value_or(""), std::string("page.htm"));
        QCOMPARE(readAll(project.path("page.htm")), QByteArray("<html>imported</html>"));
        QCOMPARE(project.state.settings.fileName(1), std::string("page.htm"));

        // A listed name that the new one begins: downloaded, not listed again.
        server.responses["/site/page"] = ok("second");
        ImportUrlDialog::setNextAnswer(ImportRequest{server.url("/site/page"), "page"});
        QVERIFY(!importFromUrl(nullptr, project.state));
        QCOMPARE(readAll(project.path("page")), QByteArray("second"));
        QCOMPARE(project.state.settings.fileCount(), 1);
    }

    void importOverExistingFileAsksFirst() {
        LoopbackServer server;
        server.responses["/a.html"] = ok("new");
        Project project;
        writeFile(project.path("a.html"), "old");
        MessageBox::setNextAnswer(QMessageBox::No);
        ImportUrlDialog::setNextAnswer(ImportRequest{server.url("/a.html"), "a.html"});
        QVERIFY(!importFromUrl(nullptr, project.state));
        QCOMPARE(readAll(project.path("a.html")), QByteArray("old"));
        QVERIFY(server.requests.isEmpty());
        const auto shown = MessageBox::takeShown();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].caption, QString("Quorvel Warning"));
    }

    void importWithoutFolderOnlyGuides() {
        Project project;
        project.state.settings.setFolder("");
        QVERIFY(!importFromUrl(nullptr, project.state));
        const auto shown = MessageBox::takeShown();
        QCOMPARE(shown.size(), 1);
        QVERIFY(shown[0].text.startsWith("You can import files from online"));
    }

    void failedImportLeavesExistingPage() {
        LoopbackServer server;  // /gone answers 404
        Project project;
        writeFile(project.path("gone.html"), "kept");
        MessageBox::setNextAnswer(QMessageBox::Yes);
        ImportUrlDialog::setNextAnswer(ImportRequest{server.url("/gone"), "gone.html"});
        QVERIFY(!importFromUrl(nullptr, project.state));
        QCOMPARE(readAll(project.path("gone.html")), QByteArray("kept"));
        QCOMPARE(project.state.settings.fileCount(), 0);
    }

    void updateReplacesCheckerAndKeepsBackup() {
        LoopbackServer server;
        server.responses["/CheckerFile/Quorvel.chk"] = ok("[SearchEngines]\r\nCount=0\r\n");
        Project project;
        project.state.settings.setOption(TextOption::CheckerUpdateUrl,
                                         server.url("/CheckerFile/Quorvel.chk").toStdString());
        writeFile(project.path("Quorvel.chk"), "old checker");
        CheckFileLoginDialog::setNextAnswer(Credentials{"ann", "secret"});
        QCOMPARE(updateCheckerFromServer(nullptr, project.state), DownloadResult::Completed);
        QCOMPARE(readAll(project.path("Quorvel.chk")),
                 QByteArray("[SearchEngines]\r\nCount=0\r\n"));
        QCOMPARE(readAll(project.path("Quorvel.old")), QByteArray("old checker"));
        QVERIFY(server.requests.value(0).contains("Authorization: Basic"));
    }

    void refusedUpdateLeavesCheckerUnchanged() {
        LoopbackServer server;
        server.responses["/CheckerFile/Quorvel.chk"] =
            "HTTP/1.0 401 Unauthorized\r\nContent-Length: 0\r\n\r\n";
        Project project;
        project.state.settings.setOption(TextOption::CheckerUpdateUrl,
                                         server.url("/CheckerFile/Quorvel.chk").toStdString());
        writeFile(project.path("Quorvel.chk"), "old checker");
        CheckFileLoginDialog::setNextAnswer(Credentials{"ann", "wrong"});
        QCOMPARE(updateCheckerFromServer(nullptr, project.state), DownloadResult::AuthRequired);
        QCOMPARE(readAll(project.path("Quorvel.chk")), QByteArray("old checker"));
    }

    void updateNeedsBothCredentials() {
        Project project;
        CheckFileLoginDialog::setNextAnswer(Credentials{"ann", ""});
        QVERIFY(!updateCheckerFromServer(nullptr, project.state));
        QCOMPARE(MessageBox::takeShown().value(0).text,
                 QString("Please specify user name and password"));
    }

    void abortWhileDownloadingEndsWithAborted() {
        LoopbackServer server;
        QTemporaryDir folder;
        const std::string url = server.url("/drip").toStdString();
        const std::string path = (folder.path() + "/drip.html").toStdString();
        DownloadDialog dialog(nullptr, QString::fromStdString(path), [=](HttpDownload& download) {
            std::string address = url;
            return downloadToFile(download, 0, address, path).result;
        });
        auto* button = dialog.findChild<QPushButton*>("abortButton");
        auto* status = dialog.findChild<QLabel*>("statusLabel");
        QTimer::singleShot(0, &dialog, [&] {
            // Known size: the percent form, then Abort.
            QTRY_VERIFY_WITH_TIMEOUT(status->text().contains("bytes, "), 10000);
            QVERIFY(status->text().startsWith("drip.html: 100000 bytes, 0% completed"));
            QCOMPARE(button->text(), QString("Abort"));
            button->click();
            QCOMPARE(button->text(), QString("Aborting..."));
            QVERIFY(!button->isEnabled());
        });
        dialog.exec();
        QCOMPARE(dialog.result(), DownloadResult::Aborted);
        QCOMPARE(status->text(), QString("Error: Aborted"));
        QCOMPARE(button->text(), QString("Close"));
        QVERIFY(!QFile::exists(folder.path() + "/drip.html"));
    }

    void completedDownloadShowsFinalTexts() {
        LoopbackServer server;
        server.responses["/nolength"] = "HTTP/1.0 200 OK\r\n\r\nabcdef";
        QTemporaryDir folder;
        const std::string url = server.url("/nolength").toStdString();
        const std::string path = (folder.path() + "/n.html").toStdString();
        DownloadDialog dialog(nullptr, QString::fromStdString(path), [=](HttpDownload& download) {
            std::string address = url;
            return downloadToFile(download, 0, address, path).result;
        });
        auto* status = dialog.findChild<QLabel*>("statusLabel");
        dialog.exec();
        QCOMPARE(dialog.result(), DownloadResult::Completed);
        QCOMPARE(status->text(), QString("Completed!"));
        QCOMPARE(dialog.findChild<QLabel*>("timeLeftLabel")->text(), QString("00:00:00"));
        QCOMPARE(readAll(folder.path() + "/n.html"), QByteArray("abcdef"));
    }
};

QTEST_MAIN(WebCommandsTest)
#include "web_commands_test.moc"
