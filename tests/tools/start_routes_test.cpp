#include "pack/start/start_routes.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <map>
#include <string>
#include <vector>

#include "pack/common/pack_error.h"
#include "pack/pictures/png_codec.h"
#include "pack/start/recent_discs.h"
#include "pack/start/running_instance.h"
#include "source_folder.h"

namespace ambrevo::pack {
namespace {

using testing::SourceFolder;

constexpr const char* kToken = "0123456789abcdef0123456789abcdef";

class StartRoutesTest : public ::testing::Test {
protected:
    StartRoutesTest() {
        folder_.Write("home/Documents/old disc/package.toml", "menus = []\n");
        folder_.Write("home/Documents/b/.hidden/x.txt", "");
        folder_.Write("home/Documents/a.txt", "");
        folder_.Write("outside/secret/x.txt", "");
        std::filesystem::create_directory_symlink(folder_.Path("outside"),
                                                  folder_.Path("home/Documents/link"));
    }

    UserFolders Folders() const {
        return {folder_.Path("home"), folder_.Path("home/Documents"),
                folder_.Path("home/.config/ambrevo"), folder_.Path("home/.config/ambrevo")};
    }

    // The route's answer: its status and JSON body (null for a request not the start page's).
    std::pair<int, nlohmann::json> Ask(const StartRoutes& routes, const std::string& method,
                                       const std::string& path, const std::string& body = "",
                                       const std::map<std::string, std::string>& query = {},
                                       const std::string& token = kToken) const {
        const WebRequest request{method, path, body,
                                 [token](const char* name) {
                                     return std::string(name) == "X-Ambrevo-Token" ? token
                                                                                   : std::string();
                                 },
                                 [query](const char* name) {
                                     const auto found = query.find(name);
                                     return found == query.end() ? std::string() : found->second;
                                 }};
        const std::optional<WebResponse> answer = routes.Answer(request);
        if (!answer) return {0, nullptr};
        return {answer->status, nlohmann::json::parse(*answer->body)};
    }

    StartRoutes Routes() {
        return StartRoutes(Folders(), kToken, [this](const std::filesystem::path& folder) {
            if (folder.filename() == "refused") throw PackError("cannot edit that");
            opened_.push_back(folder);
        });
    }

    std::string Resolved(const std::string& name) const {
        return std::filesystem::weakly_canonical(folder_.Path(name)).string();
    }

