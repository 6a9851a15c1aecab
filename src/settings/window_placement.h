#pragma once

#include "settings/profile_file.h"

namespace quorvel {

// A saved window rectangle moved, never resized, so that it lies within the
// desktop, in this order: a right edge beyond the desktop's moves it left,
// then a left edge left of the desktop's moves it right, then a top above the
// desktop's moves it down, then a bottom below the desktop's moves it up. So
// a window wider than the desktop ends at the desktop's left edge, and one
// taller ends at its bottom edge. The show state is kept.
Rect fitIntoDesktop(Rect window, const Rect& desktop);

}  // namespace quorvel
