#include "pack/disc/build_route.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>
#include <system_error>

#include "pack/common/file_io.h"
#include "pack/disc/carried_players.h"
#include "pack/editor/edit_routes.h"
#include "pack/editor/edit_session.h"
#include "pack/package/iso_image.h"
#include "source_folder.h"

namespace ambrevo::pack {
namespace {

class BuildRouteTest : public ::testing::Test {
protected:
    BuildRouteTest() {
        folder_.Write("main.toml", "title = \"Main\"\n");
        session_ = std::make_unique<EditSession>(folder_.Path("main.toml"));
    }

    // The edit routes with the build route, as the edit command serves them.
    ExtraRoutes Routes(std::atomic<bool>& edited) {
        routes_ = std::make_unique<EditRoutes>(*session_, "c0ffee");
        return WithBuildRoute(
            routes_->Served(edited),
            std::make_shared<const BuildRoute>(folder_.Path("main.toml"), std::nullopt));
    }

    // The request views method and body: they must outlive it (literals, or texts alive
    // for the whole expression that answers it).
    static WebRequest Request(std::string_view method, std::string_view body,
                              const std::string& token = "c0ffee") {
        return {method,
                "/build",
                body,
                [token](const char* name) {
                    return std::string(name) == "X-Ambrevo-Token" ? token : "";
                },
                {}};
    }

    testing::SourceFolder folder_;
    std::unique_ptr<EditSession> session_;
    std::unique_ptr<EditRoutes> routes_;
};

TEST_F(BuildRouteTest, RefusesRequestsThatAreNoBuild) {
    std::atomic<bool> edited = false;
    const ExtraRoutes routes = Routes(edited);
    const struct {
        std::string method, body;
        int status;
        std::string error;
    } cases[] = {
        {"PUT", "", 405, "GET or POST /build"},
        {"POST", "{not json", 400, "a build request must be a JSON object"},
        {"POST", "[1]", 400, "a build request must be a JSON object"},
        {"POST", "[[[[[[[[[[]]]]]]]]]]", 400, "the build request nests too deeply"},
        {"POST", "{}", 400, "give the disc's name (its label)"},
        {"POST", R"({"label": 7})", 400, "\"label\" must be the disc's name"},
        {"POST", R"({"label": "Demo", "bits": 16})", 400, "\"bits\" must be 32 or 64"},
        {"POST", R"({"label": "Demo", "bits": 4294967328})", 400, "\"bits\" must be 32 or 64"},
        {"POST", R"({"label": "Demo", "bits": "64"})", 400, "\"bits\" must be 32 or 64"},
        {"POST", R"({"label": "Demo", "iso": "yes"})", 400, "\"iso\" must be true or false"},
        {"POST", R"({"label": "Demo", "folder": 1})", 400, "\"folder\" must be a folder's name"},
        {"POST", R"({"label": "Demo", "sign": true})", 400, "\"sign\" must be an object"},
        {"POST", R"({"label": "Demo", "sign": {}})", 400,
         "give the certificate (.pfx) to sign with"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.body);
        const std::optional<WebResponse> answer = routes.answer(Request(c.method, c.body));
        ASSERT_TRUE(answer);
        EXPECT_EQ(answer->status, c.status);
        EXPECT_EQ(nlohmann::json::parse(*answer->body), nlohmann::json({{"error", c.error}}));
    }
    EXPECT_FALSE(std::filesystem::exists(folder_.Path("output")));
    EXPECT_FALSE(edited);
}

TEST_F(BuildRouteTest, NeedsTheTokenAndTakesItsBody) {
    std::atomic<bool> edited = false;
    const ExtraRoutes routes = Routes(edited);
    EXPECT_TRUE(routes.admit(Request("POST", "", "")).refusal);
    EXPECT_TRUE(routes.admit(Request("POST", "", "c0ffef")).refusal);
    EXPECT_FALSE(routes.admit(Request("POST", "", "c0ffee")).refusal);
    bool posted = false;
    for (const auto& [path, limit] : routes.posts) posted |= path == "/build" && limit > 0;
    EXPECT_TRUE(posted);
    // It says what this tool builds.
    const std::optional<WebResponse> offers = routes.answer(Request("GET", ""));
    ASSERT_TRUE(offers);
    EXPECT_EQ(nlohmann::json::parse(*offers->body), nlohmann::json({{"iso", true}}));
    // The edit routes still answer behind it.
    WebRequest model = Request("GET", "");
    model.path = "/model";
    EXPECT_EQ(routes.answer(model)->status, 200);
}

// The build runs the build command's code: the disc folder, autorun.inf, image and USB copy
// in the folder named, or, on a tool that carries no player, the reason nothing was built.
TEST_F(BuildRouteTest, BuildsTheDiscIntoTheFolderNamed) {
    std::atomic<bool> edited = false;
    const ExtraRoutes routes = Routes(edited);
    const std::optional<WebResponse> answer = routes.answer(Request(
        "POST", R"({"label": "Demo", "folder": "out", "iso": true, "usb": true, "bits": 32})"));
    ASSERT_TRUE(answer);
    ASSERT_EQ(answer->status, 200) << *answer->body;
    const nlohmann::json reply = nlohmann::json::parse(*answer->body);
    EXPECT_FALSE(edited);
    if (CarriedPlayer(32).empty()) {
        EXPECT_EQ(reply["ok"], false);
        EXPECT_EQ(reply["messages"],
                  nlohmann::json({"error: this tool carries no 32-bit player (it was built "
                                  "before the player); give --player FILE"}));
        return;
    }
    ASSERT_EQ(reply["ok"], true) << reply.dump();
    std::vector<std::pair<std::string, std::filesystem::path>> expected = {
        {"program", folder_.Path("out/disc/setup.exe")},
        {"autorun", folder_.Path("out/disc/autorun.inf")},
        {"iso", folder_.Path("out/disc.iso")},
        {"usb", folder_.Path("out/usb")},
    };
    ASSERT_EQ(reply["outputs"].size(), expected.size()) << reply.dump();
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const nlohmann::json& output = reply["outputs"][i];
        EXPECT_EQ(output["kind"], expected[i].first);
        ASSERT_TRUE(std::filesystem::exists(expected[i].second)) << expected[i].second;
        std::error_code error;
        EXPECT_TRUE(std::filesystem::equivalent(PathFromUtf8(output["path"].get<std::string>()),
                                                expected[i].second, error))
            << output["path"];
        EXPECT_GT(output["bytes"].get<std::uintmax_t>(), 0u);
    }
    EXPECT_TRUE(std::filesystem::exists(folder_.Path("out/usb/Start Demo.exe")));
}

}  // namespace
}  // namespace ambrevo::pack