    SourceFolder folder_;
    std::vector<std::filesystem::path> opened_;
};

TEST_F(StartRoutesTest, AnswersEachRouteAndRefusesWhatItMust) {
    struct Case {
        const char* what;
        const char* method;
        const char* path;
        std::map<std::string, std::string> query;
        const char* body;
        const char* token;
        int status;
        const char* field;     // the answer's key checked; "" for the whole body's error
        std::string expected;  // its value as JSON text
    };
    const std::string outside = Resolved("outside");
    const std::string home = Resolved("home");
    const Case cases[] = {
        {"no token",
         "GET",
         "/start/templates",
         {},
         "",
         "",
         403,
         "error",
         R"("the start page needs the token of its address")"},
        {"a wrong token",
         "POST",
         "/start/open",
         {},
         R"({"folder":"old disc"})",
         "0123456789abcdef0123456789abcdee",
         403,
         "error",
         R"("the start page needs the token of its address")"},
        {"unknown route",
         "GET",
         "/start/nothing",
         {},
         "",
         kToken,
         404,
         "error",
         R"("the start page has no GET /start/nothing")"},
        {"templates by POST",
         "POST",
         "/start/templates",
         {},
         "",
         kToken,
         404,
         "error",
         R"("the start page has no POST /start/templates")"},
        {"home at first",
         "GET",
         "/start/folders",
         {},
         "",
         kToken,
         200,
         "folders",
         R"(["Documents"])"},
        {"the home folder has no parent",
         "GET",
         "/start/folders",
         {},
         "",
         kToken,
         200,
         "parent",
         "null"},
        {"hidden names and files left out",
         "GET",
         "/start/folders",
         {{"path", "b"}},
         "",
         kToken,
         200,
         "folders",
         "[]"},
        {"relative paths from the documents",
         "GET",
         "/start/folders",
         {{"path", "."}},
         "",
         kToken,
         200,
         "folders",
         R"(["b","link","old disc"])"},
        {"a disc folder says so",
         "GET",
         "/start/folders",
         {{"path", "old disc"}},
         "",
         kToken,
         200,
         "disc",
         "true"},
        {"outside home",
         "GET",
         "/start/folders",
         {{"path", outside}},
         "",
         kToken,
         403,
         "error",
         "\"\\\"" + outside + "\\\" is not inside your home folder \\\"" +
             folder_.Path("home").string() + "\\\": choose a folder of your own\""},
        {"dot-dot out of home",
         "GET",
         "/start/folders",
         {{"path", home + "/.."}},
         "",
         kToken,
         403,
         "",
         ""},
        {"a link out of home",
         "GET",
         "/start/folders",
         {{"path", "link/secret"}},
         "",
         kToken,
         403,
         "",
         ""},
        {"not a folder", "GET", "/start/folders", {{"path", "a.txt"}}, "", kToken, 400, "", ""},
        {"new disc outside home",
         "POST",
         "/start/new",
         {},
         R"({"template":"product","folder":"link/new"})",
         kToken,
         403,
         "",
         ""},
        {"new disc, unknown template",
         "POST",
         "/start/new",
         {},
         R"({"template":"nope","folder":"fresh"})",
         kToken,
         400,
         "error",
         R"("there is no template \"nope\"")"},
        {"new disc into a folder that holds files",
         "POST",
         "/start/new",
         {},
         R"({"template":"product","folder":"b"})",
         kToken,
         400,
         "",
         ""},
        {"open without a folder",
         "POST",
         "/start/open",
         {},
         R"({"path":"x"})",
         kToken,
         400,
         "error",
         R"("name the disc's folder: {\"folder\": \"...\"}")"},
        {"open, not JSON", "POST", "/start/open", {}, "folder", kToken, 400, "", ""},
        {"open a missing folder",
         "POST",
         "/start/open",
         {},
         R"({"folder":"gone"})",
         kToken,
         400,
         "",
         ""},
    };
    const StartRoutes routes = Routes();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto [status, body] = Ask(routes, c.method, c.path, c.body, c.query, c.token);
        EXPECT_EQ(status, c.status) << body.dump();
        if (*c.field) {
            EXPECT_EQ(body[c.field].dump(), c.expected);
        }
        if (c.status != 200) {
            EXPECT_TRUE(body["error"].is_string());
        }
    }
    EXPECT_TRUE(opened_.empty());
    EXPECT_FALSE(std::filesystem::exists(folder_.Path("outside/new")));
    EXPECT_FALSE(std::filesystem::exists(folder_.Path("home/Documents/fresh")));
    EXPECT_FALSE(std::filesystem::exists(folder_.Path("home/Documents/b/package.toml")));
}

// Each template's card shows its first menu as the author will get it, drawn once.
TEST_F(StartRoutesTest, DrawsEachTemplatesMenuAsAPicture) {
    const StartRoutes routes = Routes();
    const auto ask = [&](const std::string& path) {
        return routes.Answer({"GET", path, "", [](const char*) { return std::string(kToken); },
                              [](const char*) { return std::string(); }});
    };
    const struct {
        const char* name;
        int width, height;  // the template's background
    } cases[] = {{"product", 640, 400}, {"collection", 600, 380}, {"launcher", 420, 320}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::optional<WebResponse> answer =
            ask("/start/templates/" + std::string(c.name) + ".png");
        ASSERT_TRUE(answer);
        ASSERT_EQ(answer->status, 200) << *answer->body;
        EXPECT_EQ(answer->type, "image/png");
        const std::vector<std::uint8_t> bytes(answer->body->begin(), answer->body->end());
        const PngPicture picture = DecodePng(bytes);
        EXPECT_EQ(picture.bitmap->width, c.width);
        EXPECT_EQ(picture.bitmap->height, c.height);
        EXPECT_EQ(ask("/start/templates/" + std::string(c.name) + ".png")->body, answer->body)
            << "drawn once";
    }
    const std::optional<WebResponse> unknown = ask("/start/templates/../secret.png");
    ASSERT_TRUE(unknown);
    EXPECT_EQ(unknown->status, 400);
}

TEST_F(StartRoutesTest, LeavesOtherPathsToThePage) {
    const StartRoutes routes = Routes();
    for (const char* path : {"/", "/start.html", "/model", "/startx", "/edit"}) {
        EXPECT_EQ(Ask(routes, "GET", path).first, 0) << path;
    }
}

TEST_F(StartRoutesTest, ANewDiscIsMadeOpenedAndListedFirstAmongTheRecent) {
    const StartRoutes routes = Routes();
    auto [status, body] = Ask(routes, "POST", "/start/open", R"({"folder":"old disc"})");
    ASSERT_EQ(status, 200) << body.dump();
    std::tie(status, body) =
        Ask(routes, "POST", "/start/new", R"({"template":"launcher","folder":"Stick"})");
    ASSERT_EQ(status, 200) << body.dump();
    EXPECT_EQ(body["address"], std::string("/?token=") + kToken);
    EXPECT_TRUE(std::filesystem::exists(folder_.Path("home/Documents/Stick/package.toml")));
    ASSERT_EQ(opened_.size(), 2u);
    EXPECT_EQ(opened_[1], Resolved("home/Documents/Stick"));

    std::tie(status, body) = Ask(routes, "GET", "/start/recent");
    ASSERT_EQ(status, 200);
    ASSERT_EQ(body.size(), 2u);
    EXPECT_EQ(body[0]["folder"], Resolved("home/Documents/Stick"));
    EXPECT_EQ(body[0]["name"], "Stick");
    EXPECT_EQ(body[1]["folder"], Resolved("home/Documents/old disc"));

    // A folder the designer cannot take is not listed.
    folder_.Write("home/Documents/refused/x.txt", "");
    std::tie(status, body) = Ask(routes, "POST", "/start/open", R"({"folder":"refused"})");
    EXPECT_EQ(status, 400);
    EXPECT_EQ(body["error"], "cannot edit that");
    EXPECT_EQ(Ask(routes, "GET", "/start/recent").second.size(), 2u);
}

TEST_F(StartRoutesTest, RecentDiscsKeepTheLatestOnceEachAndSkipWhatIsGone) {
    const RecentDiscs recent(folder_.Path("home/.config/ambrevo/recent.json"));
    EXPECT_TRUE(recent.Folders().empty());
    for (int i = 0; i < 12; ++i) {
        std::filesystem::create_directories(folder_.Path("discs/" + std::to_string(i)));
        recent.Add(folder_.Path("discs/" + std::to_string(i)));
    }
    recent.Add(folder_.Path("discs/5"));
    std::filesystem::remove(folder_.Path("discs/11"));
    const std::vector<std::filesystem::path> listed = recent.Folders();
    ASSERT_EQ(listed.size(), RecentDiscs::kKept - 1);
    EXPECT_EQ(listed[0], folder_.Path("discs/5"));
    EXPECT_EQ(listed[1], folder_.Path("discs/10"));
    EXPECT_EQ(std::count(listed.begin(), listed.end(), folder_.Path("discs/5")), 1);

    // A damaged file is no list, and the next disc opened starts a new one.
    folder_.Write("home/.config/ambrevo/recent.json", "{not json");
    EXPECT_TRUE(recent.Folders().empty());
    recent.Add(folder_.Path("discs/1"));
    EXPECT_EQ(recent.Folders(), std::vector{folder_.Path("discs/1")});
}

}  // namespace
}  // namespace ambrevo::pack

