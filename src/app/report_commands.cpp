#include "app/report_commands.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QProcess>
#include <cstring>

#include "app/app_state.h"
#include "app/external_tools.h"
#include "app/file_dialog.h"
#include "app/message_box.h"
#include "app/text_bytes.h"
#include "checks/analysis_run.h"
#include "platform/dates.h"
#include "platform/file_io.h"
#include "platform/private_folder.h"
#include "report/report_export.h"
#include "report/report_header.h"
#include "report/report_list.h"
#include "report/report_mail.h"

namespace quorvel::app {

namespace {

const QString kExportErrorCaption = QStringLiteral("Quorvel Error Message");
const QString kNoTemporaryFolderText = QStringLiteral(
    "Sorry, I cannot find a temporary folder where to create the Quorvel HTML Report");

// The wait cursor for the life of the object.
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

QString bytesText(std::string_view bytes) {
    return textFromBytes(bytes);
}

void showWriteError(QWidget* parent, const QString& path, const QString& reason) {
    MessageBox::error(parent, kExportErrorCaption,
                      QStringLiteral("Cannot write the file:\n\n%1\n\n%2").arg(path, reason));
}

// The user's private folder, or the message about it shown and no folder.
std::optional<PrivateFolder> openPrivateFolder(QWidget* parent) {
    PrivateFolder folder = PrivateFolder::open(privateFolderEnvironmentFromSystem());
    if (folder.ok()) return folder;
    MessageBox::error(
        parent, kExportErrorCaption,
        kNoTemporaryFolderText + QStringLiteral("\n\n") + bytesText(folder.problem()));
    return std::nullopt;
}

// Writes a file of the private folder; false (with the message shown) when
// it cannot be written.
bool writePrivateFile(QWidget* parent, const PrivateFolder& folder, const char* name,
                      std::string_view bytes) {
    const int error = folder.writeFile(name, bytes);
    if (error == 0) return true;
    showWriteError(parent, bytesText(folder.filePath(name)),
                   QString::fromLocal8Bit(std::strerror(error)));
    return false;
}

void showMailError(QWidget* parent, int code) {
    if (code == kMailSuccess || code == kMailUserAbort) return;
    MessageBox::error(parent, kExportErrorCaption, QStringLiteral("Mapi error %1").arg(code));
}

}  // namespace

ReportHeader currentReportHeader(const AppState& state) {
    return makeReportHeader(state.settings.currentProject(), runInputsFromSettings(state.settings),
                            state.settings.currentEngine(), state.checker);
}

std::string buildReport(const AppState& state, const ReportList& list, ReportFormat format) {
    const ReportHeader header = currentReportHeader(state);
    if (format == ReportFormat::Text) return buildTextReport(list.rows(), header);
    const EngineRules rules = state.checker.resolve(state.settings.currentEngine());
    return buildHtmlReport(list.rows(), header, rules, currentLocalDateTime().year);
}

bool exportReport(QWidget* parent, const AppState& state, const ReportList& list,
                  ReportFormat format) {
    const bool text = format == ReportFormat::Text;
    const QString filter =
        text ? QStringLiteral("Text Files (*.txt)") : QStringLiteral("Html Files (*.html *.htm)");
    const QString proposed = QStringLiteral("Quorvel-") +
                             bytesText(state.settings.currentProject()) +
                             (text ? QStringLiteral(".txt") : QString());
    QString path = FileDialog::saveFileName(parent, QStringLiteral("Save As"), proposed, filter);
    if (path.isEmpty()) return false;
    // The text export's default extension, for a name typed without one.
    if (text && QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".txt");

    QApplication::processEvents();
    FileWriteResult result;
    {
        WaitCursor wait;
        const std::string report = buildReport(state, list, format);
        result = replaceFileContent(QFile::encodeName(path).toStdString(), report);
    }
    if (result.ok()) return true;
    showWriteError(parent, path, bytesText(result.describe()));
    return false;
}

void copyReport(const AppState& state, const ReportList& list, ReportFormat format) {
    QApplication::clipboard()->setText(bytesText(buildReport(state, list, format)));
}

QString showHtmlReport(QWidget* parent, const AppState& state, const ReportList& list) {
    if (list.empty()) return {};
    const std::optional<PrivateFolder> folder = openPrivateFolder(parent);
    if (!folder) return {};
    if (!writePrivateFile(parent, *folder, kHtmlReportFileName,
                          buildReport(state, list, ReportFormat::Html)))
        return {};
    const QString path = bytesText(folder->filePath(kHtmlReportFileName));
    openWithTool(parent, state.settings, ExternalTool::Open, path);
    return path;
}

void sendReportMail(QWidget* parent, const AppState& state, const ReportList& list) {
    if (list.empty()) {
        MessageBox::error(
            parent, kExportErrorCaption,
            QStringLiteral("No Report to send!\nPlease first press the Start button"));
        return;
    }
    const std::optional<PrivateFolder> folder = openPrivateFolder(parent);
    if (!folder) return;
    if (!writePrivateFile(parent, *folder, kHtmlReportFileName,
                          buildReport(state, list, ReportFormat::Html)))
        return;
    std::vector<std::string> attachments{folder->filePath(kHtmlReportFileName)};
    const std::string textReport = buildReport(state, list, ReportFormat::Text);
    const MailBody body = mailBody(textReport);
    if (body.cut) {
        if (!writePrivateFile(parent, *folder, kTextReportFileName, textReport)) return;
        attachments.push_back(folder->filePath(kTextReportFileName));
    }

    QStringList arguments;
    for (const std::string& argument : mailProgramArguments(body.text, attachments))
        arguments.append(bytesText(argument));
    // Without a parent: a mail client that the mail program runs in the
    // foreground must outlive this window, and even the program.
    auto* process = new QProcess;
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    QPointer<QWidget> window(parent);
    QObject::connect(process, &QProcess::errorOccurred, process,
                     [process, window](QProcess::ProcessError error) {
                         if (error != QProcess::FailedToStart) return;
                         showMailError(window, mailResultOfExit(std::nullopt, false));
                         process->deleteLater();
                     });
    QObject::connect(process, &QProcess::finished, process,
                     [process, window](int exitCode, QProcess::ExitStatus status) {
                         const std::optional<int> exit = status == QProcess::NormalExit
                                                             ? std::optional<int>(exitCode)
                                                             : std::nullopt;
                         showMailError(window, mailResultOfExit(exit, true));
                         process->deleteLater();
                     });
    process->start(bytesText(kMailProgram), arguments);
}

}  // namespace quorvel::app
