#pragma once

#include <sys/types.h>

#include <string>
#include <string_view>

namespace quorvel {

// The environment that decides where the user's private folder lies.
struct PrivateFolderEnvironment {
    std::string runtimeDir;  // $XDG_RUNTIME_DIR, may be empty
    std::string tempDir;     // the temporary folder ($TMPDIR or /tmp)
    uid_t uid = 0;           // the user who must own the folder
};
PrivateFolderEnvironment privateFolderEnvironmentFromSystem();

// Where the private folder lies: $XDG_RUNTIME_DIR/quorvel when that variable
// holds an absolute path, else quorvel-<uid> in the temporary folder.
std::string privateFolderPath(const PrivateFolderEnvironment& environment);

// A folder only its user can enter, for files with fixed names (such as the
// HTML report handed to the browser) that another local user must not be
// able to plant or redirect. The folder is made with mode 0700 when missing;
// an existing one is used only when it is a real folder (not a symbolic link)
// owned by the user with no rights for group or others. Files are written
// through the open folder, never through a path another user could change.
class PrivateFolder {
public:
    PrivateFolder() = default;
    ~PrivateFolder();
    PrivateFolder(PrivateFolder&& other) noexcept;
    PrivateFolder& operator=(PrivateFolder&& other) noexcept;
    PrivateFolder(const PrivateFolder&) = delete;
    PrivateFolder& operator=(const PrivateFolder&) = delete;

    // Makes or opens the folder of the environment. On failure ok() is false
    // and problem() tells why.
    static PrivateFolder open(const PrivateFolderEnvironment& environment);

    bool ok() const { return fd_ >= 0; }
    const std::string& path() const { return path_; }
    // Why the folder cannot be used, e.g. "/tmp/quorvel-1000: belongs to
    // another user"; empty when ok().
    const std::string& problem() const { return problem_; }
    // The full path of a file in the folder.
    std::string filePath(std::string_view name) const;

    // Replaces the file `name` (no '/') in the folder with bytes: written to a
    // new file and renamed over the old one, so a symbolic link of that name
    // is replaced, never followed. Returns 0 or the errno of the failed call.
    int writeFile(std::string_view name, std::string_view bytes) const;

private:
    int fd_ = -1;
    std::string path_;
    std::string problem_;
};

}  // namespace quorvel
