#include "platform/file_io.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstring>
#include <utility>

#include "platform/signal_cleanup.h"

namespace quorvel {

int FileCalls::open(const char* path, int flags, mode_t mode) {
    return ::open(path, flags, mode);
}
ssize_t FileCalls::read(int fd, void* buffer, size_t size) {
    return ::read(fd, buffer, size);
}
ssize_t FileCalls::pread(int fd, void* buffer, size_t size, off_t offset) {
    return ::pread(fd, buffer, size, offset);
}
ssize_t FileCalls::write(int fd, const void* data, size_t size) {
    return ::write(fd, data, size);
}
int FileCalls::fsync(int fd) {
    return ::fsync(fd);
}
int FileCalls::close(int fd) {
    return ::close(fd);
}
int FileCalls::rename(const char* from, const char* to) {
    return ::rename(from, to);
}
int FileCalls::unlink(const char* path) {
    return ::unlink(path);
}
int FileCalls::mkdir(const char* path, mode_t mode) {
    return ::mkdir(path, mode);
}
int FileCalls::fstat(int fd, struct stat* info) {
    return ::fstat(fd, info);
}
int FileCalls::stat(const char* path, struct stat* info) {
    return ::stat(path, info);
}
int FileCalls::lstat(const char* path, struct stat* info) {
    return ::lstat(path, info);
}
ssize_t FileCalls::readlink(const char* path, char* buffer, size_t size) {
    return ::readlink(path, buffer, size);
}
int FileCalls::fchmod(int fd, mode_t mode) {
    return ::fchmod(fd, mode);
}
int FileCalls::fchown(int fd, uid_t owner, gid_t group) {
    return ::fchown(fd, owner, group);
}
int FileCalls::access(const char* path, int mode) {
    return ::access(path, mode);
}
int FileCalls::linkat(int fromFolder, const char* from, int toFolder, const char* to, int flags) {
    return ::linkat(fromFolder, from, toFolder, to, flags);
}

FileCalls& systemFileCalls() {
    static FileCalls calls;
    return calls;
}

FileReadResult readWholeFile(const std::string& path, FileCalls& calls, std::size_t maxBytes) {
    FileReadResult result;
    int fd;
    do {
        fd = calls.open(path.c_str(), O_RDONLY | O_CLOEXEC, 0);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        result.error = errno;
        return result;
    }
    auto fail = [&](int error) {
        result.error = error;
        result.tooLarge = error == EFBIG;
        std::string().swap(result.bytes);
        calls.close(fd);
        return std::move(result);
    };
    struct stat info {};
    const bool sized = calls.fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    if (sized && static_cast<std::uintmax_t>(info.st_size) > maxBytes) return fail(EFBIG);
    if (sized) result.bytes.reserve(static_cast<std::size_t>(info.st_size));

    // The size announced is only a hint: the file is read to its end.
    char buffer[65536];
    for (;;) {
        const ssize_t got = calls.read(fd, buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR) continue;
            return fail(errno);
        }
        if (got == 0) break;
        if (static_cast<std::size_t>(got) > maxBytes - result.bytes.size()) return fail(EFBIG);
        result.bytes.append(buffer, static_cast<std::size_t>(got));
    }
    calls.close(fd);
    result.opened = true;
    result.complete = !sized || result.bytes.size() == static_cast<std::size_t>(info.st_size);
    return result;
}

std::string describeReadFailure(const FileReadResult& result, std::size_t maxBytes) {
    if (result.tooLarge) {
        if (maxBytes % (std::size_t{1} << 20) == 0) {
            return "larger than " + std::to_string(maxBytes >> 20) + " MiB";
        }
        return "larger than " + std::to_string(maxBytes) + " bytes";
    }
    return std::strerror(result.error != 0 ? result.error : EIO);
}

