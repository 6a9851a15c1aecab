#include "net/curl_transport.h"

#include <curl/curl.h>

#include <cstdlib>
#include <cstring>
#include <mutex>

#include "platform/ascii_text.h"

namespace quorvel {

namespace {

// Body bytes held before curl is asked to pause, so that a fast server does
// not fill memory while the engine reads in small blocks.
constexpr std::size_t kBodyBufferLimit = 64 * 1024;
constexpr int kPollMilliseconds = 50;

void initialiseCurlOnce() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

const char* caBundleFromEnvironment() {
    for (const char* name : {"SSL_CERT_FILE", "CURL_CA_BUNDLE"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != '\0') return value;
    }
    return nullptr;
}

// The number after the protocol in a status line such as "HTTP/1.1 200 OK".
int statusOfLine(std::string_view line) {
    const std::size_t space = line.find(' ');
    if (space == std::string_view::npos) return 0;
    int status = 0;
    for (std::size_t i = space + 1; i < line.size() && isAsciiDigit(line[i]); ++i) {
        if (status > 999) return 0;
        status = status * 10 + (line[i] - '0');
    }
    return status;
}

class CurlTransport final : public HttpTransport {
public:
    ~CurlTransport() override { close(); }

    bool open(std::string_view userAgent, const TransferLimits& limits) override {
        close();
        initialiseCurlOnce();
        userAgent_ = std::string(userAgent);
        limits_ = limits;
        easy_ = curl_easy_init();
        multi_ = curl_multi_init();
        if (easy_ == nullptr || multi_ == nullptr) {
            error_ = "the network library could not be initialised";
            close();
            return false;
        }
        return true;
    }

    bool connect(const Url& url, std::string_view userName, std::string_view password) override {
        if (easy_ == nullptr) return false;
        url_ = url;
        userName_ = std::string(userName);
        password_ = std::string(password);
        return true;
    }

    void setStatusHook(StatusHook hook) override { hook_ = std::move(hook); }

    bool request(const std::vector<std::string>& headerLines) override {
        if (easy_ == nullptr || url_.host.empty()) return false;
        errorBuffer_[0] = '\0';
        const std::string target = url_.requestTarget();
        bool ok = curl_easy_setopt(easy_, CURLOPT_URL, target.c_str()) == CURLE_OK;
        ok = ok && curl_easy_setopt(easy_, CURLOPT_PROTOCOLS_STR, "http,https") == CURLE_OK;
        curl_easy_setopt(easy_, CURLOPT_ERRORBUFFER, errorBuffer_);
        curl_easy_setopt(easy_, CURLOPT_NOSIGNAL, 1L);
        curl_easy_setopt(easy_, CURLOPT_FOLLOWLOCATION, 0L);
        curl_easy_setopt(easy_, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_0));
        curl_easy_setopt(easy_, CURLOPT_USERAGENT, userAgent_.c_str());
        curl_easy_setopt(easy_, CURLOPT_CONNECTTIMEOUT, limits_.connectTimeoutSeconds);
        curl_easy_setopt(easy_, CURLOPT_LOW_SPEED_LIMIT, limits_.lowSpeedBytes);
        curl_easy_setopt(easy_, CURLOPT_LOW_SPEED_TIME, limits_.lowSpeedSeconds);
        curl_easy_setopt(easy_, CURLOPT_SSL_VERIFYPEER, 1L);
        curl_easy_setopt(easy_, CURLOPT_SSL_VERIFYHOST, 2L);
        if (const char* bundle = caBundleFromEnvironment()) {
            curl_easy_setopt(easy_, CURLOPT_CAINFO, bundle);
        }
        if (!userName_.empty() || !password_.empty()) {
            curl_easy_setopt(easy_, CURLOPT_HTTPAUTH, static_cast<long>(CURLAUTH_BASIC));
            curl_easy_setopt(easy_, CURLOPT_USERNAME, userName_.c_str());
            curl_easy_setopt(easy_, CURLOPT_PASSWORD, password_.c_str());
        }
        curl_easy_setopt(easy_, CURLOPT_HEADERFUNCTION, &CurlTransport::onHeader);
        curl_easy_setopt(easy_, CURLOPT_HEADERDATA, this);
        curl_easy_setopt(easy_, CURLOPT_WRITEFUNCTION, &CurlTransport::onBody);
        curl_easy_setopt(easy_, CURLOPT_WRITEDATA, this);
        curl_easy_setopt(easy_, CURLOPT_DEBUGFUNCTION, &CurlTransport::onDebug);
        curl_easy_setopt(easy_, CURLOPT_DEBUGDATA, this);
        curl_easy_setopt(easy_, CURLOPT_VERBOSE, 1L);

