#include "app/web_commands.h"

#include <QFileInfo>
#include <memory>

#include "app/app_state.h"
#include "app/download_dialog.h"
#include "app/message_box.h"
#include "app/text_bytes.h"
#include "app/web_dialogs.h"
#include "net/checker_update.h"
#include "net/http_download.h"
#include "net/url_import.h"
#include "platform/program_paths.h"

namespace quorvel::app {

namespace {

const QString kProgramTitle = QStringLiteral("Quorvel");
const QString kWarningCaption = QStringLiteral("Quorvel Warning");

}  // namespace

std::optional<std::string> importFromUrl(QWidget* parent, AppState& state) {
    UserSettings& settings = state.settings;
    const std::string folder = settings.folder();
    if (folder.empty()) {
        MessageBox::information(parent, kProgramTitle, textFromBytes(kImportFolderGuidance));
        return std::nullopt;
    }
    const std::string homeUrl = settings.homeUrl();
    if (homeUrl.empty())
        MessageBox::warning(parent, kWarningCaption, textFromBytes(kHomeUrlWarning));

    const std::optional<ImportRequest> request =
        ImportUrlDialog::ask(parent, textFromBytes(importStartUrl(homeUrl)));
    if (!request) return std::nullopt;
    std::string url = bytesFromText(request->url);
    if (isBareHttpScheme(url)) {
        MessageBox::information(parent, kProgramTitle, textFromBytes(kSpecifyAnUrl));
        return std::nullopt;
    }
    const std::string name = bytesFromText(request->localName);
    const std::string path = joinFolderAndName(folder, name);
    if (QFileInfo::exists(textFromBytes(path)) &&
        MessageBox::show(parent, QMessageBox::Warning, kWarningCaption,
                         textFromBytes(kOverwriteQuestion), QMessageBox::Yes | QMessageBox::No,
                         QMessageBox::No) != QMessageBox::Yes) {
        return std::nullopt;
    }

    auto outcome = std::make_shared<FileDownloadOutcome>();
    DownloadDialog dialog(parent, textFromBytes(path),
                          [url, path, outcome](HttpDownload& download) {
                              std::string address = url;
                              *outcome = downloadToFile(download, 0, address, path);
                              return outcome->result;
                          });
    dialog.exec();
    if (!outcome->localFileOk) {
        MessageBox::information(parent, kProgramTitle,
                                textFromBytes(kInvalidLocalFile) + textFromBytes(path));
        return std::nullopt;
    }
    if (dialog.result() != DownloadResult::Completed) return std::nullopt;
    if (!addImportedFile(settings, name)) return std::nullopt;
    (void)settings.save();
    return name;
}

std::optional<DownloadResult> updateCheckerFromServer(QWidget* parent, AppState& state) {
    const std::optional<Credentials> login = CheckFileLoginDialog::ask(parent);
    if (!login) return std::nullopt;
    if (login->userName.isEmpty() || login->password.isEmpty()) {
        MessageBox::information(parent, kProgramTitle, textFromBytes(kSpecifyUserAndPassword));
        return std::nullopt;
    }
    const std::string url = checkerUpdateUrl(state.settings);
    if (const auto problem = credentialTransportProblem(url)) {
        MessageBox::error(parent, kProgramTitle, textFromBytes(*problem));
        return std::nullopt;
    }
    const std::string userName = bytesFromText(login->userName);
    const std::string password = bytesFromText(login->password);
    const std::string checkerPath = state.checkerPath;
    DownloadDialog dialog(parent, textFromBytes(checkerPath), [=](HttpDownload& download) {
        return updateCheckerFile(download, 0, url, checkerPath, userName, password).result;
    });
    dialog.exec();
    return dialog.result();
}

}  // namespace quorvel::app
