#pragma once

#include <fcntl.h>

#include <cerrno>
#include <set>
#include <string>

#include "platform/file_io.h"

namespace quorvel::testing {

// The real file calls, except for one fault injected where a test asks for
// it. Faults apply to files whose path contains pathPart (all when empty);
// the write faults apply to files created through these calls.
class FaultyFileCalls : public FileCalls {
public:
    enum class Fault {
        None,
        CreateFile,      // creating a new file fails (no permission)
        ShortWrite,      // the first write stores half its bytes, the next finds the disk full
        Sync,            // flushing to disk fails
        Close,           // closing reports a delayed write error
        Rename,          // renaming over the target fails
        ShortRead,       // the file's size is announced larger than what can be read
        WriteProtected,  // the file may not be written
        NoNameless,      // the file system cannot make a file without a name
    };

    explicit FaultyFileCalls(Fault fault, std::string pathPart = {})
        : fault_(fault), pathPart_(std::move(pathPart)) {}

    int open(const char* path, int flags, mode_t mode) override {
        const bool nameless = (flags & O_TMPFILE) == O_TMPFILE;
        if (nameless && fault_ == Fault::NoNameless) {
            errno = EOPNOTSUPP;
            return -1;
        }
        const bool creating = (flags & O_CREAT) != 0 || nameless;
        if (creating && fault_ == Fault::CreateFile && matches(path)) {
            errno = EACCES;
            return -1;
        }
        const int fd = FileCalls::open(path, flags, mode);
        if (fd >= 0 && matches(path)) {
            (creating ? created_ : opened_).insert(fd);
        }
        return fd;
    }
    ssize_t write(int fd, const void* data, size_t size) override {
        if (fault_ == Fault::ShortWrite && created_.count(fd) != 0) {
            if (!shortWriteDone_) {
                shortWriteDone_ = true;
                return FileCalls::write(fd, data, size / 2);
            }
            errno = ENOSPC;
            return -1;
        }
        return FileCalls::write(fd, data, size);
    }
    int fsync(int fd) override {
        if (fault_ == Fault::Sync && created_.count(fd) != 0) {
            errno = EIO;
            return -1;
        }
        return FileCalls::fsync(fd);
    }
    int close(int fd) override {
        const bool fail = fault_ == Fault::Close && created_.count(fd) != 0;
        created_.erase(fd);
        opened_.erase(fd);
        const int result = FileCalls::close(fd);
        if (fail) {
            errno = EIO;
            return -1;
        }
        return result;
    }
    // A file made without a name gets its name here: creating it fails here.
    int linkat(int fromFolder, const char* from, int toFolder, const char* to, int flags) override {
        if (fault_ == Fault::CreateFile && matches(to)) {
            errno = EACCES;
            return -1;
        }
        return FileCalls::linkat(fromFolder, from, toFolder, to, flags);
    }
    int rename(const char* from, const char* to) override {
        ++renames;
        if (fault_ == Fault::Rename && matches(to)) {
            errno = EXDEV;
            return -1;
        }
        return FileCalls::rename(from, to);
    }
    int fstat(int fd, struct stat* info) override {
        const int result = FileCalls::fstat(fd, info);
        if (result == 0 && fault_ == Fault::ShortRead && opened_.count(fd) != 0) {
            info->st_size += 10;
        }
        return result;
    }

    int access(const char* path, int mode) override {
        if (fault_ == Fault::WriteProtected && (mode & W_OK) != 0 && matches(path)) {
            errno = EACCES;
            return -1;
        }
        return FileCalls::access(path, mode);
    }

    int renames = 0;

private:
    bool matches(const char* path) const {
        return pathPart_.empty() || std::string(path).find(pathPart_) != std::string::npos;
    }

    Fault fault_;
    std::string pathPart_;
    bool shortWriteDone_ = false;
    std::set<int> created_;
    std::set<int> opened_;
};

}  // namespace quorvel::testing
