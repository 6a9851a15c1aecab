#pragma once

#include <string_view>

namespace quorvel {

// The result of one download; 0 is success. The values are stored and shown
// by callers, so they never change.
enum class DownloadResult : int {
    Completed = 0,
    BadSession = 1,     // the session or the connection could not be opened
    BadUrl = 2,         // bad or unsupported URL, unexpected status, refused redirect
    NotConnected = 3,   // the host is unreachable or its name does not resolve
    Aborted = 4,        // aborted by a hook or the abort flag, or the transfer broke
    Timeout = 7,        // fewer or more bytes arrived than announced
    Moved = 8,          // the server redirected; the URL holds the new target
    AuthRequired = 9,   // status 401 or 402
    UnknownError = 10,  // sending the request failed for another reason
};

// The status text shown for a result code; "Error: Unknown" for any code
// without a text of its own.
std::string_view downloadStatusText(int code);
inline std::string_view downloadStatusText(DownloadResult result) {
    return downloadStatusText(static_cast<int>(result));
}

}  // namespace quorvel
