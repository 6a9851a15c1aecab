#include "net/download_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/file_io.h"

namespace quorvel {

ReplacingDownloadFile::~ReplacingDownloadFile() {
    abandon();
}

bool ReplacingDownloadFile::fail(std::string_view step) {
    error_ = std::string(step) + " '" + target_ + "': " + std::strerror(errno);
    return false;
}

bool ReplacingDownloadFile::open(const std::string& target) {
    abandon();
    target_ = target;
    // A link stays a link: the file it points to is the one replaced.
    struct stat link {};
    if (::lstat(target.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
        char* resolved = ::realpath(target.c_str(), nullptr);
        if (resolved != nullptr) {
            target_ = resolved;
            std::free(resolved);
        }
    }
    written_ = 0;
    pending_.clear();
    struct stat info {};
    const bool exists = ::stat(target_.c_str(), &info) == 0;
    if (exists && S_ISDIR(info.st_mode)) {
        errno = EISDIR;
        return fail("cannot write");
    }
    const std::string folder = folderOfPath(target_);
    const std::size_t slash = target_.rfind('/');
    const std::string name = slash == std::string::npos ? target_ : target_.substr(slash + 1);
    std::string pattern = folder + "/." + name + ".download-XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    fd_ = ::mkostemp(buffer.data(), O_CLOEXEC);
    if (fd_ < 0) return fail("cannot create a file beside");
    tempName_ = buffer.data();
    // The new file gets the old file's permission bits, or those a newly
    // created file would get.
    mode_t mode = 0;
    if (exists) {
        mode = info.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    ::fchmod(fd_, mode);
    return true;
}

bool ReplacingDownloadFile::restartAt(std::uint64_t position) {
    if (fd_ < 0) return false;
    if (position > size()) {
        error_ = "the server resumed at byte " + std::to_string(position) + " of a file of " +
                 std::to_string(size()) + " bytes";
        return false;
    }
    if (!writePending()) return false;
    if (::ftruncate(fd_, static_cast<off_t>(position)) != 0) return fail("cannot write");
    written_ = position;
    return true;
}

bool ReplacingDownloadFile::write(std::string_view bytes) {
    if (fd_ < 0) return false;
    pending_ += bytes;
    return pending_.size() < kPendingLimit || writePending();
}

bool ReplacingDownloadFile::writePending() {
    std::string_view bytes = pending_;
    while (!bytes.empty()) {
        const ssize_t written =
            ::pwrite(fd_, bytes.data(), bytes.size(), static_cast<off_t>(written_));
        if (written < 0) {
            if (errno == EINTR) continue;
            return fail("cannot write");
        }
        written_ += static_cast<std::uint64_t>(written);
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    pending_.clear();
    return true;
}

bool ReplacingDownloadFile::flush() {
    // Into the system's cache; commit syncs to disk.
    return fd_ >= 0 && writePending();
}

bool ReplacingDownloadFile::commit() {
    if (fd_ < 0) return false;
    if (!writePending() || ::fsync(fd_) != 0) {
        fail("cannot write");
        abandon();
        return false;
    }
    ::close(fd_);
    fd_ = -1;
    if (::rename(tempName_.c_str(), target_.c_str()) != 0) {
        fail("cannot replace");
        ::unlink(tempName_.c_str());
        tempName_.clear();
        return false;
    }
    tempName_.clear();
    return true;
}

void ReplacingDownloadFile::abandon() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    if (!tempName_.empty()) ::unlink(tempName_.c_str());
    tempName_.clear();
}

}  // namespace quorvel