        curl_slist_free_all(headers_);
        headers_ = nullptr;
        for (const std::string& line : headerLines) {
            curl_slist* next = curl_slist_append(headers_, line.c_str());
            if (next == nullptr) return false;
            headers_ = next;
        }
        curl_easy_setopt(easy_, CURLOPT_HTTPHEADER, headers_);
        if (!ok) error_ = "the address cannot be used for a request";
        return ok;
    }

    SendResult send(const std::atomic<bool>& abort) override {
        if (easy_ == nullptr || multi_ == nullptr) return SendResult::Failed;
        if (curl_multi_add_handle(multi_, easy_) != CURLM_OK) return SendResult::Failed;
        added_ = true;
        report(TransferStatus::ResolvingName, url_.host);
        while (!headersDone_ && !transferDone_) {
            if (abort) return SendResult::Aborted;
            pump();
        }
        if (headersDone_) return SendResult::Sent;
        rememberError();
        switch (result_) {
            case CURLE_COULDNT_RESOLVE_HOST:
            case CURLE_COULDNT_RESOLVE_PROXY:
            case CURLE_COULDNT_CONNECT:
                return SendResult::NotConnected;
            default:
                return SendResult::Failed;
        }
    }

    int statusCode() const override { return status_; }
    const std::string& responseHeaders() const override { return responseHeaders_; }
    const std::string& requestHeaders() const override { return requestHeaders_; }

    ReadResult read(std::span<char> buffer, const std::atomic<bool>& abort) override {
        while (body_.size() == bodyStart_) {
            if (transferDone_) {
                if (result_ != CURLE_OK) {
                    rememberError();
                    return {false, 0};
                }
                return {true, 0};
            }
            if (abort) return {false, 0};
            if (paused_) {
                paused_ = false;
                curl_easy_pause(easy_, CURLPAUSE_CONT);
            }
            pump();
        }
        const std::size_t size = std::min(buffer.size(), body_.size() - bodyStart_);
        std::memcpy(buffer.data(), body_.data() + bodyStart_, size);
        bodyStart_ += size;
        if (bodyStart_ == body_.size()) {
            body_.clear();
            bodyStart_ = 0;
        }
        return {true, size};
    }

    std::string errorText() const override { return error_; }

    void close() override {
        const bool hadRequest = added_;
        if (hadRequest) report(TransferStatus::ClosingConnection, {});
        if (multi_ != nullptr && easy_ != nullptr && added_)
            curl_multi_remove_handle(multi_, easy_);
        if (easy_ != nullptr) curl_easy_cleanup(easy_);
        if (multi_ != nullptr) curl_multi_cleanup(multi_);
        curl_slist_free_all(headers_);
        if (hadRequest) report(TransferStatus::ConnectionClosed, {});
        easy_ = nullptr;
        multi_ = nullptr;
        headers_ = nullptr;
        added_ = false;
        headersDone_ = false;
        transferDone_ = false;
        paused_ = false;
        headerTooLarge_ = false;
        result_ = CURLE_OK;
        status_ = 0;
        stage_ = 0;
        headerBytes_ = 0;
        responseHeaders_.clear();
        requestHeaders_.clear();
        body_.clear();
        bodyStart_ = 0;
        hook_ = nullptr;
    }

private:
    // Lets curl work until something happens or a short wait has passed.
    void pump() {
        int running = 0;
        curl_multi_perform(multi_, &running);
        int left = 0;
        while (CURLMsg* message = curl_multi_info_read(multi_, &left)) {
            if (message->msg == CURLMSG_DONE) {
                transferDone_ = true;
                result_ = message->data.result;
            }
        }
        reportProgress();
        if (!transferDone_ && !headersDone_) {
            curl_multi_poll(multi_, nullptr, 0, kPollMilliseconds, nullptr);
        } else if (!transferDone_ && body_.size() == bodyStart_) {
            curl_multi_poll(multi_, nullptr, 0, kPollMilliseconds, nullptr);
        }
    }

