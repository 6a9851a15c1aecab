#include "platform/file_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <thread>
#include <utility>

namespace quorvel {

namespace {

constexpr std::chrono::milliseconds kRetryPause{5};

bool sameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

}  // namespace

// Opens the file the name stands for now, creating it when it is missing.
bool FileUpdateLock::openLockFile() {
    created_ = false;
    for (int attempt = 0; attempt < 100; ++attempt) {
        fd_ = calls_.open(path_.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY, 0);
        if (fd_ >= 0 || errno != ENOENT) return fd_ >= 0;
        fd_ = calls_.open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
        if (fd_ >= 0) {
            created_ = true;
            return true;
        }
        if (errno != EEXIST) return false;  // created by another meanwhile: open that one
    }
    return false;
}

FileUpdateLock::Outcome FileUpdateLock::lock(const std::string& path,
                                             std::chrono::milliseconds wait) {
    release();
    path_ = path;
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (;;) {
        if (!openLockFile()) return Outcome::Failed;
        if (::flock(fd_, LOCK_EX | LOCK_NB) == 0) {
            // Still the file the name stands for? A holder may have renamed a
            // new file over it before letting go.
            struct stat held {};
            struct stat named {};
            if (calls_.fstat(fd_, &held) == 0 && calls_.stat(path_.c_str(), &named) == 0 &&
                sameFile(held, named)) {
                return Outcome::Locked;
            }
            calls_.close(std::exchange(fd_, -1));
            continue;
        }
        const int error = errno;
        calls_.close(std::exchange(fd_, -1));
        if (error != EWOULDBLOCK && error != EINTR) {
            errno = error;
            return Outcome::Failed;
        }
        if (std::chrono::steady_clock::now() >= deadline) return Outcome::Busy;
        std::this_thread::sleep_for(kRetryPause);
    }
}

void FileUpdateLock::release() {
    if (fd_ < 0) return;
    if (created_) {
        // The empty file made to hold the lock goes again unless it was
        // written (or replaced) meanwhile.
        struct stat held {};
        struct stat named {};
        if (calls_.fstat(fd_, &held) == 0 && calls_.stat(path_.c_str(), &named) == 0 &&
            sameFile(held, named) && named.st_size == 0) {
            calls_.unlink(path_.c_str());
        }
    }
    calls_.close(std::exchange(fd_, -1));
    created_ = false;
}

}  // namespace quorvel
