#pragma once

#include <httplib.h>  // on Windows, with Windows' sockets (<winsock2.h>)

#include <array>
#include <atomic>
#include <chrono>
#include <cstddef>
#include <string>

namespace ambrevo::pack {

// What one request may take of the server, checked as its bytes arrive.
struct RequestLimits {
    std::size_t headBytes = 32 * 1024;  // the request line and header fields
    std::size_t headLines = 100;        // the request line, the fields and the blank line
    std::size_t bodyBytes = 0;          // as sent, chunked framing included
    // From a request's first byte to its last; a client too slow is answered 408.
    std::chrono::milliseconds whole{20000};
    // How long a connection waits for its next request.
    std::chrono::milliseconds idle{5000};
    // How long an answer waits for the client to take more of it.
    std::chrono::milliseconds write{5000};
};

// A connection's socket as the HTTP library reads requests from it and writes answers,
// within the limits. A request over a limit is answered here (431, 413 or 408, whatever
// the library was doing with it) and ends the connection: later reads and writes fail.
// Every wait also ends once the listening socket has been closed (the server stopping).
class LimitedStream : public httplib::Stream {
public:
    LimitedStream(socket_t socket, const RequestLimits& limits,
                  const std::atomic<socket_t>& listening);

    // Waits for the first byte of the next request, and starts counting its limits; false
    // when none comes in time, the client closed, or the server is stopping.
    bool NextRequest();
    // The request's head has been read: what follows counts as its body.
    void HeadRead();
    // Whether a limit ended the connection.
    bool Ended() const { return ended_; }
    // Sends what was written, then reads and drops what the client still sends, for a
    // moment, so that an answer sent before a body was read reaches the client and is not
    // lost to a reset. Does not close the socket.
    void Linger();

    bool is_readable() const override;
    bool is_writable() const override;
    ssize_t read(char* ptr, size_t size) override;
    ssize_t write(const char* ptr, size_t size) override;
    void get_remote_ip_and_port(std::string& ip, int& port) const override;
    void get_local_ip_and_port(std::string& ip, int& port) const override;
    socket_t socket() const override { return socket_; }

private:
    enum class Wait { kReady, kTimeOut, kStopping };
    Wait WaitFor(bool writing, std::chrono::steady_clock::time_point until) const;
    // Answers status with message itself, when no answer has begun, and ends.
    void Refuse(int status, const char* reason, const std::string& message);
    // Takes bytes already received, or receives more; counts them against the limits.
    ssize_t Take(char* ptr, size_t size);

    socket_t socket_;
    RequestLimits limits_;
    const std::atomic<socket_t>& listening_;
    std::array<char, 4096> buffer_{};
    std::size_t buffered_ = 0;  // bytes in buffer_ not yet taken, from bufferAt_
    std::size_t bufferAt_ = 0;
    bool inHead_ = true;
    std::size_t taken_ = 0;  // of the head or the body so far
    std::size_t lines_ = 0;
    std::size_t written_ = 0;  // of the current request's answer
    std::chrono::steady_clock::time_point deadline_;
    bool ended_ = false;
};

}  // namespace ambrevo::pack