    // Reports each connection state once and in order, from curl's timings.
    void reportProgress() {
        curl_off_t resolved = 0;
        curl_off_t connected = 0;
        curl_easy_getinfo(easy_, CURLINFO_NAMELOOKUP_TIME_T, &resolved);
        curl_easy_getinfo(easy_, CURLINFO_CONNECT_TIME_T, &connected);
        char* address = nullptr;
        curl_easy_getinfo(easy_, CURLINFO_PRIMARY_IP, &address);
        const std::string_view ip = address != nullptr ? address : "";
        if ((resolved > 0 || connected > 0 || headersDone_) && stage_ < 2) {
            report(TransferStatus::NameResolved, ip);
            report(TransferStatus::ConnectingToServer, ip);
            stage_ = 2;
        }
        if ((connected > 0 || headersDone_) && stage_ < 3) {
            report(TransferStatus::ConnectedToServer, ip);
            stage_ = 3;
        }
    }

    void report(TransferStatus status, std::string_view data) {
        if (hook_) hook_(status, data);
    }

    void rememberError() {
        if (headerTooLarge_) {
            error_ = "the response headers are longer than " +
                     std::to_string(limits_.maxHeaderBytes) + " bytes";
        } else if (errorBuffer_[0] != '\0') {
            error_ = errorBuffer_;
        } else {
            error_ = curl_easy_strerror(result_);
        }
    }

    static std::size_t onHeader(char* data, std::size_t size, std::size_t count, void* self) {
        auto* transport = static_cast<CurlTransport*>(self);
        const std::string_view line(data, size * count);
        transport->headerBytes_ += line.size();
        if (transport->headerBytes_ > transport->limits_.maxHeaderBytes) {
            transport->headerTooLarge_ = true;
            return 0;
        }
        if (line.substr(0, 5) == "HTTP/") {
            // A new response (after "100 Continue" or a proxy's answer).
            transport->responseHeaders_.clear();
            transport->status_ = statusOfLine(line);
        }
        transport->responseHeaders_ += line;
        if ((line == "\r\n" || line == "\n") && transport->status_ >= 200) {
            transport->headersDone_ = true;
        }
        return line.size();
    }

    static std::size_t onBody(char* data, std::size_t size, std::size_t count, void* self) {
        auto* transport = static_cast<CurlTransport*>(self);
        const std::size_t bytes = size * count;
        if (transport->body_.size() - transport->bodyStart_ >= kBodyBufferLimit) {
            transport->paused_ = true;
            return CURL_WRITEFUNC_PAUSE;
        }
        transport->headersDone_ = true;
        transport->body_.append(data, bytes);
        return bytes;
    }

    static int onDebug(CURL*, curl_infotype type, char* data, std::size_t size, void* self) {
        if (type == CURLINFO_HEADER_OUT) {
            static_cast<CurlTransport*>(self)->requestHeaders_.append(data, size);
        }
        return 0;
    }

    CURL* easy_ = nullptr;
    CURLM* multi_ = nullptr;
    curl_slist* headers_ = nullptr;
    char errorBuffer_[CURL_ERROR_SIZE] = {};
    std::string userAgent_;
    TransferLimits limits_;
    Url url_;
    std::string userName_;
    std::string password_;
    StatusHook hook_;
    bool added_ = false;
    bool headersDone_ = false;
    bool transferDone_ = false;
    bool paused_ = false;
    bool headerTooLarge_ = false;
    CURLcode result_ = CURLE_OK;
    int status_ = 0;
    int stage_ = 0;
    std::size_t headerBytes_ = 0;
    std::string responseHeaders_;
    std::string requestHeaders_;
    std::string body_;
    std::size_t bodyStart_ = 0;
    std::string error_;
};

}  // namespace

std::unique_ptr<HttpTransport> makeCurlTransport() {
    return std::make_unique<CurlTransport>();
}

}  // namespace quorvel
