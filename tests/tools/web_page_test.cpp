#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <cstdlib>
#include <functional>
#include <sstream>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "pack/common/file_io.h"
#include "pack/editor/edit_session.h"
#include "pack/package/built_package.h"
#include "pack/page/live_package.h"
#include "pack/page/source_watch.h"
#include "pack/page/web_build.h"
#include "pack/page/web_commands.h"
#include "pack/page/web_routes.h"
#include "source_folder.h"
#include "web_sources.h"

namespace ambrevo::pack {
namespace {

using testing::AnswerBytes;
using testing::kPageFiles;
using testing::kWebMenu;
using testing::SourceFolder;

using WebPageTest = testing::WebSources;

TEST_F(WebPageTest, Respond_ServesThePageAndRefusesEverythingElse) {
    LivePackage package(source_);
    ASSERT_TRUE(package.Build());
    const WebRoutes routes{folder_.Path("site"), folder_.Path("src/disc"), &package, true};
    struct Case {
        std::string path;
        int status;
        std::string type;
        std::string body;  // empty: not checked
    };
    const std::vector<Case> cases = {
        {"/", 200, "text/html; charset=utf-8", "site index.html"},
        {"/index.html", 200, "text/html; charset=utf-8", "site index.html"},
        {"/page.js", 200, "text/javascript; charset=utf-8", "site page.js"},
        {"/page.css", 200, "text/css; charset=utf-8", "site page.css"},
        {"/ambrevo-web.js", 200, "text/javascript; charset=utf-8", "site ambrevo-web.js"},
        {"/ambrevo-web.wasm", 200, "application/wasm", "site ambrevo-web.wasm"},
        {"/files.json", 200, "application/json", R"({"files": ["docs/guide.txt", "readme.txt"]})"},
        {"/status.json", 200, "application/json", R"({"generation": 1, "error": null})"},
        {"/disc/readme.txt", 200, "text/plain", "read me"},
        {"/disc/docs/guide.txt", 200, "text/plain", "guide"},
        {"/disc/missing.txt", 404, "text/plain", ""},
        {"/disc/docs", 404, "text/plain", ""},
        {"/disc/", 403, "text/plain", ""},
        {"/disc/../main.toml", 403, "text/plain", ""},
        {"/disc/docs/../readme.txt", 403, "text/plain", ""},
        {"/disc/./readme.txt", 403, "text/plain", ""},
        {"/disc//etc/passwd", 403, "text/plain", ""},
        {"/disc/..\\main.toml", 403, "text/plain", ""},
        {"/disc/out.txt", 403, "text/plain", ""},
        {"/main.toml", 404, "text/plain", ""},
        {"/page_start.js", 404, "text/plain", ""},  // joined into page.js by the build
        {"/bg.png", 404, "text/plain", ""},
        {"/../secret.txt", 404, "text/plain", ""},
        {"/index.html/", 404, "text/plain", ""},
        {"/site/index.html", 404, "text/plain", ""},
        {"", 404, "text/plain", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        const WebResponse answer = routes.Respond(c.path);
        EXPECT_EQ(answer.status, c.status);
        EXPECT_EQ(answer.type, c.type);
        if (!c.body.empty()) {
            EXPECT_EQ(AnswerBytes(answer), c.body);
        }
    }
    for (const std::string_view name : kPageFiles) {
        SCOPED_TRACE(name);
        const WebResponse answer = routes.Respond("/" + std::string(name));
        EXPECT_EQ(answer.status, 200);
        EXPECT_EQ(AnswerBytes(answer), "site " + std::string(name));
    }

    const WebResponse program = routes.Respond("/package.bin");
    EXPECT_EQ(program.status, 200);
    EXPECT_EQ(program.type, "application/octet-stream");
    ASSERT_TRUE(program.body->starts_with(kWebStub));
    const BuiltPackage built = ReadBuiltPackageBytes(
        "package.bin", std::span(reinterpret_cast<const std::uint8_t*>(program.body->data()),
                                 program.body->size()));
    EXPECT_EQ(built.programSize, static_cast<std::int64_t>(kWebStub.size()));
    ASSERT_EQ(built.menus.size(), 1u);
    EXPECT_EQ(built.menus[0].name, "main.mnu");

    const WebRoutes staticRoutes{routes.site, routes.disc, &package, false};
    EXPECT_EQ(staticRoutes.Respond("/status.json").status, 404);
}

TEST_F(WebPageTest, LivePackage_RebuildsOnceChangesSettleAndKeepsTheLastGoodPackage) {
    LivePackage package(source_);
    ASSERT_TRUE(package.Build());
    const PackageSnapshot first = package.Current();
    const std::string firstBytes = *first.program;
    EXPECT_FALSE(package.Poll());  // nothing changed

    // A changed picture: built again only once two polls see it the same.
    folder_.WritePng("src/bg.png", 5, 3, 0x204060);
    EXPECT_FALSE(package.Poll());
    EXPECT_TRUE(package.Poll());
    const PackageSnapshot second = package.Current();
    EXPECT_EQ(second.generation, 2u);
    EXPECT_FALSE(second.error);
    EXPECT_NE(*second.program, firstBytes);
    EXPECT_EQ(*first.program, firstBytes);  // a snapshot handed out is never rewritten
    LivePackage fresh(source_);  // what the rebuild kept from the first build changed nothing
    ASSERT_TRUE(fresh.Build());
    EXPECT_EQ(*fresh.Current().program, *second.program);

    // A broken source: its first problem with file and line, the last good package kept.
    folder_.Write("src/main.toml", std::string(kWebMenu) + "placement = \"nowhere\"\n");
    EXPECT_FALSE(package.Poll());
    EXPECT_TRUE(package.Poll());
    const PackageSnapshot broken = package.Current();
    EXPECT_EQ(broken.generation, 2u);
    EXPECT_EQ(broken.program, second.program);
    ASSERT_TRUE(broken.error);
    EXPECT_TRUE(broken.error->starts_with(PathToUtf8(source_) + ":3: ")) << *broken.error;
    EXPECT_FALSE(package.Poll());  // a failed build is not repeated while nothing changes

    folder_.Write("src/main.toml", kWebMenu);
    EXPECT_FALSE(package.Poll());
    EXPECT_TRUE(package.Poll());
    EXPECT_EQ(package.Current().generation, 3u);
    EXPECT_FALSE(package.Current().error);
}

// Gives src/bg.png the widths 5 .. lastWidth, the package polling twice after each, while
// read runs over and over on another thread; the number of reads that threw.
int FailedReadsWhileRebuilding(SourceFolder& folder, LivePackage& package, int lastWidth,
                               const std::function<void()>& read) {
    std::atomic<bool> done = false;
    std::atomic<int> failed = 0;
    std::thread reader([&] {
        while (!done) {
            try {
                read();
            } catch (const std::exception&) {
                ++failed;
            }
        }
    });
    for (int width = 5; width <= lastWidth; ++width) {
        folder.WritePng("src/bg.png", width, 3, 0x204060);
        package.Poll();
        package.Poll();
    }
    done = true;
    reader.join();
    return failed;
}

TEST_F(WebPageTest, LivePackage_ReadersAlwaysGetAWholePackageWhileItIsRebuilt) {
    LivePackage package(source_);
    ASSERT_TRUE(package.Build());
    EXPECT_EQ(FailedReadsWhileRebuilding(
                  folder_, package, 24,
                  [&] {
                      const PackageSnapshot snapshot = package.Current();
                      ReadBuiltPackageBytes(
                          "package.bin",
                          std::span(reinterpret_cast<const std::uint8_t*>(snapshot.program->data()),
                                    snapshot.program->size()));
                  }),
              0);
    EXPECT_EQ(package.Current().generation, 21u);
}

// The designer's session and the live build share one picture cache from their threads:
// each reads whole pictures while the other drops changed ones, and both see the last.
TEST_F(WebPageTest, LivePackage_SharesItsPicturesWithTheDesignersSession) {
    const auto pictures = std::make_shared<PictureCache>();
    LivePackage package(source_, pictures);
    const EditSession session(source_, pictures);
    ASSERT_TRUE(package.Build());
    EXPECT_EQ(FailedReadsWhileRebuilding(folder_, package, 14, [&] { session.Model(); }), 0);
    EXPECT_EQ(package.Current().generation, 11u);
    EXPECT_EQ(session.Model()["menus"][0]["size"], nlohmann::json::array({14, 3}));
    EXPECT_EQ(pictures->Files().size(), 1u) << "one picture, decoded for both";
}

TEST(ChangeWatchTest, Settled_BuildsOnlyChangesTwoPollsSawAlike) {
    const std::filesystem::path file = "main.toml";
    const auto stamps = [&](std::uintmax_t size) {
        return SourceStamps{{file, FileStamp{size > 0, size, {}}}};
    };
    struct Case {
        std::string name;
        std::vector<std::uintmax_t> polls;  // sizes seen; the build saw size 1
        std::vector<bool> settled;
    };
    const std::vector<Case> cases = {
        {"unchanged", {1, 1, 1}, {false, false, false}},
        {"changed once", {2, 2, 2}, {false, true, true}},
        {"still being written", {2, 3, 4, 4}, {false, false, false, true}},
        {"changed back before it settled", {2, 1, 1}, {false, false, false}},
        {"removed", {0, 0}, {false, true}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ChangeWatch watch;
        watch.Built(stamps(1));
        for (std::size_t poll = 0; poll < c.polls.size(); ++poll) {
            EXPECT_EQ(watch.Settled(stamps(c.polls[poll])), c.settled[poll]) << "poll " << poll;
        }
    }
}

TEST_F(WebPageTest, WebCommands_WithoutTheBrowserPlayerSayHowToBuildIt) {
    std::filesystem::remove(folder_.Path("site/ambrevo-web.wasm"));
    const WebOptions options{source_, std::nullopt, folder_.Path("site")};
    std::ostringstream err;
    EXPECT_EQ(RunWeb(options, folder_.Path("page"), err), 1);
    EXPECT_EQ(err.str(),
              "error: the browser player is not built: run \"make web\" (needs Debian's "
              "emscripten)\n");
    std::ostringstream out;
    std::ostringstream serveErr;
    EXPECT_EQ(RunServe(options, 0, out, serveErr), 1);
    EXPECT_EQ(serveErr.str(), err.str());
}

}  // namespace
}  // namespace ambrevo::pack
