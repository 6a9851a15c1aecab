#pragma once

#include <chrono>
#include <string>

#include "platform/file_io.h"

namespace quorvel {

// An advisory lock (flock) that serialises the read-modify-write of a file
// replaced by renaming, such as the settings and checker files: take it
// before the file is read and keep it until the new file has been renamed
// over the old one. Every program that changes the file takes it, so no
// change is lost between another's read and its rename.
//
// The lock lies on the file itself. A rename gives the name a new file, so a
// lock taken on the file a name no longer names is let go and taken again on
// the new one. A file that does not exist yet is created empty to hold the
// lock (an empty settings or checker file reads as a missing one); when it is
// still empty on release it is removed again.
class FileUpdateLock {
public:
    enum class Outcome {
        Locked,  // the lock is held
        Busy,    // another program held it for the whole wait
        Failed,  // the file could not be opened or created (errno set)
    };

    explicit FileUpdateLock(FileCalls& calls = systemFileCalls()) : calls_(calls) {}
    ~FileUpdateLock() { release(); }
    FileUpdateLock(const FileUpdateLock&) = delete;
    FileUpdateLock& operator=(const FileUpdateLock&) = delete;

    // Takes the lock on the file `path` names (links followed), waiting at
    // most `wait` for another holder to let it go.
    Outcome lock(const std::string& path, std::chrono::milliseconds wait);
    // Lets the lock go; nothing when none is held.
    void release();

private:
    bool openLockFile();

    FileCalls& calls_;
    std::string path_;
    int fd_ = -1;
    bool created_ = false;  // the file was created to hold the lock
};

}  // namespace quorvel
