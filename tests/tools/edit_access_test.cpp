#include <gtest/gtest.h>
#include <httplib.h>

#include <atomic>
#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

#include "pack/common/file_io.h"
#include "pack/editor/edit_routes.h"
#include "pack/page/request_body.h"
#include "pack/editor/picture_upload.h"
#include "pack/page/web_server.h"
#include "source_folder.h"

namespace ambrevo::pack {
namespace {

using testing::SourceFolder;

// The designer served as the edit command serves it, with the token "c0ffee".
class EditAccessTest : public ::testing::Test {
protected:
    EditAccessTest() {
        folder_.WritePng("bg.png", 4, 3, 0x204060);
        folder_.Write("main.toml", "title = \"Disc\"\nbackground = \"bg.png\"\n");
        folder_.Write("disc/readme.txt", "read me");
        folder_.Write("site/index.html", "page");
        folder_.Write("site/page.js", "script");
        EXPECT_TRUE(package_.Build());
        const std::optional<int> port = server_.Bind(0);
        EXPECT_TRUE(port);
        port_ = port.value_or(0);
        server_.Start();
    }

    SourceFolder folder_;
    LivePackage package_{folder_.Path("main.toml")};
    const WebRoutes routes_{folder_.Path("site"), folder_.Path("disc"), &package_, true};
    EditSession session_{folder_.Path("main.toml")};
    const EditRoutes edit_{session_, "c0ffee"};
    std::atomic<bool> edited_ = false;
    WebServer server_{routes_, edit_.Served(edited_)};
    int port_ = 0;
};

TEST_F(EditAccessTest, OnlyThePageIsReadWithoutTheTokenOrItsCookie) {
    httplib::Client client("127.0.0.1", port_);
    const httplib::Result opened = client.Get("/?token=c0ffee");
    ASSERT_TRUE(opened);
    const std::string setCookie = opened->get_header_value("Set-Cookie");
    const std::string name = "ambrevo_token_" + std::to_string(port_) + "=";
    ASSERT_TRUE(setCookie.starts_with(name)) << setCookie;
    const std::string cookie = setCookie.substr(0, setCookie.find(';'));
    EXPECT_EQ(setCookie.substr(cookie.size()), "; HttpOnly; SameSite=Strict; Path=/");
    // The cookie carries a key for reads alone, not the token that edits need.
    EXPECT_EQ(cookie.find("c0ffee"), std::string::npos);
    EXPECT_FALSE(client.Get("/?token=c0ffef")->has_header("Set-Cookie"));

    const std::string key = cookie.substr(name.size());
    struct Access {
        std::string name;
        httplib::Headers headers;
        bool reads;
    };
    const std::vector<Access> accesses = {
        {"nothing", {}, false},
        {"the token", {{"X-Ambrevo-Token", "c0ffee"}}, true},
        {"the cookie", {{"Cookie", "other=1; " + cookie}}, true},
        {"the token as cookie", {{"Cookie", name + "c0ffee"}}, false},
        {"another port's cookie", {{"Cookie", "ambrevo_token_1=" + key}}, false},
        {"the key as token", {{"X-Ambrevo-Token", key}}, false},
    };
    for (const std::string path : {"/model", "/pictures", "/package.bin", "/files.json",
                                   "/status.json", "/disc/readme.txt", "/other"}) {
        for (const Access& access : accesses) {
            SCOPED_TRACE(path + " with " + access.name);
            const httplib::Result result = client.Get(path, access.headers);
            ASSERT_TRUE(result);
            EXPECT_EQ(result->status, access.reads ? (path == "/other" ? 404 : 200) : 403);
        }
    }
    for (const std::string path : {"/", "/index.html", "/page.js"}) {
        EXPECT_EQ(client.Get(path)->status, 200) << path;
    }
}

TEST_F(EditAccessTest, AnEditNeedsTheTokenHeaderAndIsRefusedWhenItNestsTooDeeply) {
    httplib::Client client("127.0.0.1", port_);
    const std::string cookie = client.Get("/?token=c0ffee")->get_header_value("Set-Cookie");
    const std::string deep = std::string(100000, '[') + std::string(100000, ']');
    struct Case {
        std::string name;
        httplib::Headers headers;
        std::string body;
        int status;
        std::string error;
    };
    const std::vector<Case> cases = {
        {"the cookie alone",
         {{"Cookie", cookie.substr(0, cookie.find(';'))}},
         "{}",
         403,
         "an edit needs the token of the page's address"},
        {"nested deep", {{"X-Ambrevo-Token", "c0ffee"}}, deep, 400, "the edit nests too deeply"},
        {"nested deep in an object",
         {{"X-Ambrevo-Token", "c0ffee"}},
         R"({"set": {"title": )" + deep + "}}",
         400,
         "the edit nests too deeply"},
        {"not JSON", {{"X-Ambrevo-Token", "c0ffee"}}, "{not json", 400, "an edit must be JSON"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const httplib::Result result = client.Post("/edit", c.headers, c.body, "application/json");
        ASSERT_TRUE(result);
        EXPECT_EQ(result->status, c.status);
        EXPECT_EQ(nlohmann::json::parse(result->body).value("error", ""), c.error);
    }
    EXPECT_FALSE(edited_);
}

TEST_F(EditAccessTest, APictureIsAddedWithTheTokenHeaderAndWithinTheLimit) {
    httplib::Client client("127.0.0.1", port_);
    const std::string cookie = client.Get("/?token=c0ffee")->get_header_value("Set-Cookie");
    const std::vector<std::uint8_t> png = ReadFileBytes(folder_.Path("bg.png"));
    const std::string picture(png.begin(), png.end());
    const httplib::Headers token = {{"X-Ambrevo-Token", "c0ffee"}};
    struct Case {
        std::string name;
        std::string path;
        httplib::Headers headers;
        std::string body;
        int status;
    };
    const std::vector<Case> cases = {
        {"the cookie alone",
         "/pictures?name=a.png",
         {{"Cookie", cookie.substr(0, cookie.find(';'))}},
         picture,
         403},
        {"no name", "/pictures", token, picture, 400},
        {"no picture", "/pictures?name=a.png", token, "GIF89a", 400},
        {"over the limit", "/pictures?name=a.png", token, std::string(kPictureUploadLimit + 1, 'x'),
         413},
        {"a picture", "/pictures?name=Drop%20me.png", token, picture, 200},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const httplib::Result result = client.Post(c.path, c.headers, c.body, "image/png");
        ASSERT_TRUE(result);
        EXPECT_EQ(result->status, c.status) << result->body;
    }
    EXPECT_EQ(ReadFileBytes(folder_.Path("pictures/Drop me.png")), png);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_.Path("pictures")),
                            std::filesystem::directory_iterator()),
              1);
}

TEST(JsonDepthTest, NestsDeeperThan_CountsBracketsOutsideStrings) {
    struct Case {
        std::string json;
        bool deeper;  // than 2
    };
    const std::vector<Case> cases = {
        {R"([[1]])", false},
        {R"([[[1]]])", true},
        {R"({"a": {"b": {}}})", true},
        {R"([[1], [2], {"c": 3}])", false},
        {R"(["[[[[", "{{{{"])", false},
        {R"(["\"[[[[", {}])", false},
        {R"(["\\", [[1]]])", true},
        {R"(]]]]][[[)", true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(NestsDeeperThan(c.json, 2), c.deeper) << c.json;
    }
}

}  // namespace
}  // namespace ambrevo::pack
