#pragma once

// Reading a keyword file: plain text, one keyword or phrase per line.

#include <string>
#include <string_view>
#include <vector>

namespace quorvel::app {

// The keywords of a file's content in file order: lines end at LF, CR and LF
// at a line's end are dropped, blanks and tabs around the text are dropped
// (the settings file would not keep leading ones), blank lines are skipped,
// and a UTF-8 byte order mark at the start is ignored. Bytes are otherwise
// kept as they are. A line repeated in the file is returned each time.
std::vector<std::string> keywordLines(std::string_view content);

}  // namespace quorvel::app
