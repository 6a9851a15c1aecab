#pragma once

#include "crash/crash_state.h"
#include "crash/proc_maps.h"

namespace quorvel::crash {

// Writes a minidump of the faulting thread to `fd` (a new, empty file):
// system information, the exception with the thread's registers, the thread
// list with the thread's stack, the loaded images with their build ids, the
// memory around the instruction pointer, and the Linux streams of the
// processor information, process status, distribution release, command
// line, environment, auxiliary vector and memory map. Safe inside a signal
// handler. False when a write failed.
bool writeMinidump(int fd, const CrashSetup& setup, const FaultRecord& fault,
                   const MapsSnapshot& maps);

}  // namespace quorvel::crash
