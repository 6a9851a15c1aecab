#pragma once

// The core keeps texts as bytes. Windows show them as UTF-8 when they are
// valid UTF-8 and as one character per byte otherwise; what the user types is
// stored as UTF-8.

#include <QString>
#include <string>
#include <string_view>

#include "platform/utf8_text.h"

namespace quorvel::app {

// The bytes as a window shows them.
QString textFromBytes(std::string_view bytes);
// What the user typed, as UTF-8 bytes.
std::string bytesFromText(const QString& text);
// The bytes to store for a text that was shown from `original`: the original
// bytes when the text is unchanged (so 8-bit texts that are not UTF-8 survive
// an edit of some other field), otherwise the text as UTF-8.
std::string bytesFromText(const QString& text, std::string_view original);

}  // namespace quorvel::app
