#include "net/checker_update.h"

#include "net/http_download.h"
#include "net/url.h"
#include "platform/file_io.h"
#include "settings/user_settings.h"

namespace quorvel {

std::string checkerUpdateUrl(const UserSettings& settings) {
    std::string url = settings.option(TextOption::CheckerUpdateUrl);
    if (!url.empty()) return url;
    return std::string(
        textOptionRows()[static_cast<std::size_t>(TextOption::CheckerUpdateUrl)].defaultValue);
}

std::string checkerBackupPath(std::string_view checkerPath) {
    constexpr std::string_view kExtension = ".chk";
    const std::size_t slash = checkerPath.rfind('/');
    const std::string_view name =
        slash == std::string_view::npos ? checkerPath : checkerPath.substr(slash + 1);
    if (name.size() > kExtension.size() &&
        name.substr(name.size() - kExtension.size()) == kExtension) {
        return std::string(checkerPath.substr(0, checkerPath.size() - 3)) + "old";
    }
    return std::string(checkerPath) + ".old";
}

std::optional<std::string> credentialTransportProblem(std::string_view url) {
    const std::optional<Url> parts = splitUrl(withDefaultScheme(url));
    if (!parts)
        return std::string("'")
            .append(urlWithoutCredentials(url))
            .append("' is not an http or https address");
    if (parts->secure() || isLoopbackHost(parts->host)) return std::nullopt;
    return "The user name and password would travel unencrypted to " + parts->host +
           ": the update address must begin with https://";
}

CheckerUpdateOutcome updateCheckerFile(HttpDownload& download, std::uintptr_t context,
                                       std::string url, const std::string& checkerPath,
                                       std::string_view userName, std::string_view password) {
    CheckerUpdateOutcome outcome;
    if (userName.empty() || password.empty()) {
        outcome.message = kSpecifyUserAndPassword;
        return outcome;
    }
    if (std::optional<std::string> problem = credentialTransportProblem(url)) {
        outcome.message = std::move(*problem);
        return outcome;
    }

    const std::string backupPath = checkerBackupPath(checkerPath);
    const FileReadResult previous = readWholeFile(checkerPath);
    if (previous.opened) {
        const FileWriteResult backup = replaceFileContent(backupPath, previous.bytes);
        if (!backup.ok()) {
            outcome.message = "cannot write the backup '" + backupPath + "': " + backup.describe();
            return outcome;
        }
        outcome.backupWritten = true;
    }

    outcome.started = true;
    download.setUserName(userName);
    download.setPassword(password);
    const FileDownloadOutcome fetched = downloadToFile(download, context, url, checkerPath);
    download.setUserName({});
    download.setPassword({});
    outcome.result = fetched.result;
    outcome.message = fetched.message;
    if (!fetched.localFileOk) outcome.result = DownloadResult::UnknownError;
    if (outcome.result == DownloadResult::Completed || !outcome.backupWritten) return outcome;

    // The file is only replaced by a complete download; put the backup back
    // only if something else changed it, so that its date stays as it was.
    const FileReadResult now = readWholeFile(checkerPath);
    if (now.opened && now.bytes == previous.bytes) return outcome;
    const FileReadResult backup = readWholeFile(backupPath);
    if (backup.opened && replaceFileContent(checkerPath, backup.bytes).ok())
        outcome.restored = true;
    return outcome;
}

}  // namespace quorvel
