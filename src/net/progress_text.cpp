#include "net/progress_text.h"

#include <cstdio>

namespace quorvel {

std::optional<std::string_view> transferStatusText(TransferStatus status) {
    switch (status) {
        case TransferStatus::ResolvingName:
            return "Resolving name...";
        case TransferStatus::NameResolved:
            return "Name resolved!";
        case TransferStatus::ConnectingToServer:
            return "Connecting to server...";
        case TransferStatus::ConnectedToServer:
            return "Connected!";
        case TransferStatus::ClosingConnection:
            return "Closing connection...";
        case TransferStatus::ConnectionClosed:
            return "Connection closed!";
        case TransferStatus::Redirecting:
            return "Redirecting...";
    }
    return std::nullopt;
}

std::string_view fileNameOfPath(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::uint64_t progressPercent(std::uint64_t received, std::uint64_t total) {
    if (total == 0) return 0;
    return static_cast<std::uint64_t>(static_cast<double>(received) * 100.0 /
                                      static_cast<double>(total));
}

std::string progressStatusLine(std::string_view fileName, std::uint64_t received,
                               std::uint64_t total) {
    std::string line(fileName);
    if (total > 0) {
        line += ": " + std::to_string(total) + " bytes, " +
                std::to_string(progressPercent(received, total)) + "% completed";
    } else {
        line += ": downloaded " + std::to_string(received) + " bytes";
    }
    return line;
}

std::string transferRateText(std::uint64_t bytesPerSecond) {
    if (bytesPerSecond == 0) return "?.??";
    char text[64];
    std::snprintf(text, sizeof text, "%1.2f Kb/sec", static_cast<double>(bytesPerSecond) / 1024.0);
    return text;
}

std::optional<std::string> timeLeftText(std::uint64_t received, std::uint64_t total,
                                        std::uint64_t bytesPerSecond) {
    if (bytesPerSecond == 0) return std::nullopt;
    if (total == 0) return "??:??:??";
    // More bytes than announced leave no time, not a wrapped-around one.
    const std::uint64_t seconds = received >= total ? 0 : (total - received) / bytesPerSecond;
    char text[64];
    std::snprintf(text, sizeof text, "%2.2llu:%2.2llu:%2.2llu",
                  static_cast<unsigned long long>(seconds / 3600),
                  static_cast<unsigned long long>(seconds / 60 % 60),
                  static_cast<unsigned long long>(seconds % 60));
    return text;
}

}  // namespace quorvel
