#pragma once

#include <cstdint>

#include "crash/crash_state.h"
#include "crash/proc_maps.h"
#include "crash/safe_text.h"

namespace quorvel::crash {

// Writes the error log of a fault to `fd`. Safe inside a signal handler:
// text is built in a fixed buffer that is written out whenever more than
// 7168 bytes wait before the next line, memory is read only through
// readOwnMemory. False when a write failed.
bool writeErrorLog(int fd, const CrashSetup& setup, const FaultRecord& fault,
                   const MapsSnapshot& maps);

// "month/day/year hh:mm:ss" of a UTC time moved by `utcOffsetSeconds`, with
// the seconds rounded down to an even number.
void appendLocalTime(SafeText& out, std::int64_t utcSeconds, long utcOffsetSeconds);

}  // namespace quorvel::crash
