#include "net/http_download.h"

#include <array>
#include <charconv>

#include "net/curl_transport.h"
#include "platform/ascii_text.h"

namespace quorvel {

namespace {

constexpr auto kSampleInterval = std::chrono::milliseconds(2000);
// Request headers longer than this are left out of the log.
constexpr std::size_t kMaxLoggedRequestHeaders = 512;

// A decimal number at the start of text (after blanks); nullopt when there
// is none or it does not fit 64 bits.
std::optional<std::uint64_t> leadingNumber(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end == text.data()) return std::nullopt;
    return value;
}

// "bytes 100-199/1000": the first byte sent and the total size (0 for "*").
struct ContentRange {
    std::uint64_t first = 0;
    std::uint64_t total = 0;
};
ContentRange parseContentRange(std::string_view value) {
    ContentRange range;
    const std::size_t digit = value.find_first_of("0123456789");
    if (digit != std::string_view::npos && digit < value.find('/')) {
        range.first = leadingNumber(value.substr(digit)).value_or(0);
    }
    const std::size_t slash = value.find('/');
    if (slash != std::string_view::npos) {
        range.total = leadingNumber(value.substr(slash + 1)).value_or(0);
    }
    return range;
}

// The request headers with the value of any credentials replaced.
std::string withoutSecrets(std::string_view headers) {
    std::string out;
    std::size_t start = 0;
    while (start < headers.size()) {
        std::size_t end = headers.find('\n', start);
        end = end == std::string_view::npos ? headers.size() : end + 1;
        const std::string_view line = headers.substr(start, end - start);
        if (startsWithIgnoringAsciiCase(line, "Authorization:") ||
            startsWithIgnoringAsciiCase(line, "Proxy-Authorization:")) {
            out += line.substr(0, line.find(':') + 1);
            out += " (hidden)\r\n";
        } else {
            out += line;
        }
        start = end;
    }
    return out;
}

bool isRedirect(int status) {
    // 307 and 308 mean the same as 302 and 301 for a GET.
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

}  // namespace

bool DownloadHooks::onStart(std::uintptr_t) {
    return true;
}
bool DownloadHooks::onRedirect(std::uintptr_t, const std::string&) {
    return true;
}
void DownloadHooks::onRangeSupport(std::uintptr_t, bool) {}
void DownloadHooks::onStatus(std::uintptr_t, TransferStatus, std::string_view) {}
bool DownloadHooks::onTimestamp(std::uintptr_t, std::string_view) {
    return true;
}
bool DownloadHooks::onProgress(std::uintptr_t, std::uint64_t, std::uint64_t, std::uint64_t) {
    return true;
}

std::optional<std::string> headerValue(std::string_view headers, std::string_view name) {
    std::size_t start = 0;
    while (start < headers.size()) {
        std::size_t end = headers.find('\n', start);
        if (end == std::string_view::npos) end = headers.size();
        std::string_view line = headers.substr(start, end - start);
        if (line.size() > name.size() && line[name.size()] == ':' &&
            startsWithIgnoringAsciiCase(line, name)) {
            line.remove_prefix(name.size() + 1);
            while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) {
                line.remove_prefix(1);
            }
            while (!line.empty() &&
                   (line.back() == ' ' || line.back() == '\t' || line.back() == '\r')) {
                line.remove_suffix(1);
            }
            return std::string(line);
        }
        start = end + 1;
    }
    return std::nullopt;
}

HttpDownload::HttpDownload(std::unique_ptr<HttpTransport> transport, DownloadHooks* hooks)
    : transport_(transport ? std::move(transport) : makeCurlTransport()),
      hooks_(hooks != nullptr ? hooks : &defaultHooks_),
      clock_([] { return std::chrono::steady_clock::now(); }) {}

void HttpDownload::setHooks(DownloadHooks* hooks) {
    hooks_ = hooks != nullptr ? hooks : &defaultHooks_;
}

void HttpDownload::setBlockSize(int bytes) {
    blockSize_ = bytes > kMaxBlockSize ? kMaxBlockSize : (bytes < 1 ? 1 : bytes);
}

