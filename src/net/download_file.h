#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quorvel {

// The local file a download writes into.
class DownloadFile {
public:
    virtual ~DownloadFile() = default;
    // The name shown in logs and progress texts.
    virtual const std::string& path() const = 0;
    // Drops everything from `position` on and writes there next; false when
    // the file holds fewer bytes than that, or on a file error.
    virtual bool restartAt(std::uint64_t position) = 0;
    virtual bool write(std::string_view bytes) = 0;
    virtual bool flush() = 0;
    // The bytes the file holds.
    virtual std::uint64_t size() const = 0;
    // Why the last operation failed, in words.
    virtual std::string errorText() const = 0;
};

// A download that replaces a file only when it has completed: the bytes go to
// a new file in the target's folder, which commit() flushes to disk and
// renames over the target (keeping an existing target's permission bits);
// abandon(), or destruction before commit, removes it. Until commit the
// target stays untouched.
class ReplacingDownloadFile final : public DownloadFile {
public:
    ReplacingDownloadFile() = default;
    ~ReplacingDownloadFile() override;
    ReplacingDownloadFile(const ReplacingDownloadFile&) = delete;
    ReplacingDownloadFile& operator=(const ReplacingDownloadFile&) = delete;

    // Creates the new file beside `target`; false (with errorText) when the
    // folder does not exist or is not writable, or target is a folder.
    bool open(const std::string& target);
    bool commit();
    void abandon();

    const std::string& path() const override { return target_; }
    bool restartAt(std::uint64_t position) override;
    bool write(std::string_view bytes) override;
    bool flush() override;
    std::uint64_t size() const override { return written_ + pending_.size(); }
    std::string errorText() const override { return error_; }

private:
    bool fail(std::string_view step);
    bool writePending();

    // Blocks arrive small; they reach the file in pieces of this size.
    static constexpr std::size_t kPendingLimit = 64 * 1024;

    int fd_ = -1;
    std::string target_;
    std::string tempName_;
    std::uint64_t written_ = 0;  // bytes in the file, all before `pending_`
    std::string pending_;
    std::string error_;
};

}  // namespace quorvel
