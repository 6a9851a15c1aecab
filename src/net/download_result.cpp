#include "net/download_result.h"

namespace quorvel {

std::string_view downloadStatusText(int code) {
    switch (static_cast<DownloadResult>(code)) {
        case DownloadResult::Completed:
            return "Completed!";
        case DownloadResult::BadSession:
            return "Error: Bad session";
        case DownloadResult::BadUrl:
            return "Error: Bad url";
        case DownloadResult::NotConnected:
            return "Error: You are not connected";
        case DownloadResult::Aborted:
            return "Error: Aborted";
        case DownloadResult::Timeout:
            return "Error: Timeout";
        case DownloadResult::Moved:
            return "Error: Location has moved";
        case DownloadResult::AuthRequired:
            return "Error: Authorization required";
        case DownloadResult::UnknownError:
            break;
    }
    return "Error: Unknown";
}

}  // namespace quorvel