namespace ambrevo::pack {
namespace {

TEST(PageWatchTest, PagesAreGoneOnlyAfterTheGraceSinceTheLastRequestOnceOneCame) {
    using namespace std::chrono_literals;
    const PageWatch::Clock::time_point start{};
    struct Case {
        const char* what;
        std::vector<std::chrono::seconds> seen;  // after start
        std::chrono::seconds now;
        bool gone;
    };
    const Case cases[] = {
        {"no page yet, however long", {}, 100000s, false},
        {"within the grace", {10s}, 10s + PageWatch::kGrace, false},
        {"past the grace", {10s}, 11s + PageWatch::kGrace, true},
        {"a reload keeps it", {10s, 80s}, 11s + PageWatch::kGrace, false},
        {"the last request counts", {10s, 80s}, 81s + PageWatch::kGrace, true},
    };
    for (const Case& c : cases) {
        PageWatch watch;
        for (const std::chrono::seconds when : c.seen) watch.Seen(start + when);
        EXPECT_EQ(watch.Gone(start + c.now), c.gone) << c.what;
    }
}

TEST(RunningAddressTest, ReadsOnlyAWholeAddressBack) {
    SourceFolder folder;
    const std::filesystem::path file = folder.Path("run/running.json");
    EXPECT_FALSE(ReadRunningAddress(file));
    WriteRunningAddress(file, {8123, "abc"});
    const std::optional<RunningAddress> read = ReadRunningAddress(file);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->port, 8123);
    EXPECT_EQ(read->StartPage(), "http://127.0.0.1:8123/start.html?token=abc");
    EXPECT_EQ(std::filesystem::status(file).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    for (const char* damaged :
         {"", "{", "[]", R"({"port": 0, "token": "a"})", R"({"port": 70000, "token": "a"})",
          R"({"port": 80})", R"({"port": "80", "token": "a"})"}) {
        folder.Write("run/running.json", damaged);
        EXPECT_FALSE(ReadRunningAddress(file)) << damaged;
    }
}

}  // namespace
}  // namespace ambrevo::pack