DownloadResult HttpDownload::getFile(std::uintptr_t context, std::string& url, DownloadFile& file,
                                     std::uint64_t startOffset, std::string* log) {
    rangeSupport_ = false;
    lastError_.clear();
    // The credentials belong to the address they were given for.
    credentialOrigin_ = splitUrl(withDefaultScheme(url));
    int attemptsLeft = kAttempts;
    int redirects = 0;
    DownloadResult result = DownloadResult::UnknownError;
    while (true) {
        result = attempt(context, url, file, startOffset, log);
        if (result == DownloadResult::Moved) {
            if (++redirects > kMaxRedirects) {
                lastError_ = "more than " + std::to_string(kMaxRedirects) + " redirects";
                return DownloadResult::BadUrl;
            }
            attemptsLeft = kAttempts;
        }
        --attemptsLeft;
        // A redirect is not followed once an abort was asked for.
        if (result == DownloadResult::Moved && aborted()) return DownloadResult::Aborted;
        if (attemptsLeft <= 0 || aborted()) break;
        if (result != DownloadResult::Moved && result != DownloadResult::Timeout) break;
    }
    return result;
}

DownloadResult HttpDownload::attempt(std::uintptr_t context, std::string& url, DownloadFile& file,
                                     std::uint64_t startOffset, std::string* log) {
    lastError_.clear();
    if (log != nullptr) {
        *log += "\r\n### GetFile: " + urlWithoutCredentials(url) + ", Local File = " + file.path() +
                "\r\n";
    }
    if (!transport_->open(userAgent_, limits_)) {
        lastError_ = transport_->errorText();
        return DownloadResult::BadSession;
    }
    const DownloadResult result = exchange(context, url, file, startOffset, log);
    transport_->close();
    return result;
}

DownloadResult HttpDownload::exchange(std::uintptr_t context, std::string& url, DownloadFile& file,
                                      std::uint64_t startOffset, std::string* log) {
    if (!hooks_->onStart(context)) return DownloadResult::Aborted;

    const std::string fullUrl = withDefaultScheme(url);
    const std::optional<Url> target = splitUrl(fullUrl);
    if (!target) {
        lastError_ = std::string("'")
                         .append(urlWithoutCredentials(fullUrl))
                         .append("' is not an http or https address");
        return DownloadResult::BadUrl;
    }
    std::string userName = target->userName;
    std::string password = target->password;
    if ((!userName_.empty() || !password_.empty()) && credentialOrigin_ &&
        sameOrigin(*target, *credentialOrigin_)) {
        userName = userName_;
        password = password_;
    }
    if ((!userName.empty() || !password.empty()) && !target->secure() &&
        !isLoopbackHost(target->host)) {
        lastError_ = "the user name and password are not sent unencrypted to " + target->host +
                     "; an https:// address is needed";
        return DownloadResult::BadUrl;
    }
    if (!transport_->connect(*target, userName, password)) {
        lastError_ = transport_->errorText();
        return DownloadResult::BadSession;
    }
    transport_->setStatusHook([this, context](TransferStatus status, std::string_view data) {
        hooks_->onStatus(context, status, data);
    });

    std::vector<std::string> requestLines = {"Pragma: no-cache", "Cache-Control: no-cache"};
    if (startOffset > 0)
        requestLines.push_back("Range: bytes=" + std::to_string(startOffset) + "-");
    if (!transport_->request(requestLines)) {
        lastError_ = transport_->errorText();
        return DownloadResult::BadUrl;
    }

    const SendResult sent = transport_->send(abort_);
    if (log != nullptr && !transport_->requestHeaders().empty() &&
        transport_->requestHeaders().size() <= kMaxLoggedRequestHeaders) {
        *log += "Request Header:\n" + withoutSecrets(transport_->requestHeaders()) + "\n";
    }
    switch (sent) {
        case SendResult::Sent:
            break;
        case SendResult::NotConnected:
            lastError_ = transport_->errorText();
            return DownloadResult::NotConnected;
        case SendResult::Aborted:
            return DownloadResult::Aborted;
        case SendResult::Failed:
            lastError_ = transport_->errorText();
            return DownloadResult::UnknownError;
    }
    if (aborted()) return DownloadResult::Aborted;

    const std::string& headers = transport_->responseHeaders();
    if (log != nullptr) *log += "Response Header:\n" + headers + "\n";
    if (const std::optional<std::string> modified = headerValue(headers, "Last-Modified")) {
        if (!hooks_->onTimestamp(context, *modified) || aborted()) return DownloadResult::Aborted;
    }
    if (startOffset > 0) {
        rangeSupport_ = headerValue(headers, "Content-Range").has_value();
    } else {
        const std::optional<std::string> ranges = headerValue(headers, "Accept-Ranges");
        rangeSupport_ = ranges.has_value() && *ranges != "none";
    }
    hooks_->onRangeSupport(context, rangeSupport_);

    const int status = transport_->statusCode();
    if (isRedirect(status)) {
        const std::optional<std::string> location = headerValue(headers, "Location");
        if (!location || location->empty()) {
            lastError_ = "the server redirected without naming a new address";
            return DownloadResult::BadUrl;
        }
        url = resolveLocation(*target, *location);
        hooks_->onStatus(context, TransferStatus::Redirecting, urlWithoutCredentials(url));
        return hooks_->onRedirect(context, url) ? DownloadResult::Moved : DownloadResult::BadUrl;
    }
    if (status == 206) {
        const ContentRange range =
            parseContentRange(headerValue(headers, "Content-Range").value_or(""));
        if (!hooks_->onProgress(context, range.first, range.total, 1))
            return DownloadResult::Aborted;
        if (!file.restartAt(range.first)) {
            lastError_ = file.errorText();
            return DownloadResult::Aborted;
        }
        return transfer(context, file, range.first, range.total);
    }
    if (status == 200) {
        const std::uint64_t total =
            leadingNumber(headerValue(headers, "Content-Length").value_or("")).value_or(0);
        // The whole resource comes again: whatever an earlier attempt or a
        // refused range left in the file goes.
        if (!file.restartAt(0)) {
            lastError_ = file.errorText();
            return DownloadResult::Aborted;
        }
        return transfer(context, file, 0, total);
    }
    lastError_ = "the server answered with status " + std::to_string(status);
    if (status == 401 || status == 402) return DownloadResult::AuthRequired;
    return DownloadResult::BadUrl;
}

