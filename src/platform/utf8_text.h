#pragma once

#include <string_view>

namespace quorvel {

// Whether the bytes are well-formed UTF-8: no overlong forms, no surrogates,
// nothing above U+10FFFF, no sequence cut short. Runs of ASCII cost one
// comparison a byte.
bool isValidUtf8(std::string_view bytes);

}  // namespace quorvel
