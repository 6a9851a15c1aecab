#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "net/download_file.h"
#include "net/download_result.h"
#include "net/http_transport.h"

namespace quorvel {

// What a download tells the one who started it, in this order: start,
// connection states, redirects, range support, timestamp, progress. Every
// hook runs on the thread that called getFile (a worker thread in the
// desktop program, which forwards them to its window), receives the
// caller's context value first, and must not block for long. The defaults
// do nothing and let the download go on.
class DownloadHooks {
public:
    virtual ~DownloadHooks() = default;
    // False abandons the download with Aborted.
    virtual bool onStart(std::uintptr_t context);
    // The server sent the client to `newUrl`. True follows it (after the
    // attempt ends with Moved); false ends the download with BadUrl.
    virtual bool onRedirect(std::uintptr_t context, const std::string& newUrl);
    virtual void onRangeSupport(std::uintptr_t context, bool supported);
    virtual void onStatus(std::uintptr_t context, TransferStatus status, std::string_view data);
    // The response's Last-Modified text. False: Aborted.
    virtual bool onTimestamp(std::uintptr_t context, std::string_view lastModified);
    // Bytes received so far, the total size (0 when not announced) and the
    // rate in bytes per second (0 until measured). False: Aborted.
    virtual bool onProgress(std::uintptr_t context, std::uint64_t received, std::uint64_t total,
                            std::uint64_t bytesPerSecond);
};

// Downloads single files with HTTP GET requests: three attempts for an
// incomplete transfer, redirects followed through onRedirect (at most
// kMaxRedirects), byte ranges, progress with a transfer rate, and an
// optional log of the exchanged headers.
class HttpDownload {
public:
    static constexpr std::string_view kDefaultUserAgent =
        "Mozilla/4.0 (compatible; MSIE 6.0; IE Agent;)";
    static constexpr int kDefaultBlockSize = 128;
    static constexpr int kMaxBlockSize = 256;
    static constexpr int kAttempts = 3;
    static constexpr int kMaxRedirects = 20;
    using Clock = std::function<std::chrono::steady_clock::time_point()>;

    // Without a transport the libcurl one is used; without hooks the
    // defaults.
    explicit HttpDownload(std::unique_ptr<HttpTransport> transport = nullptr,
                          DownloadHooks* hooks = nullptr);

    void setHooks(DownloadHooks* hooks);
    void setUserAgent(std::string_view userAgent) { userAgent_ = std::string(userAgent); }
    const std::string& userAgent() const { return userAgent_; }
    // Values above kMaxBlockSize are lowered to it, values below 1 raised to 1.
    void setBlockSize(int bytes);
    int blockSize() const { return blockSize_; }
    // The credentials sent to the first URL's scheme, host and port only,
    // and never in clear text except to a loopback address. Never logged.
    void setUserName(std::string_view name) { userName_ = std::string(name); }
    void setPassword(std::string_view password) { password_ = std::string(password); }
    void setLimits(const TransferLimits& limits) { limits_ = limits; }
    const TransferLimits& limits() const { return limits_; }
    // The clock of the rate samples (tests set a scripted one).
    void setClock(Clock clock) { clock_ = std::move(clock); }

    // Safe from any thread: the running download ends with Aborted at its
    // next step. Cleared by the caller (clearAbort) before a new download.
    void requestAbort() { abort_.store(true); }
    void clearAbort() { abort_.store(false); }
    bool abortRequested() const { return abort_.load(); }

    // Whether the last response said that the server serves byte ranges.
    bool rangeSupport() const { return rangeSupport_; }
    // Why the last attempt failed, in words (empty when it did not); never
    // holds a password.
    const std::string& lastError() const { return lastError_; }

    // Downloads `url` into `file`, which already holds `startOffset` bytes
    // (0 for a whole file; more asks the server for the rest). `url` becomes
    // the final address after redirects. With a log, the addresses and the
    // headers of every attempt are appended to it.
    DownloadResult getFile(std::uintptr_t context, std::string& url, DownloadFile& file,
                           std::uint64_t startOffset = 0, std::string* log = nullptr);

private:
    DownloadResult attempt(std::uintptr_t context, std::string& url, DownloadFile& file,
                           std::uint64_t startOffset, std::string* log);
    DownloadResult exchange(std::uintptr_t context, std::string& url, DownloadFile& file,
                            std::uint64_t startOffset, std::string* log);
    DownloadResult transfer(std::uintptr_t context, DownloadFile& file, std::uint64_t received,
                            std::uint64_t total);
    bool aborted() const { return abort_.load(); }

    std::unique_ptr<HttpTransport> transport_;
    DownloadHooks defaultHooks_;
    DownloadHooks* hooks_;
    std::string userAgent_{kDefaultUserAgent};
    int blockSize_ = kDefaultBlockSize;
    std::string userName_;
    std::string password_;
    TransferLimits limits_;
    Clock clock_;
    std::atomic<bool> abort_{false};
    bool rangeSupport_ = false;
    std::string lastError_;
    std::optional<Url> credentialOrigin_;
};

// The value of the first header line called `name` (letter case ignored) in
// a block of response headers, without surrounding blanks; empty when none.
std::optional<std::string> headerValue(std::string_view headers, std::string_view name);

}  // namespace quorvel

namespace quorvel {

inline constexpr std::string_view kInvalidLocalFile = "Invalid local file specification: ";

// The outcome of downloading into a named file.
struct FileDownloadOutcome {
    DownloadResult result = DownloadResult::UnknownError;
    bool localFileOk = true;  // false: the local file could not be created; nothing was fetched
    bool written = false;     // the target now holds the downloaded bytes
    std::string message;      // why it failed, in words; empty on success
};

// Clears the abort flag and downloads `url` (the final address afterwards)
// into the file at `path`. The file is replaced only when the download
// completes with at least one byte; otherwise an existing file stays as it
// was and no file is left behind.
FileDownloadOutcome downloadToFile(HttpDownload& download, std::uintptr_t context, std::string& url,
                                   const std::string& path);

}  // namespace quorvel
