#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace quorvel {

// The operating-system calls the file layer makes, one virtual function per
// call so that tests can make any single step fail. The base class calls the
// POSIX function of the same name and returns what it returns (errno set on
// failure).
class FileCalls {
public:
    virtual ~FileCalls() = default;
    virtual int open(const char* path, int flags, mode_t mode);
    virtual ssize_t read(int fd, void* buffer, size_t size);
    virtual ssize_t pread(int fd, void* buffer, size_t size, off_t offset);
    virtual ssize_t write(int fd, const void* data, size_t size);
    virtual int fsync(int fd);
    virtual int close(int fd);
    virtual int rename(const char* from, const char* to);
    virtual int unlink(const char* path);
    virtual int mkdir(const char* path, mode_t mode);
    virtual int fstat(int fd, struct stat* info);
    virtual int stat(const char* path, struct stat* info);
    virtual int lstat(const char* path, struct stat* info);
    virtual ssize_t readlink(const char* path, char* buffer, size_t size);
    virtual int fchmod(int fd, mode_t mode);
    virtual int fchown(int fd, uid_t owner, gid_t group);
    virtual int access(const char* path, int mode);
    virtual int linkat(int fromFolder, const char* from, int toFolder, const char* to, int flags);
};

// The calls of the running system.
FileCalls& systemFileCalls();

// The largest settings or checker file read: far above any real one, low
// enough that a wrong file (a device, a disk image) cannot take the memory.
inline constexpr std::size_t kMaxSettingsFileBytes = std::size_t{64} << 20;

struct FileReadResult {
    bool opened = false;    // the file could be opened and read to its end
    bool complete = false;  // as many bytes were read as its size announced
    bool tooLarge = false;  // refused: longer than the limit (error is EFBIG)
    int error = 0;          // errno of the failed call when not opened
    std::string bytes;
};

// Reads a whole file as bytes, to its end whatever size it announces (files
// under /proc announce 0). A file that cannot be opened or read, or that holds
// more than maxBytes, gives opened == false and no bytes.
FileReadResult readWholeFile(const std::string& path, FileCalls& calls = systemFileCalls(),
                             std::size_t maxBytes = kMaxSettingsFileBytes);

// A short English reason for a failed read: "larger than 64 MiB" for a file
// refused as too large, else the system's text for its errno.
std::string describeReadFailure(const FileReadResult& result, std::size_t maxBytes);

// Device and inode of a file (links followed): two names of one file have
// the same identity.
struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;
    bool operator==(const FileIdentity&) const = default;
};

// The identity of the regular file a path names; nothing when it does not
// exist or is no regular file (a device or pipe is written in place, so
// writing one never replaces another file).
std::optional<FileIdentity> fileIdentity(const std::string& path,
                                         FileCalls& calls = systemFileCalls());

// The step of a file replacement that failed.
enum class WriteStep { None, Resolve, Folder, Open, Write, Sync, Link, Close, Rename };

struct FileWriteResult {
    WriteStep failedStep = WriteStep::None;
    int error = 0;  // errno of the failed call

    bool ok() const { return failedStep == WriteStep::None; }
    // A short English description such as "write: No space left on device".
    std::string describe() const;
};

// Replaces the content of path with bytes so that a failure at any point
// leaves the previous file untouched: the bytes go to a new file in the same
// folder, are flushed to disk, and that file is renamed over the old one. An
// existing file keeps its permission bits (and, where allowed, its owner); a
// symbolic link is followed and its target replaced, the link kept. No
// temporary file is left behind on failure. Missing folders are not created.
// A device or pipe (such as /dev/null) is written in place, never replaced.
// A file the caller may not write (write-protected) is refused as before,
// although a rename would not need that permission.
FileWriteResult replaceFileContent(const std::string& path, std::string_view bytes,
                                   FileCalls& calls = systemFileCalls());

// A file replacement written piece by piece: open() creates a new file beside
// the target (the target as replaceFileContent resolves it, with its
// permission bits and owner), append() adds bytes to it, commit() flushes it
// to disk and renames it over the target, abandon() removes it. Until commit
// succeeds the previous file stays untouched; a failure at any step removes
// the new file, and an object destroyed before commit abandons its file. A
// device or pipe is opened and written in place instead. After a failure
// every further call returns that first failure.
//
// Where the file system allows it the new file has no name until commit
// links it beside the target for the rename, so a program killed while
// writing leaves nothing behind. Elsewhere it has a name from the start,
// registered with the signal cleanup (see signal_cleanup.h); that name is the
// target's with a short suffix, the target's part cut so that it fits
// wherever the target's name fits.
class FileReplacement {
public:
    explicit FileReplacement(FileCalls& calls = systemFileCalls()) : calls_(calls) {}
    ~FileReplacement();
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;

    FileWriteResult open(const std::string& path);
    FileWriteResult append(std::string_view bytes);
    FileWriteResult commit();
    void abandon();

private:
    FileWriteResult fail(WriteStep step);
    FileWriteResult failAndRemove(WriteStep step);

    bool createNamed();
    bool createNameless();
    bool linkNameless();
    void forgetTempName();

    FileCalls& calls_;
    int fd_ = -1;
    bool inPlace_ = false;   // a device or pipe, written directly
    bool nameless_ = false;  // the new file has no name yet
    std::string target_;     // the file finally replaced
    std::string tempName_;   // the new file's name; empty while it has none
    int cleanupSlot_ = -1;   // tempName_'s slot in the signal cleanup
    FileWriteResult result_;
};

// Writes all of bytes to fd, going on after short writes and interruptions.
// False on the first failure (errno set; EIO when nothing could be written).
bool writeAll(int fd, std::string_view bytes, FileCalls& calls = systemFileCalls());

// Creates the missing folders above path (new folders get mode 0700). True
// when the folder of path exists afterwards (or path has no folder part).
bool ensureFolderFor(const std::string& path, FileCalls& calls = systemFileCalls());

// The name of a temporary file beside `target`: the target's name with
// `suffix` appended, the name cut first where both together would be longer
// than nameMax bytes.
std::string temporaryNameBeside(std::string_view target, std::string_view suffix,
                                std::size_t nameMax);

// The folder part of a path: the text before its last '/', "/" for a file in
// the root, "." when there is no '/'.
std::string folderOfPath(std::string_view path);

// True when path names an existing file of any kind (links are followed).
bool pathExists(const std::string& path, FileCalls& calls = systemFileCalls());

}  // namespace quorvel
