#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "net/http_transport.h"

namespace quorvel {

// The texts a download window or a terminal shows while a download runs.

// The status line for a connection state; empty for states that leave the
// line as it is.
std::optional<std::string_view> transferStatusText(TransferStatus status);

// The part of a path after its last '/'.
std::string_view fileNameOfPath(std::string_view path);

// received × 100 ÷ total, truncated; 0 when the total is unknown.
std::uint64_t progressPercent(std::uint64_t received, std::uint64_t total);

// "<name>: <total> bytes, <percent>% completed" when the total is known,
// else "<name>: downloaded <received> bytes".
std::string progressStatusLine(std::string_view fileName, std::uint64_t received,
                               std::uint64_t total);

// "12.34 Kb/sec" (bytes per second ÷ 1024), or "?.??" before a rate is known.
std::string transferRateText(std::uint64_t bytesPerSecond);

// "HH:MM:SS" left at this rate when the total is known, "??:??:??" when it
// is not; empty (the text stays as it was) while the rate is 0.
std::optional<std::string> timeLeftText(std::uint64_t received, std::uint64_t total,
                                        std::uint64_t bytesPerSecond);

}  // namespace quorvel
