#pragma once

#include <memory>
#include <optional>

#include "pack/web/web_routes.h"

namespace ambrevo::pack {

// Serves routes over HTTP on the loopback address only, from a thread of its own.
class WebServer {
public:
    explicit WebServer(const WebRoutes& routes);
    ~WebServer();
    WebServer(const WebServer&) = delete;
    WebServer& operator=(const WebServer&) = delete;

    // Binds 127.0.0.1 at port, or at a free port for 0; the port bound, or nullopt when
    // it is taken.
    std::optional<int> Bind(int port);
    // Answers requests until Stop or destruction; only after a successful Bind.
    void Start();
    void Stop();

private:
    struct Running;
    std::unique_ptr<Running> running_;
};

}  // namespace ambrevo::pack