DownloadResult HttpDownload::transfer(std::uintptr_t context, DownloadFile& file,
                                      std::uint64_t received, std::uint64_t total) {
    auto lastSample = clock_();
    auto nextSample = lastSample + kSampleInterval;
    std::uint64_t bytesSinceSample = 0;
    std::uint64_t rate = 0;
    std::array<char, kMaxBlockSize> buffer{};
    ReadResult read;
    do {
        read = transport_->read(
            std::span<char>(buffer.data(), static_cast<std::size_t>(blockSize_)), abort_);
        if (aborted()) return DownloadResult::Aborted;
        if (read.ok && read.size > 0) {
            if (!file.write(std::string_view(buffer.data(), read.size))) {
                lastError_ = file.errorText();
                return DownloadResult::Aborted;
            }
            received += read.size;
            bytesSinceSample += read.size;
        }
        const auto now = clock_();
        if (now > nextSample) {
            const auto elapsed =
                std::chrono::duration_cast<std::chrono::milliseconds>(now - lastSample).count();
            rate = elapsed > 0 ? bytesSinceSample * 1000 / static_cast<std::uint64_t>(elapsed) : 0;
            bytesSinceSample = 0;
            lastSample = now;
            nextSample = now + kSampleInterval;
            file.flush();
        }
        if (!hooks_->onProgress(context, received, total, rate)) return DownloadResult::Aborted;
    } while (read.ok && read.size > 0 && !aborted());

    if (total > 0 && received != total && !aborted()) {
        lastError_ = std::to_string(received) + " of " + std::to_string(total) + " bytes arrived";
        if (!read.ok && !transport_->errorText().empty())
            lastError_ += ": " + transport_->errorText();
        return DownloadResult::Timeout;
    }
    if (!read.ok || aborted()) {
        lastError_ = transport_->errorText();
        return DownloadResult::Aborted;
    }
    return DownloadResult::Completed;
}

FileDownloadOutcome downloadToFile(HttpDownload& download, std::uintptr_t context, std::string& url,
                                   const std::string& path) {
    FileDownloadOutcome outcome;
    download.clearAbort();
    ReplacingDownloadFile file;
    if (url.empty() || path.empty() || !file.open(path)) {
        outcome.localFileOk = false;
        outcome.message = std::string(kInvalidLocalFile) + path;
        return outcome;
    }
    outcome.result = download.getFile(context, url, file);
    if (outcome.result != DownloadResult::Completed) {
        outcome.message = download.lastError();
        return outcome;
    }
    if (file.size() == 0) return outcome;  // nothing arrived: no file
    if (!file.commit()) {
        outcome.result = DownloadResult::Aborted;
        outcome.message = file.errorText();
        return outcome;
    }
    outcome.written = true;
    return outcome;
}

}  // namespace quorvel
