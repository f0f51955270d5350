#include "pack/web/web_server.h"

#include <httplib.h>  // on Windows, with Windows' sockets (<winsock2.h>)
#ifndef _WIN32
#include <sys/socket.h>
#endif

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include "pack/common/pack_error.h"
#include "pack/web/file_chunks.h"
#include "pack/web/loopback_host.h"

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

void SendMemory(httplib::Response& response, const WebResponse& answer) {
    // The body is shared, not copied: the snapshot stays whole until it is sent.
    const std::shared_ptr<const std::string> body = answer.body;
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
    if (answer.body) {
        SendMemory(response, answer);
    } else {
        SendFile(response, answer);
    }
}

WebRequest RequestOf(const httplib::Request& request) {
    return {request.method, request.path, request.body,
            [&request](const char* name) { return request.get_header_value(name); }};
}

}  // namespace

struct WebServer::Running {
    httplib::Server server;
    std::thread thread;
    std::atomic<bool> listenEnded = false;
    int port = 0;
};

WebServer::WebServer(const WebRoutes& routes, ExtraRoutes extra)
    : running_(std::make_unique<Running>()) {
    Running& running = *running_;
    running.server.set_socket_options(ExclusivePort);
    running.server.set_pre_routing_handler([&running](const httplib::Request& request,
                                                      httplib::Response& response) {
        if (IsLoopbackHost(request.get_header_value("Host"), running.port)) {
            return httplib::Server::HandlerResponse::Unhandled;
        }
        response.status = 403;
        response.set_content("forbidden: this server answers only at http://127.0.0.1:" +
                                 std::to_string(running.port) +
                                 "/ and http://localhost:" + std::to_string(running.port) + "/\n",
                             "text/plain");
        return httplib::Server::HandlerResponse::Handled;
    });
    running.server.Get(
        ".*", [&routes, extra](const httplib::Request& request, httplib::Response& response) {
            if (extra) {
                if (const std::optional<WebResponse> answer = extra(RequestOf(request))) {
                    return Send(response, *answer);
                }
            }
            Send(response, routes.Respond(request.path));
        });
    if (!extra) return;
    running.server.Post(
        ".*", [extra](const httplib::Request& request, httplib::Response& response) {
            const std::optional<WebResponse> answer = extra(RequestOf(request));
            Send(response, answer ? *answer
                                  : WebResponse{404, "text/plain",
                                                std::make_shared<const std::string>("not found\n"),
                                                {}});
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
