#include "pack/page/web_server.h"

#include <httplib.h>  // on Windows, with Windows' sockets (<winsock2.h>)
#ifndef _WIN32
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <variant>

#include "pack/common/pack_error.h"
#include "pack/page/file_chunks.h"
#include "pack/page/limited_stream.h"
#include "pack/page/loopback_host.h"
#include "pack/page/request_body.h"

namespace ambrevo::pack {
namespace {

// The page's scripts and the player's wasm come from this server; it draws on canvases,
// plays sounds from fetched bytes and asks nothing of any other site.
constexpr char kContentSecurityPolicy[] =
    "default-src 'self'; script-src 'self' 'wasm-unsafe-eval'; style-src 'self'; "
    "img-src 'self' data: blob:; media-src 'self' data: blob:; connect-src 'self'; "
    "object-src 'none'; base-uri 'none'; form-action 'none'; frame-ancestors 'none'";

constexpr const char* kLoopback = "127.0.0.1";

// The library's default also sets SO_REUSEPORT, which lets a second server bind a port
// that one already listens on. SO_REUSEADDR alone lets a restarted server take its port
// back from connections still closing, and a taken port stays taken. Not on Windows, where
// SO_REUSEADDR lets another socket take the port from under a listening one (Microsoft's
// "Using SO_REUSEADDR and SO_EXCLUSIVEADDRUSE"; the library's default sets it first, and
// its SO_EXCLUSIVEADDRUSE after it then fails): SO_EXCLUSIVEADDRUSE alone keeps the port
// to this server.
void ExclusivePort(socket_t socket) {
    const int yes = 1;
#ifdef _WIN32
    setsockopt(socket, SOL_SOCKET, SO_EXCLUSIVEADDRUSE, reinterpret_cast<const char*>(&yes),
               sizeof yes);
#else
    setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
#endif
}

// An answer is written as its head and then its body. Without this, the body waits until
// the browser acknowledges the head, which it delays by some 40 ms.
void SendAtOnce(socket_t socket) {
    const int yes = 1;
    setsockopt(socket, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&yes), sizeof yes);
}

void SendMemory(httplib::Response& response, const WebResponse& answer) {
    // The body is shared, not copied: the snapshot stays whole until it is sent.
    const std::shared_ptr<const std::string> body = answer.body;
    if (body->empty()) return response.set_content("", answer.type);  // see SendFile
    response.set_content_provider(
        body->size(), answer.type,
        [body](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
            return sink.write(body->data() + offset, length);
        });
}

void SendFile(httplib::Response& response, const WebResponse& answer) {
    std::shared_ptr<FileChunks> chunks;
    try {
        chunks = std::make_shared<FileChunks>(answer.file);
    } catch (const PackError&) {
        response.status = 404;
        response.set_content("not found\n", "text/plain");
        return;
    }
    // The library takes a provider of no bytes for one of unknown length, and the answer
    // would end only with the connection.
    if (chunks->Size() == 0) return response.set_content("", answer.type);
    response.set_content_provider(
        chunks->Size(), answer.type,
        [chunks](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
            const std::string_view piece = chunks->Read(offset, length);
            // A file that shrank while it was sent ends the connection.
            return !piece.empty() && sink.write(piece.data(), piece.size());
        });
}

void Send(httplib::Response& response, const WebResponse& answer) {
    // Left unset for a success, the library answers a byte range with 206.
    if (answer.status != 200) response.status = answer.status;
    // The page shows each build: nothing may come from a cache.
    response.set_header("Cache-Control", "no-store");
    // Only this server's own scripts run, no other site may frame the page (whose address
    // carries the designer's token) or be told it, and no answer is taken for another type.
    response.set_header("Content-Security-Policy", kContentSecurityPolicy);
    response.set_header("X-Content-Type-Options", "nosniff");
    response.set_header("Referrer-Policy", "no-referrer");
    for (const auto& [name, value] : answer.headers) response.set_header(name, value);
    if (answer.body) {
        SendMemory(response, answer);
    } else {
        SendFile(response, answer);
    }
}

WebRequest RequestOf(const httplib::Request& request, std::string_view body = {}) {
    return {request.method, request.path, body,
            [&request](const char* name) { return request.get_header_value(name); },
            [&request](const char* name) { return request.get_param_value(name); }};
}

// Reads a request's body, refusing it once it is longer than limit: the body, or the
// refusal.
std::variant<std::string, WebResponse> BodyOf(const httplib::ContentReader& reader,
                                              std::size_t limit) {
    std::string body;
    bool tooLarge = false;
    const bool read = reader([&](const char* data, std::size_t size) {
        tooLarge = size > limit - body.size();
        if (!tooLarge) body.append(data, size);
        return !tooLarge;
    });
    if (tooLarge) return BodyTooLarge(limit);
    if (!read) return Refusal(400, "the request's body could not be read");
    return body;
}

}  // namespace

// The library's server, reading each connection through a LimitedStream. A request with a
// body is its connection's last: a body refused is never read, and so cannot be skipped.
// Outside the anonymous namespace, as WebServer::Running holds one.
class LimitedServer : public httplib::Server {
public:
    void SetLimits(const RequestLimits& limits) { limits_ = limits; }

private:
    static constexpr std::size_t kRequestsPerConnection = 100;

    bool process_and_close_socket(socket_t socket) override {
        SendAtOnce(socket);
        {
            LimitedStream stream(socket, limits_, svr_sock_);
            for (std::size_t served = 1; stream.NextRequest(); ++served) {
                bool closed = false;
                bool withBody = false;
                const bool last = served == kRequestsPerConnection;
                const bool answered = process_request(
                    stream, last, closed, [&stream, &withBody](httplib::Request& request) {
                        stream.HeadRead();
                        withBody = AnnouncesBody(RequestOf(request));
                    });
                if (!answered || closed || last || withBody || stream.Ended()) break;
            }
            stream.Linger();
        }
#ifdef _WIN32
        closesocket(socket);
#else
        close(socket);
#endif
        return true;
    }

