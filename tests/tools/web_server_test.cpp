#include "pack/page/web_server.h"

#include <gtest/gtest.h>
#include <httplib.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <future>
#include <string>
#include <thread>
#include <vector>

#include "pack/common/pack_error.h"
#include "pack/page/file_chunks.h"
#include "pack/page/loopback_host.h"
#include "source_folder.h"

namespace ambrevo::pack {
namespace {

using testing::SourceFolder;

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAddressSanitizer = true;
#else
constexpr bool kAddressSanitizer = false;
#endif

// The most memory this process has held since the peak was last reset, in bytes.
std::size_t PeakMemory() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.starts_with("VmHWM:")) return std::stoull(line.substr(6)) * 1024;
    }
    return 0;
}

// Starts measuring the peak from the memory held now (Linux 4.0 and later).
void ResetPeakMemory() { std::ofstream("/proc/self/clear_refs") << "5"; }

bool Waits(int socket, short events, int milliseconds) {
    pollfd entry{socket, events, 0};
    return poll(&entry, 1, milliseconds) > 0;
}

bool SendAll(int socket, std::string_view bytes) {
    while (!bytes.empty()) {
        if (!Waits(socket, POLLOUT, 10000)) return false;
        const ssize_t sent = send(socket, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(sent));
    }
    return true;
}

// Sends head, then a body of bodyBytes in pieces (chunked when asked), no more of it once
// the server has answered, as a client does that is refused early; the server's answer up
// to the end of the connection. The body is never held whole.
std::string Exchange(int port, const std::string& head, std::size_t bodyBytes, bool chunked) {
    const int client = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    std::string answer;
    if (connect(client, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 &&
        SendAll(client, head)) {
        const std::string piece(64 * 1024, 'x');
        std::size_t sent = 0;
        bool sending = true;
        while (sending && sent < bodyBytes && !Waits(client, POLLIN, 0)) {
            sending = chunked ? SendAll(client, "10000\r\n" + piece + "\r\n")  // hexadecimal
                              : SendAll(client, piece);
            sent += piece.size();
        }
        if (sending && chunked) SendAll(client, "0\r\n\r\n");
        char buffer[4096];
        while (Waits(client, POLLIN, 10000)) {
            const ssize_t received = recv(client, buffer, sizeof buffer, 0);
            if (received <= 0) break;
            answer.append(buffer, static_cast<std::size_t>(received));
        }
    }
    close(client);
    return answer;
}

// A menu with its package built, a disc folder and a page, served by the routes_.
class WebServerTest : public ::testing::Test {
protected:
    WebServerTest() {
        folder_.WritePng("bg.png", 4, 3, 0x204060);
        folder_.Write("main.toml", "title = \"Disc\"\nbackground = \"bg.png\"\n");
        folder_.Write("disc/readme.txt", "read me");
        folder_.Write("site/index.html", "page");
        EXPECT_TRUE(package_.Build());
    }

    // Binds the server at a free port and starts it; the port.
    static int Started(WebServer& server) {
        const std::optional<int> port = server.Bind(0);
        EXPECT_TRUE(port);
        server.Start();
        return port.value_or(0);
    }

    SourceFolder folder_;
    LivePackage package_{folder_.Path("main.toml")};
    const WebRoutes routes_{folder_.Path("site"), folder_.Path("disc"), &package_, true};
};

TEST_F(WebServerTest, AnswersOnTheLoopbackAddressOnlyAndRefusesPathsOutOfTheDisc) {
    folder_.Write("disc/page.html", "<script>fetch('/files.json')</script>");
    folder_.Write("disc/empty.txt", "");
    WebServer server(routes_);
    const int port = Started(server);

    httplib::Client client("127.0.0.1", port);
    struct Case {
        std::string target;  // as sent, not encoded by the client
        int status;
    };
    const std::vector<Case> cases = {
        {"/", 200},
        {"/disc/readme.txt", 200},
        {"/disc/page.html", 200},
        {"/disc/empty.txt", 200},
        {"/disc/%72eadme.txt", 200},
        {"/disc/%2e%2e/main.toml", 403},
        {"/disc/%2E%2E%2Fmain.toml", 403},
        {"/disc/..%5cmain.toml", 403},
        {"/disc/%2eenv", 403},
        {"/main.toml", 404},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.target);
        const httplib::Result result = client.Get(c.target);
        ASSERT_TRUE(result);
        EXPECT_EQ(result->status, c.status);
        EXPECT_EQ(result->get_header_value("Cache-Control"), "no-store");
        EXPECT_EQ(result->get_header_value("X-Content-Type-Options"), "nosniff");
        const std::string policy = result->get_header_value("Content-Security-Policy");
        EXPECT_NE(policy.find("script-src 'self' 'wasm-unsafe-eval';"), std::string::npos);
        EXPECT_NE(policy.find("frame-ancestors 'none'"), std::string::npos);
        // A disc page runs in an origin of its own; the page's files do not.
        const auto [first, end] = result->headers.equal_range("Content-Security-Policy");
        const bool sandboxed =
            std::any_of(first, end, [](const auto& h) { return h.second == "sandbox"; });
        EXPECT_EQ(sandboxed, c.status == 200 && c.target.starts_with("/disc/"));
    }
    EXPECT_EQ(client.Get("/status.json")->body, R"({"generation": 1, "error": null})");

    // A server bound to the loopback address alone is not reached on another.
    httplib::Client other("127.0.0.2", port);
    EXPECT_FALSE(other.Get("/"));
    server.Stop();
}

