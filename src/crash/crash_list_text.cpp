#include <unistd.h>

#include "crash/crash_files.h"

// The list file's text, built inside the signal handler.

namespace quorvel {
namespace crash {

namespace {

const char* firstExisting(const char* const (&candidates)[2]) {
    for (const char* path : candidates) {
        if (path != nullptr && path[0] != '\0' && ::access(path, F_OK) == 0) return path;
    }
    return nullptr;
}

}  // namespace

void formatCrashList(SafeText& out, const CrashListCandidates& candidates) {
    out.text("[FilesToAdd]\r\n");
    out.text("File001=ERRORLOG.TXT,Error description and details,Log file\r\n");
    out.text("File002=CRASH.DMP,Process memory dump,Debug file\r\n");
    struct {
        const char* path;
        const char* description;
        const char* kind;
    } const extras[] = {
        {firstExisting(candidates.settings), "User Settings File", "Settings"},
        {firstExisting(candidates.checker), "Checker File", "VEV Settings"},
    };
    int number = 3;
    for (const auto& extra : extras) {
        if (extra.path == nullptr) continue;
        out.text("File")
            .dec0(static_cast<std::uint64_t>(number++), 3)
            .byte('=')
            .text(extra.path)
            .byte(',')
            .text(extra.description)
            .byte(',')
            .text(extra.kind)
            .text("\r\n");
    }
}

}  // namespace crash
}  // namespace quorvel
