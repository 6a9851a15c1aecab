#pragma once

namespace quorvel {

// Hands the memory that freed blocks leave unused back to the system, so
// that data read once and dropped (a settings file listing thousands of
// files) does not stay resident while the pages are checked.
void releaseFreedMemory();

}  // namespace quorvel