// A page of another site that rebinds its name to 127.0.0.1 sends that name as Host.
TEST_F(WebServerTest, AnswersOnlyRequestsThatNameItByALoopbackHost) {
    WebServer server(routes_);
    const int port = Started(server);
    const std::string own = ":" + std::to_string(port);
    struct Case {
        std::string host;
        int status;
    };
    const std::vector<Case> cases = {
        {"127.0.0.1" + own, 200},
        {"localhost" + own, 403},
        {"[::1]" + own, 403},
        {"evil.example" + own, 403},
        {"localhost.evil.example" + own, 403},
        {"127.0.0.1.nip.io" + own, 403},
        {"127.0.0.1:" + std::to_string(port + 1), 403},
        {"localhost", 403},
        {"[::1", 403},
    };
    httplib::Client client("127.0.0.1", port);
    for (const std::string path : {"/files.json", "/disc/readme.txt", "/package.bin"}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(path + " Host: " + c.host);
            const httplib::Result result = client.Get(path, {{"Host", c.host}});
            ASSERT_TRUE(result);
            EXPECT_EQ(result->status, c.status);
        }
    }
}

TEST(LoopbackHostTest, IsLoopbackHost_LeavesOutThePortOnlyForPort80) {
    struct Case {
        std::string host;
        int port;
        bool loopback;
    };
    const std::vector<Case> cases = {
        {"127.0.0.1", 80, true},          {"127.0.0.1:80", 80, true},
        {"127.0.0.1:8080", 8080, true},   {"localhost", 80, false},
        {"[::1]:8080", 8080, false},      {"127.0.0.1", 8080, false},
        {"127.0.0.1:", 8080, false},      {"127.0.0.1:08080", 8080, false},
        {"127.0.0.10:8080", 8080, false}, {"", 80, false},
        {":8080", 8080, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.host);
        EXPECT_EQ(IsLoopbackHost(c.host, c.port), c.loopback);
    }
}

TEST_F(WebServerTest, BindServer_TakesAnotherPortWhenThePreferredOneIsTaken) {
    WebServer first(routes_);
    const int taken = BindServer(first, 0, 8080);
    ASSERT_GT(taken, 0);

    WebServer second(routes_);
    EXPECT_FALSE(second.Bind(taken));
    const int other = BindServer(second, std::nullopt, taken);
    EXPECT_GT(other, 0);
    EXPECT_NE(other, taken);

    WebServer third(routes_);
    try {
        BindServer(third, taken, 8080);
        ADD_FAILURE() << "a taken port was bound";
    } catch (const PackError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "cannot serve on 127.0.0.1:" + std::to_string(taken) + ": the port is taken");
    }
}

TEST_F(WebServerTest, Stop_ReturnsEvenRightAfterStart) {
    std::promise<void> stopped;
    std::future<void> done = stopped.get_future();
    // A stop that hangs must fail the test, not the whole run.
    std::thread([routes = routes_, stopped = std::move(stopped)]() mutable {
        for (int round = 0; round < 20; ++round) {
            WebServer server(routes);
            if (!server.Bind(0)) continue;
            server.Start();
            if (round % 2 == 0) server.Stop();  // else destroyed, which stops it too
        }
        stopped.set_value();
    }).detach();
    EXPECT_EQ(done.wait_for(std::chrono::seconds(20)), std::future_status::ready);
}

