#include "pack/web/web_server.h"

#include <gtest/gtest.h>
#include <httplib.h>

#include <string>
#include <vector>

#include "source_folder.h"

namespace ambrevo::pack {
namespace {

using testing::SourceFolder;

TEST(WebServerTest, AnswersOnTheLoopbackAddressOnlyAndRefusesPathsOutOfTheDisc) {
    SourceFolder folder;
    folder.WritePng("bg.png", 4, 3, 0x204060);
    const auto source = folder.Write("main.toml", "title = \"Disc\"\nbackground = \"bg.png\"\n");
    folder.Write("disc/readme.txt", "read me");
    folder.Write("site/index.html", "page");
    LivePackage package(source);
    ASSERT_TRUE(package.Build());
    const WebRoutes routes{folder.Path("site"), folder.Path("disc"), &package, true};
    WebServer server(routes);
    const std::optional<int> port = server.Bind(0);
    ASSERT_TRUE(port);
    server.Start();

    httplib::Client client("127.0.0.1", *port);
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
        {"/main.toml", 404},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.target);
        const httplib::Result result = client.Get(c.target);
        ASSERT_TRUE(result);
        EXPECT_EQ(result->status, c.status);
        EXPECT_EQ(result->get_header_value("Cache-Control"), "no-store");
    }
    EXPECT_EQ(client.Get("/status.json")->body, R"({"generation": 1, "error": null})");

    // Another loopback address of the same host reaches a server bound to every address.
    httplib::Client other("127.0.0.2", *port);
    EXPECT_FALSE(other.Get("/"));
    server.Stop();
}

}  // namespace
}  // namespace ambrevo::pack
