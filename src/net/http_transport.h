#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "net/url.h"

namespace quorvel {

// Connection states reported while a request is made. The values are those
// the download window knows its status lines by.
enum class TransferStatus : int {
    ResolvingName = 10,
    NameResolved = 11,
    ConnectingToServer = 20,
    ConnectedToServer = 21,
    ClosingConnection = 50,
    ConnectionClosed = 51,
    Redirecting = 110,
};

// Bounds that keep a dead, slow or misbehaving server from holding a
// download for ever.
struct TransferLimits {
    long connectTimeoutSeconds = 30;  // until the connection (and TLS) is up
    long lowSpeedBytes = 1;           // a transfer slower than this many bytes per second...
    long lowSpeedSeconds = 60;        // ...for this long ends as broken
    std::size_t maxHeaderBytes = 256 * 1024;  // all response header lines together
};

enum class SendResult {
    Sent,          // the status and headers of the response are known
    NotConnected,  // the name did not resolve or the host refused or could not be reached
    Aborted,       // the abort flag was seen while waiting
    Failed,        // any other failure (TLS, time-out, malformed or oversized response)
};

struct ReadResult {
    bool ok = true;        // false: the transfer broke (or was aborted)
    std::size_t size = 0;  // bytes placed in the buffer; 0 with ok at the end of the body
};

// One HTTP GET at a time, in the steps the download engine takes:
// open → connect → request → send → status/headers → read... → close.
// An object may be opened again after close. The status hook and the abort
// flag are used on the calling thread only.
class HttpTransport {
public:
    using StatusHook = std::function<void(TransferStatus status, std::string_view data)>;

    virtual ~HttpTransport() = default;

    // Prepares a session with the user agent; false when that fails.
    virtual bool open(std::string_view userAgent, const TransferLimits& limits) = 0;
    // Names the server of the request and the credentials sent to it (both
    // empty: none); nothing goes over the network yet. False on failure.
    virtual bool connect(const Url& url, std::string_view userName, std::string_view password) = 0;
    virtual void setStatusHook(StatusHook hook) = 0;
    // A GET of the connected URL's path with these extra header lines
    // ("Name: value", no line end). False when the request cannot be made.
    virtual bool request(const std::vector<std::string>& headerLines) = 0;
    // Sends the request and waits for the response's status and headers,
    // checking the abort flag while it waits.
    virtual SendResult send(const std::atomic<bool>& abort) = 0;
    virtual int statusCode() const = 0;
    // The response's status line and header lines as received ("\r\n" ends).
    virtual const std::string& responseHeaders() const = 0;
    // The request's header lines as sent; empty before send.
    virtual const std::string& requestHeaders() const = 0;
    // Reads up to buffer.size() bytes of the body, waiting for at least one
    // unless the body has ended.
    virtual ReadResult read(std::span<char> buffer, const std::atomic<bool>& abort) = 0;
    // Why the last step failed, in words, for logs and messages.
    virtual std::string errorText() const = 0;
    // Ends the request and the session; harmless when nothing is open.
    virtual void close() = 0;
};

}  // namespace quorvel
