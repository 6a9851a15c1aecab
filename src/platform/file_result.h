#pragma once

#include <string>
#include <utility>

namespace quorvel {

struct FileWriteResult;

// The outcome of reading or writing one named file: success, or the file's
// name with the system's reason ("rename: Permission denied"), so that the
// cause reaches the message the user sees.
struct [[nodiscard]] FileResult {
    bool ok = true;
    std::string fileName;
    std::string reason;  // empty on success

    static FileResult success(std::string fileName = {}) { return {true, std::move(fileName), {}}; }
    static FileResult failure(std::string fileName, std::string reason) {
        return {false, std::move(fileName), std::move(reason)};
    }
    // The result of a file replacement; `fileName` is the file replaced.
    static FileResult of(std::string fileName, const FileWriteResult& write);

    explicit operator bool() const { return ok; }
    // "'<file name>': <reason>", empty on success; the caller says what was
    // being done ("cannot write the checker file " + message()).
    std::string message() const;
};

}  // namespace quorvel