std::optional<FileIdentity> fileIdentity(const std::string& path, FileCalls& calls) {
    struct stat info {};
    if (calls.stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
    return FileIdentity{info.st_dev, info.st_ino};
}

std::string FileWriteResult::describe() const {
    const char* step = "";
    switch (failedStep) {
        case WriteStep::None:
            return "ok";
        case WriteStep::Resolve:
            step = "resolve link";
            break;
        case WriteStep::Folder:
            step = "create folder";
            break;
        case WriteStep::Open:
            step = "create";
            break;
        case WriteStep::Write:
            step = "write";
            break;
        case WriteStep::Sync:
            step = "flush";
            break;
        case WriteStep::Close:
            step = "close";
            break;
        case WriteStep::Link:
            step = "link";
            break;
        case WriteStep::Rename:
            step = "rename";
            break;
    }
    return std::string(step) + ": " + std::strerror(error);
}

std::string temporaryNameBeside(std::string_view target, std::string_view suffix,
                                std::size_t nameMax) {
    const std::size_t slash = target.rfind('/');
    const std::size_t nameStart = slash == std::string_view::npos ? 0 : slash + 1;
    std::size_t nameLength = target.size() - nameStart;
    // The name must fit in the folder, and the whole path in a call.
    std::size_t room = nameMax > suffix.size() ? nameMax - suffix.size() : 0;
    if (nameStart + room + suffix.size() >= PATH_MAX) {
        room =
            PATH_MAX - 1 > nameStart + suffix.size() ? PATH_MAX - 1 - nameStart - suffix.size() : 0;
    }
    nameLength = std::min(nameLength, room);
    std::string name(target.substr(0, nameStart + nameLength));
    name += suffix;
    return name;
}

std::string folderOfPath(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string_view::npos) return ".";
    if (slash == 0) return "/";
    return std::string(path.substr(0, slash));
}

bool pathExists(const std::string& path, FileCalls& calls) {
    struct stat info {};
    return calls.stat(path.c_str(), &info) == 0;
}

namespace {

// Follows symbolic links from path to the file they finally name (which need
// not exist yet). Empty when a link cannot be read or the chain is too long.
std::string resolveLinks(const std::string& path, FileCalls& calls) {
    std::string current = path;
    for (int hop = 0; hop < 40; ++hop) {
        struct stat info {};
        if (calls.lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return current;
        std::string target(4096, '\0');
        const ssize_t length = calls.readlink(current.c_str(), target.data(), target.size());
        if (length <= 0 || static_cast<std::size_t>(length) >= target.size()) return {};
        target.resize(static_cast<std::size_t>(length));
        if (target.front() == '/') {
            current = target;
        } else {
            const std::size_t slash = current.rfind('/');
            current = (slash == std::string::npos ? std::string() : current.substr(0, slash + 1)) +
                      target;
        }
    }
    errno = ELOOP;
    return {};
}

// The suffix of a temporary name: unique to this process and call.
std::string nextTemporarySuffix() {
    static std::atomic<unsigned> counter{0};
    return ".tmp" + std::to_string(::getpid()) + "-" + std::to_string(counter.fetch_add(1));
}

// The longest file name the folder of target takes.
std::size_t nameMaxBeside(const std::string& target) {
    const long max = ::pathconf(folderOfPath(target).c_str(), _PC_NAME_MAX);
    return max > 0 ? static_cast<std::size_t>(max) : NAME_MAX;
}

// Makes the rename itself durable; a failure here cannot be undone, so it is
// not reported.
void syncFolder(const std::string& folder, FileCalls& calls) {
    const int fd = calls.open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0);
    if (fd < 0) return;
    calls.fsync(fd);
    calls.close(fd);
}

}  // namespace

FileReplacement::~FileReplacement() {
    abandon();
}

FileWriteResult FileReplacement::fail(WriteStep step) {
    result_.failedStep = step;
    result_.error = errno ? errno : EIO;
    return result_;
}

// Closes and removes the new file, keeping the errno of the failed call.
FileWriteResult FileReplacement::failAndRemove(WriteStep step) {
    const int error = errno ? errno : EIO;
    abandon();
    errno = error;
    return fail(step);
}

// A new file without a name in the target's folder. Linking it needs
// /proc/self/fd, so without that the named way is taken from the start.
bool FileReplacement::createNameless() {
    if (calls_.access("/proc/self/fd", X_OK) != 0) return false;
    fd_ = calls_.open(folderOfPath(target_).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    nameless_ = fd_ >= 0;
    return nameless_;
}

// A new file beside the target under a name no other file has, registered
// for removal should a signal end the program.
bool FileReplacement::createNamed() {
    const std::size_t nameMax = nameMaxBeside(target_);
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = temporaryNameBeside(target_, nextTemporarySuffix(), nameMax);
        const CleanupSignalsHeld held;
        fd_ = calls_.open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd_ >= 0) {
            tempName_ = std::move(name);
            cleanupSlot_ = registerTemporaryFile(tempName_);
            return true;
        }
        if (errno != EEXIST) return false;
    }
    return false;
}

