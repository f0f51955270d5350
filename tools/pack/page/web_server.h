#pragma once

#include <memory>
#include <optional>

#include "pack/page/web_routes.h"

namespace ambrevo::pack {

// Serves routes over HTTP on the loopback address only, from a thread of its own, and
// answers only requests whose Host names it so (see IsLoopbackHost). Every request is
// bounded (RequestLimits) and admitted from its head before any of its body is read: only
// the POST routes of the extra routes take a body, of no more than each one's limit, and
// none compressed (see BodyRefusal).
class WebServer {
public:
    // extra: routes answered first; without them the server answers GET only.
    explicit WebServer(const WebRoutes& routes, ExtraRoutes extra = {});
    ~WebServer();
    WebServer(const WebServer&) = delete;
    WebServer& operator=(const WebServer&) = delete;

    // Binds 127.0.0.1 at port, or at a free port for 0; the port bound, or nullopt when
    // it is taken, by this process or another.
    std::optional<int> Bind(int port);
    // Answers requests until Stop or destruction; only after a successful Bind.
    void Start();
    // Returns once the server has stopped, however soon after Start.
    void Stop();

private:
    struct Running;
    std::unique_ptr<Running> running_;
};

// Binds the server at the chosen port, or without one at preferred, or at a free port when
// preferred is taken. Returns the port bound; throws PackError when the chosen port is out
// of range or taken.
int BindServer(WebServer& server, std::optional<int> chosen, int preferred);

}  // namespace ambrevo::pack
