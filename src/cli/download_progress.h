#pragma once

#include <chrono>
#include <iosfwd>
#include <string>

#include "net/http_download.h"

namespace quorvel {

// Exit status of import and update-checker when the download did not complete.
inline constexpr int kExitNotCompleted = 1;

// Shows a download's state on one terminal line of standard error: the
// connection states, then "<name>: ... % completed", the rate and the time
// left, redrawn at most ten times a second.
class TerminalProgress final : public DownloadHooks {
public:
    TerminalProgress(std::ostream& err, std::string fileName);
    // Ends the progress line, so that what follows starts on a line of its own.
    void finish();

    void onStatus(std::uintptr_t context, TransferStatus status, std::string_view data) override;
    bool onProgress(std::uintptr_t context, std::uint64_t received, std::uint64_t total,
                    std::uint64_t bytesPerSecond) override;

private:
    void draw(const std::string& text);

    std::ostream& err_;
    std::string fileName_;
    std::string timeLeft_ = "??:??:??";
    std::chrono::steady_clock::time_point lastDraw_{};
    std::size_t lastWidth_ = 0;
};

// True when standard error is a terminal and `err` writes to it.
bool errIsTerminal(const std::ostream& err);

}  // namespace quorvel