    RequestLimits limits_;
};

struct WebServer::Running {
    LimitedServer server;
    ExtraRoutes extra;
    std::thread thread;
    std::atomic<bool> listenEnded = false;
    int port = 0;

    // The largest body a POST to path takes; nullopt when it takes none.
    std::optional<std::size_t> PostLimit(std::string_view path) const {
        for (const auto& [posted, limit] : extra.posts) {
            if (posted == path) return limit;
        }
        return std::nullopt;
    }

    // What a request is granted from its head alone: a refusal, or nullopt with the
    // answer's headers begun.
    std::optional<WebResponse> Admit(const httplib::Request& request,
                                     httplib::Response& response) const {
        if (!IsLoopbackHost(request.get_header_value("Host"), port)) {
            return Refusal(403, "forbidden: this server answers only at http://127.0.0.1:" +
                                    std::to_string(port) + "/");
        }
        const bool posting = request.method == "POST";
        if (!posting && request.method != "GET" && request.method != "HEAD") {
            return Refusal(405, "this server answers GET and POST only");
        }
        const WebRequest head = RequestOf(request);
        if (extra.admit) {
            Admission admission = extra.admit(head);
            if (admission.refusal) return std::move(admission.refusal);
            for (const auto& [name, value] : admission.headers) response.set_header(name, value);
        }
        const std::optional<std::size_t> limit = posting ? PostLimit(request.path) : 0;
        if (!limit) return Refusal(405, "nothing here takes a POST");
        if (std::optional<WebResponse> refusal = BodyRefusal(head, *limit)) return refusal;
        if (AnnouncesBody(head)) response.set_header("Connection", "close");
        return std::nullopt;
    }
};

WebServer::WebServer(const WebRoutes& routes, ExtraRoutes extra)
    : running_(std::make_unique<Running>()) {
    Running& running = *running_;
    running.extra = std::move(extra);
    std::size_t largestBody = 0;
    for (const auto& [path, limit] : running.extra.posts)
        largestBody = std::max(largestBody, limit);
    RequestLimits limits;
    // Room for a chunked body's framing; the route's own limit counts the body itself.
    limits.bodyBytes = largestBody * 2 + 64 * 1024;
    running.server.SetLimits(limits);
    running.server.set_socket_options(ExclusivePort);
    running.server.set_pre_routing_handler(
        [&running](const httplib::Request& request, httplib::Response& response) {
            if (std::optional<WebResponse> refusal = running.Admit(request, response)) {
                Send(response, *refusal);
                return httplib::Server::HandlerResponse::Handled;
            }
            return httplib::Server::HandlerResponse::Unhandled;
        });
    running.server.Get(
        ".*", [&routes, &running](const httplib::Request& request, httplib::Response& response) {
            if (running.extra.answer) {
                if (const std::optional<WebResponse> answer =
                        running.extra.answer(RequestOf(request))) {
                    return Send(response, *answer);
                }
            }
            Send(response, routes.Respond(request.path));
        });
    running.server.Post(".*", [&running](const httplib::Request& request,
                                         httplib::Response& response,
                                         const httplib::ContentReader& reader) {
        std::string body;
        if (AnnouncesBody(RequestOf(request))) {
            auto read = BodyOf(reader, running.PostLimit(request.path).value_or(0));
            if (const WebResponse* refusal = std::get_if<WebResponse>(&read)) {
                return Send(response, *refusal);
            }
            body = std::move(std::get<std::string>(read));
        }
        const std::optional<WebResponse> answer =
            running.extra.answer ? running.extra.answer(RequestOf(request, body)) : std::nullopt;
        Send(response, answer ? *answer : Refusal(404, "not found"));
    });
}

WebServer::~WebServer() { Stop(); }

std::optional<int> WebServer::Bind(int port) {
    if (port == 0) {
        const int bound = running_->server.bind_to_any_port(kLoopback);
        if (bound <= 0) return std::nullopt;
        running_->port = bound;
    } else {
        if (!running_->server.bind_to_port(kLoopback, port)) return std::nullopt;
        running_->port = port;
    }
    return running_->port;
}

void WebServer::Start() {
    running_->thread = std::thread([&running = *running_] {
        running.server.listen_after_bind();
        running.listenEnded = true;
    });
}

void WebServer::Stop() {
    Running& running = *running_;
    if (!running.thread.joinable()) return;
    // The library's stop does nothing until its loop has begun to listen, so a stop that
    // came too soon would leave the thread listening for ever.
    while (!running.server.is_running() && !running.listenEnded) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    running.server.stop();
    running.thread.join();
}

int BindServer(WebServer& server, std::optional<int> chosen, int preferred) {
    if (chosen) {
        if (*chosen < 0 || *chosen > 65535) {
            throw PackError("the port must be 0 to 65535, not " + std::to_string(*chosen));
        }
        if (const std::optional<int> bound = server.Bind(*chosen)) return *bound;
        throw PackError("cannot serve on 127.0.0.1:" + std::to_string(*chosen) +
                        ": the port is taken");
    }
    if (const std::optional<int> bound = server.Bind(preferred)) return *bound;
    if (const std::optional<int> bound = server.Bind(0)) return *bound;
    throw PackError("cannot serve on 127.0.0.1: no free port");
}

}  // namespace ambrevo::pack
