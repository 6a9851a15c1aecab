#pragma once

// The Project page's two web commands: import a page from a URL into the
// project folder, and replace the checker file with the one on the update
// server.

#include <optional>
#include <string>

#include "net/download_result.h"

class QWidget;

namespace quorvel::app {

struct AppState;

// The import command. Returns the name added to the current project's file
// list (and saved), or nothing when nothing was added.
std::optional<std::string> importFromUrl(QWidget* parent, AppState& state);

// The update command. Returns the download's result, or nothing when the
// command stopped before downloading. On failure the checker file holds
// what it held before. The caller refreshes what shows the checker file.
std::optional<DownloadResult> updateCheckerFromServer(QWidget* parent, AppState& state);

}  // namespace quorvel::app
