#include "platform/private_folder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <random>
#include <utility>

#include "platform/file_io.h"
#include "platform/temp_files.h"

namespace quorvel {

namespace {

// The last part of a path and the folder above it.
std::pair<std::string, std::string> splitLastPart(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return {".", path};
    return {slash == 0 ? "/" : path.substr(0, slash), path.substr(slash + 1)};
}

std::string errorText(int error) {
    return std::strerror(error);
}

}  // namespace

PrivateFolderEnvironment privateFolderEnvironmentFromSystem() {
    PrivateFolderEnvironment environment;
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR")) environment.runtimeDir = runtime;
    environment.tempDir = temporaryFolder();
    environment.uid = ::getuid();
    return environment;
}

std::string privateFolderPath(const PrivateFolderEnvironment& environment) {
    if (!environment.runtimeDir.empty() && environment.runtimeDir.front() == '/') {
        std::string path = environment.runtimeDir;
        if (path.back() != '/') path += '/';
        return path + "quorvel";
    }
    std::string path = environment.tempDir.empty() ? std::string("/tmp") : environment.tempDir;
    if (path.back() != '/') path += '/';
    return path + "quorvel-" + std::to_string(environment.uid);
}

PrivateFolder::~PrivateFolder() {
    if (fd_ >= 0) ::close(fd_);
}

PrivateFolder::PrivateFolder(PrivateFolder&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)),
      path_(std::move(other.path_)),
      problem_(std::move(other.problem_)) {}

PrivateFolder& PrivateFolder::operator=(PrivateFolder&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = std::exchange(other.fd_, -1);
        path_ = std::move(other.path_);
        problem_ = std::move(other.problem_);
    }
    return *this;
}

PrivateFolder PrivateFolder::open(const PrivateFolderEnvironment& environment) {
    PrivateFolder folder;
    folder.path_ = privateFolderPath(environment);
    const auto fail = [&folder](const std::string& why) {
        folder.problem_ = folder.path_ + ": " + why;
        return std::move(folder);
    };
    const auto [parentPath, name] = splitLastPart(folder.path_);

    // The parent may itself be a link (/tmp often is); the folder inside it
    // is made and opened relative to it, and never through a link.
    const int parent = ::open(parentPath.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (parent < 0) return fail(errorText(errno));
    if (::mkdirat(parent, name.c_str(), 0700) != 0 && errno != EEXIST) {
        const int error = errno;
        ::close(parent);
        return fail(errorText(error));
    }
    const int fd = ::openat(parent, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    const int openError = errno;
    ::close(parent);
    if (fd < 0) {
        if (openError == ELOOP || openError == ENOTDIR)
            return fail("is a symbolic link or not a folder");
        return fail(errorText(openError));
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        const int error = errno;
        ::close(fd);
        return fail(errorText(error));
    }
    if (info.st_uid != environment.uid) {
        ::close(fd);
        return fail("belongs to another user");
    }
    if ((info.st_mode & 077) != 0) {
        ::close(fd);
        return fail("can be entered by other users");
    }
    folder.fd_ = fd;
    return folder;
}

std::string PrivateFolder::filePath(std::string_view name) const {
    std::string path = path_;
    if (path.empty() || path.back() != '/') path += '/';
    return path.append(name);
}

int PrivateFolder::writeFile(std::string_view name, std::string_view bytes) const {
    if (fd_ < 0) return EBADF;
    if (name.empty() || name.find('/') != std::string_view::npos) return EINVAL;
    const std::string target(name);

    std::random_device random;
    std::string temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
        temporary = "." + target + "." + std::to_string(random()) + ".new";
        fd = ::openat(fd_, temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                      0600);
        if (fd < 0 && errno != EEXIST) return errno;
    }
    if (fd < 0) return EEXIST;
    int error = 0;
    if (!writeAll(fd, bytes)) error = errno;
    if (::close(fd) != 0 && error == 0) error = errno;
    if (error == 0 && ::renameat(fd_, temporary.c_str(), fd_, target.c_str()) != 0) error = errno;
    if (error != 0) ::unlinkat(fd_, temporary.c_str(), 0);
    return error;
}

}  // namespace quorvel
