#include "cli/download_progress.h"

#include <unistd.h>

#include <iostream>

#include "net/progress_text.h"

namespace quorvel {

namespace {

constexpr auto kRedrawInterval = std::chrono::milliseconds(100);

}  // namespace

TerminalProgress::TerminalProgress(std::ostream& err, std::string fileName)
    : err_(err), fileName_(std::move(fileName)) {}

void TerminalProgress::draw(const std::string& text) {
    err_ << '\r' << text;
    if (text.size() < lastWidth_) err_ << std::string(lastWidth_ - text.size(), ' ');
    err_.flush();
    lastWidth_ = text.size();
}

void TerminalProgress::finish() {
    if (lastWidth_ > 0) err_ << '\n';
    err_.flush();
    lastWidth_ = 0;
}

void TerminalProgress::onStatus(std::uintptr_t, TransferStatus status, std::string_view) {
    if (const std::optional<std::string_view> text = transferStatusText(status)) {
        draw(std::string(*text));
    }
}

bool TerminalProgress::onProgress(std::uintptr_t, std::uint64_t received, std::uint64_t total,
                                  std::uint64_t bytesPerSecond) {
    const auto now = std::chrono::steady_clock::now();
    if (now - lastDraw_ < kRedrawInterval && (total == 0 || received < total)) return true;
    lastDraw_ = now;
    if (std::optional<std::string> left = timeLeftText(received, total, bytesPerSecond)) {
        timeLeft_ = std::move(*left);
    }
    draw(progressStatusLine(fileName_, received, total) + "  " + transferRateText(bytesPerSecond) +
         "  " + timeLeft_);
    return true;
}

bool errIsTerminal(const std::ostream& err) {
    return err.rdbuf() == std::cerr.rdbuf() && ::isatty(STDERR_FILENO) == 1;
}

}  // namespace quorvel