// A page of another site may post anything to the server: nothing it sends is held before
// its head has been found acceptable, and no more than the route takes after.
TEST_F(WebServerTest, RefusesRequestsOverTheirLimitsWithoutHoldingTheirBodies) {
    constexpr std::size_t kLimit = 4 * 1024 * 1024;
    constexpr std::size_t kHuge = 100 * 1024 * 1024;
    ExtraRoutes echo;
    echo.admit = [](const WebRequest& head) {
        Admission admission;
        if (head.header("X-Key") != "k") admission.refusal = TextResponse(403, "text/plain", "");
        return admission;
    };
    echo.answer = [](const WebRequest& request) {
        return std::optional(TextResponse(200, "text/plain", std::to_string(request.body.size())));
    };
    echo.posts = {{"/echo", kLimit}};
    WebServer server(routes_, echo);
    const int port = Started(server);
    const std::string host = "Host: 127.0.0.1:" + std::to_string(port) + "\r\n";
    const std::string post = "POST /echo HTTP/1.1\r\n" + host + "X-Key: k\r\n";
    const std::string chunked = "Transfer-Encoding: chunked\r\n\r\n";
    auto length = [](std::size_t bytes) {
        return "Content-Length: " + std::to_string(bytes) + "\r\n\r\n";
    };
    std::string manyFields;
    for (int i = 0; i < 200; ++i) manyFields += "X-Field-" + std::to_string(i) + ": 1\r\n";
    struct Case {
        std::string name, head;
        std::size_t bodyBytes;
        bool chunked;
        std::string status;
    };
    const std::vector<Case> cases = {
        {"declared too long", post + length(kHuge), kHuge, false, "413"},
        {"chunked too long", post + chunked, kHuge, true, "413"},
        {"without the key", "POST /echo HTTP/1.1\r\n" + host + length(kHuge), kHuge, false, "403"},
        {"gzip", post + "Content-Encoding: gzip\r\n" + length(10), 10, false, "415"},
        {"brotli", post + "Content-Encoding: br\r\n" + length(10), 10, false, "415"},
        {"other transfer coding", post + "Transfer-Encoding: gzip, chunked\r\n\r\n", 10, false,
         "501"},
        {"length not a number", post + "Content-Length: 1e9\r\n\r\n", 0, false, "400"},
        {"both lengths", post + "Content-Length: 5\r\n" + chunked, 5, true, "400"},
        {"to a path without posts",
         "POST /files.json HTTP/1.1\r\n" + host + "X-Key: k\r\n" + length(kHuge), kHuge, false,
         "405"},
        {"another method", "PUT /echo HTTP/1.1\r\n" + host + "X-Key: k\r\n" + length(kHuge), kHuge,
         false, "405"},
        {"too many fields", post + manyFields + length(10), 10, false, "431"},
        {"a field too long", post + "X-Big: " + std::string(40000, 'a') + "\r\n" + length(10), 10,
         false, "431"},
        {"within the limit", post + length(kLimit), kLimit, false, "200"},
        {"chunked within the limit", post + chunked, 1024 * 1024, true, "200"},
    };
    ResetPeakMemory();
    const std::size_t before = PeakMemory();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string answer = Exchange(port, c.head, c.bodyBytes, c.chunked);
        EXPECT_TRUE(answer.starts_with("HTTP/1.1 " + c.status + " ")) << answer.substr(0, 200);
    }
    // Under AddressSanitizer freed buffers stay in its quarantine, so the process's memory
    // then measures the sanitizer; the plain build's run holds the server to the bound.
    if (!kAddressSanitizer) {
        EXPECT_LT(PeakMemory() - before, 48u * 1024 * 1024);
    }
    const std::string within = Exchange(port, post + length(kLimit), kLimit, false);
    EXPECT_TRUE(within.ends_with("\r\n\r\n" + std::to_string(kLimit))) << within.substr(0, 300);
}

// A disc file larger than the pieces it is read in, whole and by a byte range.
TEST_F(WebServerTest, SendsLargeFilesPieceByPiece) {
    std::string large(FileChunks::kChunkSize * 2 + 1234, '\0');
    for (std::size_t i = 0; i < large.size(); ++i) large[i] = static_cast<char>(i * 7 % 251);
    folder_.Write("disc/video.bin", large);
    WebServer server(routes_);
    httplib::Client client("127.0.0.1", Started(server));

    const httplib::Result whole = client.Get("/disc/video.bin");
    ASSERT_TRUE(whole);
    EXPECT_EQ(whole->status, 200);
    EXPECT_TRUE(whole->body == large);
    const std::size_t from = FileChunks::kChunkSize - 10;
    const httplib::Result part =
        client.Get("/disc/video.bin",
                   {{"Range", "bytes=" + std::to_string(from) + "-" + std::to_string(from + 99)}});
    ASSERT_TRUE(part);
    EXPECT_EQ(part->status, 206);
    EXPECT_TRUE(part->body == large.substr(from, 100));
}

}  // namespace
}  // namespace ambrevo::pack
