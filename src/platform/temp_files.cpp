#include "platform/temp_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

namespace quorvel {

std::string temporaryFolder() {
    const char* value = std::getenv("TMPDIR");
    struct stat info {};
    if (value != nullptr && value[0] != '\0' && ::stat(value, &info) == 0 &&
        S_ISDIR(info.st_mode)) {
        return value;
    }
    return "/tmp";
}

int openAnonymousTemporaryFile() {
    const std::string folder = temporaryFolder();
    // O_TMPFILE never gives the file a name; file systems without it get a
    // named file that is removed at once.
    const int fd = ::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (fd >= 0) return fd;

    std::string pattern = folder;
    if (pattern.back() != '/') pattern += '/';
    pattern += "quorvel-XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int named = ::mkostemp(name.data(), O_CLOEXEC);
    if (named < 0) return -1;
    ::unlink(name.data());
    return named;
}

}  // namespace quorvel
