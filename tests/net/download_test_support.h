#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "net/http_download.h"

namespace quorvel::testing {

// A local file held in memory.
class MemoryFile final : public DownloadFile {
public:
    explicit MemoryFile(std::string bytes = {}) : bytes_(std::move(bytes)) {}
    const std::string& path() const override { return path_; }
    bool restartAt(std::uint64_t position) override {
        if (position > bytes_.size()) return false;
        bytes_.resize(position);
        ++restarts;
        return true;
    }
    bool write(std::string_view bytes) override {
        bytes_ += bytes;
        return true;
    }
    bool flush() override {
        ++flushes;
        return true;
    }
    std::uint64_t size() const override { return bytes_.size(); }
    std::string errorText() const override { return {}; }
    const std::string& bytes() const { return bytes_; }
    int restarts = 0;
    int flushes = 0;

private:
    std::string path_ = "/site/page.htm";
    std::string bytes_;
};

// Every hook call as a line of text, in order.
class RecordingHooks final : public DownloadHooks {
public:
    bool onStart(std::uintptr_t) override {
        calls.push_back("start");
        return startAnswer;
    }
    bool onRedirect(std::uintptr_t, const std::string& url) override {
        calls.push_back("redirect " + url);
        return redirectAnswer;
    }
    void onRangeSupport(std::uintptr_t, bool supported) override {
        calls.push_back(std::string("ranges ") + (supported ? "yes" : "no"));
    }
    void onStatus(std::uintptr_t, TransferStatus status, std::string_view) override {
        calls.push_back("status " + std::to_string(static_cast<int>(status)));
    }
    bool onTimestamp(std::uintptr_t, std::string_view text) override {
        calls.push_back("timestamp " + std::string(text));
        return true;
    }
    bool onProgress(std::uintptr_t, std::uint64_t received, std::uint64_t total,
                    std::uint64_t rate) override {
        calls.push_back("progress " + std::to_string(received) + "/" + std::to_string(total) +
                        " @" + std::to_string(rate));
        if (abortAfterProgress != nullptr && --progressBeforeAbort == 0) {
            abortAfterProgress->requestAbort();
        }
        return true;
    }
    // The calls that start with `prefix`.
    std::vector<std::string> only(std::string_view prefix) const {
        std::vector<std::string> out;
        for (const std::string& call : calls) {
            if (call.rfind(prefix, 0) == 0) out.push_back(call);
        }
        return out;
    }
    std::vector<std::string> calls;
    bool startAnswer = true;
    bool redirectAnswer = true;
    HttpDownload* abortAfterProgress = nullptr;
    int progressBeforeAbort = 0;
};

// One scripted answer of the fake transport.
struct ScriptedResponse {
    ScriptedResponse(SendResult send = SendResult::Sent, int status = 200, std::string headers = {},
                     std::string body = {}, bool breaks = false)
        : send(send),
          status(status),
          headers(std::move(headers)),
          body(std::move(body)),
          breaks(breaks) {}
    SendResult send;
    int status;
    std::string headers;  // header lines, each ending in "\r\n"
    std::string body;
    bool breaks;  // the read after the body fails
};

// What the fake transport saw of one request.
struct SeenRequest {
    std::string url;
    std::string userName;
    std::string password;
    std::vector<std::string> headerLines;
};

struct TransportScript {
    std::deque<ScriptedResponse> responses;  // one per request; the last one repeats
    std::vector<SeenRequest> requests;
    std::function<void()> onRead;  // runs before every read (advances a clock, ...)
};

class FakeTransport final : public HttpTransport {
public:
    explicit FakeTransport(std::shared_ptr<TransportScript> script) : script_(std::move(script)) {}
    bool open(std::string_view, const TransferLimits&) override { return true; }
    bool connect(const Url& url, std::string_view user, std::string_view password) override {
        seen_ = {url.requestTarget(), std::string(user), std::string(password), {}};
        return true;
    }
    void setStatusHook(StatusHook hook) override { hook_ = std::move(hook); }
    bool request(const std::vector<std::string>& lines) override {
        seen_.headerLines = lines;
        return true;
    }
    SendResult send(const std::atomic<bool>&) override {
        script_->requests.push_back(seen_);
        response_ = script_->responses.front();
        if (script_->responses.size() > 1) script_->responses.pop_front();
        headers_ = "HTTP/1.0 " + std::to_string(response_.status) + " X\r\n" + response_.headers;
        requestHeaders_ = "GET / HTTP/1.0\r\nAuthorization: Basic c2VjcmV0\r\n\r\n";
        if (hook_) hook_(TransferStatus::ConnectedToServer, "127.0.0.1");
        position_ = 0;
        return response_.send;
    }
    int statusCode() const override { return response_.status; }
    const std::string& responseHeaders() const override { return headers_; }
    const std::string& requestHeaders() const override { return requestHeaders_; }
    ReadResult read(std::span<char> buffer, const std::atomic<bool>&) override {
        if (script_->onRead) script_->onRead();
        if (position_ == response_.body.size()) return {!response_.breaks, 0};
        const std::size_t size = std::min(buffer.size(), response_.body.size() - position_);
        response_.body.copy(buffer.data(), size, position_);
        position_ += size;
        return {true, size};
    }
    std::string errorText() const override { return "scripted failure"; }
    void close() override {}

private:
    std::shared_ptr<TransportScript> script_;
    SeenRequest seen_;
    ScriptedResponse response_;
    std::string headers_;
    std::string requestHeaders_;
    std::size_t position_ = 0;
    StatusHook hook_;
};

}  // namespace quorvel::testing
