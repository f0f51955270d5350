#include "pack/page/limited_stream.h"

#ifndef _WIN32
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#endif

#include <algorithm>
#include <climits>

namespace ambrevo::pack {
namespace {

using Clock = std::chrono::steady_clock;

// How often a wait looks whether the server is stopping.
constexpr auto kStopCheck = std::chrono::milliseconds(50);
// How long a connection ended before its request was read goes on taking what the client
// sends, so that the client reads the answer before it learns that the connection closed.
constexpr auto kLinger = std::chrono::seconds(1);

#ifdef MSG_NOSIGNAL
constexpr int kSendFlags = MSG_NOSIGNAL;  // a client gone is an error, not a signal
#else
constexpr int kSendFlags = 0;
#endif

bool Ready(socket_t socket, bool writing, std::chrono::milliseconds timeout) {
    const int milliseconds = static_cast<int>(timeout.count());
#ifdef _WIN32
    fd_set set;
    FD_ZERO(&set);
    FD_SET(socket, &set);
    timeval time{milliseconds / 1000, milliseconds % 1000 * 1000};
    return select(0, writing ? nullptr : &set, writing ? &set : nullptr, nullptr, &time) > 0;
#else
    pollfd entry{socket, static_cast<short>(writing ? POLLOUT : POLLIN), 0};
    return poll(&entry, 1, milliseconds) > 0;
#endif
}

int Receive(socket_t socket, char* into, std::size_t size) {
    return static_cast<int>(
        recv(socket, into, static_cast<int>(std::min<std::size_t>(size, INT_MAX)), 0));
}

void AddressOf(socket_t socket, bool peer, std::string& ip, int& port) {
    sockaddr_storage address{};
    socklen_t length = sizeof address;
    sockaddr* const named = reinterpret_cast<sockaddr*>(&address);
    if ((peer ? getpeername(socket, named, &length) : getsockname(socket, named, &length)) != 0) {
        return;
    }
    char host[NI_MAXHOST];
    char service[NI_MAXSERV];
    if (getnameinfo(named, length, host, sizeof host, service, sizeof service,
                    NI_NUMERICHOST | NI_NUMERICSERV) == 0) {
        ip = host;
        port = std::atoi(service);
    }
}

}  // namespace

LimitedStream::LimitedStream(socket_t socket, const RequestLimits& limits,
                             const std::atomic<socket_t>& listening)
    : socket_(socket), limits_(limits), listening_(listening) {}

bool LimitedStream::NextRequest() {
    if (ended_) return false;
    inHead_ = true;
    taken_ = 0;
    lines_ = 0;
    written_ = 0;
    if (buffered_ == 0 && WaitFor(false, Clock::now() + limits_.idle) != Wait::kReady) {
        return false;
    }
    deadline_ = Clock::now() + limits_.whole;
    return true;
}

void LimitedStream::HeadRead() {
    inHead_ = false;
    taken_ = 0;
}

LimitedStream::Wait LimitedStream::WaitFor(bool writing, Clock::time_point until) const {
    for (;;) {
        if (listening_ == INVALID_SOCKET) return Wait::kStopping;
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(until - Clock::now());
        if (left.count() <= 0) return Wait::kTimeOut;
        if (Ready(socket_, writing, std::min<std::chrono::milliseconds>(left, kStopCheck))) {
            return Wait::kReady;
        }
    }
}

void LimitedStream::Refuse(int status, const char* reason, const std::string& message) {
    if (!ended_ && written_ == 0) {
        const std::string answer = "HTTP/1.1 " + std::to_string(status) + " " + reason +
                                   "\r\nContent-Type: text/plain\r\nContent-Length: " +
                                   std::to_string(message.size() + 1) +
                                   "\r\nCache-Control: no-store\r\nX-Content-Type-Options: "
                                   "nosniff\r\nConnection: close\r\n\r\n" +
                                   message + "\n";
        for (std::size_t sent = 0; sent < answer.size();) {
            const ssize_t n = write(answer.data() + sent, answer.size() - sent);
            if (n <= 0) break;
            sent += static_cast<std::size_t>(n);
        }
    }
    ended_ = true;
}

ssize_t LimitedStream::Take(char* ptr, size_t size) {
    if (ended_) return -1;
    if (buffered_ == 0) {
        switch (WaitFor(false, deadline_)) {
            case Wait::kReady:
                break;
            case Wait::kTimeOut:
                Refuse(408, "Request Timeout",
                       "a request must arrive whole within " +
                           std::to_string(limits_.whole.count() / 1000) + " seconds");
                return -1;
            case Wait::kStopping:
                ended_ = true;
                return -1;
        }
        const int received = Receive(socket_, buffer_.data(), buffer_.size());
        if (received <= 0) {
            ended_ = true;  // the client closed, or the connection failed
            return received == 0 ? 0 : -1;
        }
        buffered_ = static_cast<std::size_t>(received);
        bufferAt_ = 0;
    }
    const std::size_t count = std::min(size, buffered_);
    const char* const from = buffer_.data() + bufferAt_;
    taken_ += count;
    if (inHead_) {
        lines_ += static_cast<std::size_t>(std::count(from, from + count, '\n'));
        if (taken_ > limits_.headBytes || lines_ > limits_.headLines) {
            Refuse(431, "Request Header Fields Too Large",
                   "a request's head may hold at most " + std::to_string(limits_.headBytes) +
                       " bytes in " + std::to_string(limits_.headLines) + " lines");
            return -1;
        }
    } else if (taken_ > limits_.bodyBytes) {
        Refuse(413, "Content Too Large",
               "a request's body may hold at most " + std::to_string(limits_.bodyBytes) + " bytes");
        return -1;
    }
    std::copy(from, from + count, ptr);
    buffered_ -= count;
    bufferAt_ += count;
    return static_cast<ssize_t>(count);
}

ssize_t LimitedStream::read(char* ptr, size_t size) { return Take(ptr, size); }

ssize_t LimitedStream::write(const char* ptr, size_t size) {
    if (ended_) return -1;
    if (WaitFor(true, Clock::now() + limits_.write) != Wait::kReady) return -1;
    const auto sent =
        send(socket_, ptr, static_cast<int>(std::min<std::size_t>(size, INT_MAX)), kSendFlags);
    if (sent < 0) return -1;
    written_ += static_cast<std::size_t>(sent);
    return static_cast<ssize_t>(sent);
}

bool LimitedStream::is_readable() const {
    return !ended_ && (buffered_ > 0 || WaitFor(false, deadline_) == Wait::kReady);
}

bool LimitedStream::is_writable() const {
    return !ended_ && WaitFor(true, Clock::now() + limits_.write) == Wait::kReady;
}

void LimitedStream::get_remote_ip_and_port(std::string& ip, int& port) const {
    AddressOf(socket_, true, ip, port);
}

void LimitedStream::get_local_ip_and_port(std::string& ip, int& port) const {
    AddressOf(socket_, false, ip, port);
}

void LimitedStream::Linger() {
#ifdef _WIN32
    shutdown(socket_, SD_SEND);
#else
    shutdown(socket_, SHUT_WR);
#endif
    const Clock::time_point until = Clock::now() + kLinger;
    std::array<char, 4096> dropped;
    while (WaitFor(false, until) == Wait::kReady &&
           Receive(socket_, dropped.data(), dropped.size()) > 0) {
    }
}

}  // namespace ambrevo::pack