// Gives the nameless file a temporary name beside the target, for the rename.
bool FileReplacement::linkNameless() {
    const std::string self = "/proc/self/fd/" + std::to_string(fd_);
    const std::size_t nameMax = nameMaxBeside(target_);
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = temporaryNameBeside(target_, nextTemporarySuffix(), nameMax);
        const CleanupSignalsHeld held;
        if (calls_.linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
            tempName_ = std::move(name);
            cleanupSlot_ = registerTemporaryFile(tempName_);
            nameless_ = false;
            return true;
        }
        if (errno != EEXIST) return false;
    }
    return false;
}

void FileReplacement::forgetTempName() {
    unregisterTemporaryFile(std::exchange(cleanupSlot_, -1));
    tempName_.clear();
}

FileWriteResult FileReplacement::open(const std::string& path) {
    abandon();
    result_ = {};
    errno = 0;

    target_ = resolveLinks(path, calls_);
    if (target_.empty()) return fail(WriteStep::Resolve);

    struct stat old {};
    const bool replacing = calls_.stat(target_.c_str(), &old) == 0;
    if (replacing && calls_.access(target_.c_str(), W_OK) != 0) return fail(WriteStep::Open);

    // A device or a pipe (such as /dev/null or a FIFO) cannot be replaced by
    // renaming; it is written in place.
    if (replacing && !S_ISREG(old.st_mode)) {
        fd_ = calls_.open(target_.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC, 0);
        if (fd_ < 0) return fail(WriteStep::Open);
        inPlace_ = true;
        return result_;
    }

    if (!createNameless() && !createNamed()) return fail(WriteStep::Open);
    if (replacing) {
        calls_.fchmod(fd_, old.st_mode & 07777);
        if (old.st_uid != ::geteuid() || old.st_gid != ::getegid()) {
            calls_.fchown(fd_, old.st_uid, old.st_gid);  // allowed only to the privileged
        }
    }
    return result_;
}

FileWriteResult FileReplacement::append(std::string_view bytes) {
    if (!result_.ok()) return result_;
    if (fd_ < 0) {
        errno = EBADF;
        return fail(WriteStep::Write);
    }
    if (!writeAll(fd_, bytes, calls_)) return failAndRemove(WriteStep::Write);
    return result_;
}

FileWriteResult FileReplacement::commit() {
    if (!result_.ok()) return result_;
    if (fd_ < 0) {
        errno = EBADF;
        return fail(WriteStep::Write);
    }
    errno = 0;
    if (inPlace_) {
        const int fd = std::exchange(fd_, -1);
        inPlace_ = false;
        if (calls_.close(fd) != 0) return fail(WriteStep::Close);
        return result_;
    }
    if (calls_.fsync(fd_) != 0) return failAndRemove(WriteStep::Sync);
    if (nameless_ && !linkNameless()) return failAndRemove(WriteStep::Link);
    const int fd = std::exchange(fd_, -1);
    if (calls_.close(fd) != 0) return failAndRemove(WriteStep::Close);
    if (calls_.rename(tempName_.c_str(), target_.c_str()) != 0) {
        return failAndRemove(WriteStep::Rename);
    }
    forgetTempName();
    syncFolder(folderOfPath(target_), calls_);
    return result_;
}

void FileReplacement::abandon() {
    if (fd_ >= 0) calls_.close(std::exchange(fd_, -1));
    if (!tempName_.empty()) {
        calls_.unlink(tempName_.c_str());
        forgetTempName();
    }
    inPlace_ = false;
    nameless_ = false;
}

FileWriteResult replaceFileContent(const std::string& path, std::string_view bytes,
                                   FileCalls& calls) {
    FileReplacement replacement(calls);
    if (const FileWriteResult opened = replacement.open(path); !opened.ok()) return opened;
    if (const FileWriteResult written = replacement.append(bytes); !written.ok()) return written;
    return replacement.commit();
}

bool ensureFolderFor(const std::string& path, FileCalls& calls) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos || slash == 0) return true;
    const std::string folder = path.substr(0, slash);

    struct stat info {};
    if (calls.stat(folder.c_str(), &info) == 0) return S_ISDIR(info.st_mode);

    // Create each missing level from the top down.
    for (std::size_t next = folder.find('/', 1);; next = folder.find('/', next + 1)) {
        const std::string level = folder.substr(0, next);
        if (calls.mkdir(level.c_str(), 0700) != 0 && errno != EEXIST) return false;
        if (next == std::string::npos) break;
    }
    return calls.stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool writeAll(int fd, std::string_view bytes, FileCalls& calls) {
    while (!bytes.empty()) {
        const ssize_t written = calls.write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) {
            if (written == 0) errno = EIO;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

}  // namespace quorvel
