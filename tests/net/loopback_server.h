#pragma once

// A small HTTP server on 127.0.0.1 for download tests: each connection runs
// a handler on a thread of its own with the request head it received.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace quorvel::testing {

class LoopbackServer {
public:
    // Gets the request head (up to the blank line) and the connection's
    // socket; the socket is closed when the handler returns.
    using Handler = std::function<void(LoopbackServer& server, const std::string& request, int fd)>;

    explicit LoopbackServer(Handler handler, int backlog = 16) : handler_(std::move(handler)) {
        listenFd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = 0;
        ::bind(listenFd_, reinterpret_cast<sockaddr*>(&address), sizeof address);
        ::listen(listenFd_, backlog);
        socklen_t length = sizeof address;
        ::getsockname(listenFd_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
        acceptThread_ = std::thread([this] { acceptLoop(); });
    }
    ~LoopbackServer() { stop(); }
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    void stop() {
        if (stopping_.exchange(true)) return;
        acceptThread_.join();
        ::close(listenFd_);
        for (std::thread& thread : connections_)
            thread.join();
    }

    std::uint16_t port() const { return port_; }
    std::string url(std::string_view path) const {
        return "http://127.0.0.1:" + std::to_string(port_) + std::string(path);
    }
    bool stopping() const { return stopping_.load(); }
    std::vector<std::string> requests() const {
        std::lock_guard lock(mutex_);
        return requests_;
    }

    // Sends all bytes; false once the client has gone.
    static bool send(int fd, std::string_view bytes) {
        while (!bytes.empty()) {
            const ssize_t sent = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
            if (sent <= 0) return false;
            bytes.remove_prefix(static_cast<std::size_t>(sent));
        }
        return true;
    }
    // A whole response with a Content-Length.
    static void respond(int fd, std::string_view statusLine, std::string_view headers,
                        std::string_view body) {
        send(fd, std::string(statusLine) + "\r\n" + std::string(headers) + "Content-Length: " +
                     std::to_string(body.size()) + "\r\n\r\n" + std::string(body));
    }

private:
    void acceptLoop() {
        while (!stopping_) {
            pollfd waiting{listenFd_, POLLIN, 0};
            if (::poll(&waiting, 1, 20) <= 0) continue;
            const int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
            if (fd < 0) continue;
            connections_.emplace_back([this, fd] { serve(fd); });
        }
    }

    void serve(int fd) {
        std::string request;
        char buffer[4096];
        while (request.find("\r\n\r\n") == std::string::npos && request.size() < 65536) {
            pollfd waiting{fd, POLLIN, 0};
            if (::poll(&waiting, 1, 2000) <= 0) break;
            const ssize_t got = ::recv(fd, buffer, sizeof buffer, 0);
            if (got <= 0) break;
            request.append(buffer, static_cast<std::size_t>(got));
        }
        {
            std::lock_guard lock(mutex_);
            requests_.push_back(request);
        }
        handler_(*this, request, fd);
        ::shutdown(fd, SHUT_RDWR);
        ::close(fd);
    }

    Handler handler_;
    int listenFd_ = -1;
    std::uint16_t port_ = 0;
    std::atomic<bool> stopping_{false};
    std::thread acceptThread_;
    std::vector<std::thread> connections_;
    mutable std::mutex mutex_;
    std::vector<std::string> requests_;
};

// The path of a request head: the second word of its first line.
inline std::string requestPath(const std::string& request) {
    const std::size_t start = request.find(' ') + 1;
    return request.substr(start, request.find(' ', start) - start);
}

}  // namespace quorvel::testing
