#include "pack/web/web_server.h"

#include <httplib.h>

#include <thread>

namespace ambrevo::pack {

constexpr const char* kLoopback = "127.0.0.1";

struct WebServer::Running {
    httplib::Server server;
    std::thread thread;
};

WebServer::WebServer(const WebRoutes& routes) : running_(std::make_unique<Running>()) {
    running_->server.Get(
        ".*", [&routes](const httplib::Request& request, httplib::Response& response) {
            const WebResponse answer = routes.Respond(request.path);
            response.status = answer.status;
            // The page reloads itself after each build: nothing may come from a cache.
            response.set_header("Cache-Control", "no-store");
            // The body is shared, not copied: the snapshot stays whole until it is sent.
            const std::shared_ptr<const std::string> body = answer.body;
            response.set_content_provider(
                body->size(), answer.type,
                [body](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
                    return sink.write(body->data() + offset, length);
                });
        });
}

WebServer::~WebServer() { Stop(); }

std::optional<int> WebServer::Bind(int port) {
    if (port == 0) {
        const int bound = running_->server.bind_to_any_port(kLoopback);
        return bound > 0 ? std::optional<int>(bound) : std::nullopt;
    }
    if (!running_->server.bind_to_port(kLoopback, port)) return std::nullopt;
    return port;
}

void WebServer::Start() {
    running_->thread = std::thread([this] { running_->server.listen_after_bind(); });
}

void WebServer::Stop() {
    running_->server.stop();
    if (running_->thread.joinable()) running_->thread.join();
}

}  // namespace ambrevo::pack
