#include "platform/file_result.h"

#include "platform/file_io.h"

namespace quorvel {

FileResult FileResult::of(std::string fileName, const FileWriteResult& write) {
    if (write.ok()) return success(std::move(fileName));
    return failure(std::move(fileName), write.describe());
}

std::string FileResult::message() const {
    if (ok) return {};
    return "'" + fileName + "': " + reason;
}

}  // namespace quorvel
