#include "pack/web/web_server.h"

#include <gtest/gtest.h>
#include <httplib.h>

#include <chrono>
#include <future>
#include <string>
#include <thread>
#include <vector>

#include "pack/common/pack_error.h"
#include "pack/web/file_chunks.h"
#include "pack/web/loopback_host.h"
#include "source_folder.h"

namespace ambrevo::pack {
namespace {

using testing::SourceFolder;

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
        {"localhost" + own, 200},
        {"LocalHost" + own, 200},
        {"[::1]" + own, 200},
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
        {"localhost", 80, true},
        {"127.0.0.1", 80, true},
        {"[::1]", 80, true},
        {"localhost:80", 80, true},
        {"localhost", 8080, false},
        {"localhost:", 8080, false},
        {"localhost:08080", 8080, false},
        {"", 80, false},
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
