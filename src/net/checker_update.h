#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "net/download_result.h"

namespace quorvel {

class HttpDownload;
class UserSettings;

inline constexpr std::string_view kSpecifyUserAndPassword = "Please specify user name and password";

// The address the checker file is updated from: "CheckerUpdateUrl" of the
// "Options" section, so that a team can serve its own, else the built-in
// https address; a stored empty value also gives the built-in one.
std::string checkerUpdateUrl(const UserSettings& settings);

// The backup of the checker file: its path with the extension "chk"
// replaced by "old" ("Quorvel.chk" → "Quorvel.old"); ".old" appended to a
// path without that extension.
std::string checkerBackupPath(std::string_view checkerPath);

// Why a user name and password may not be sent to this address, or empty
// when they may: they travel unencrypted only to this machine.
std::optional<std::string> credentialTransportProblem(std::string_view url);

struct CheckerUpdateOutcome {
    bool started = false;  // false: stopped before anything was fetched (see message)
    DownloadResult result = DownloadResult::UnknownError;
    bool backupWritten = false;  // the checker file was copied to the backup
    bool restored = false;       // the backup was copied back over the checker file
    std::string message;         // why it stopped or failed, in words; empty on success
};

// Replaces the checker file with the one at `url`, sent the user name and
// password: copies the checker file to its backup (an existing backup is
// replaced; a missing checker file makes none), downloads, and on failure
// makes sure the checker file holds what it held before. The credentials
// are set on `download` for this call only.
CheckerUpdateOutcome updateCheckerFile(HttpDownload& download, std::uintptr_t context,
                                       std::string url, const std::string& checkerPath,
                                       std::string_view userName, std::string_view password);

}  // namespace quorvel
