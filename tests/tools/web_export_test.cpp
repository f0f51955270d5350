#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "pack/cli/commands.h"
#include "pack/common/file_io.h"
#include "pack/page/staged_site.h"
#include "pack/page/web_build.h"
#include "pack/page/web_commands.h"
#include "player_image.h"
#include "web_sources.h"

namespace ambrevo::pack {
namespace {

using testing::FolderContents;
using testing::kPageFiles;

class WebExportTest : public testing::WebSources {
protected:
    WebOptions Options() const { return {source_, std::nullopt, folder_.Path("site")}; }

    int Export(std::string_view output, std::string* message = nullptr) const {
        std::ostringstream err;
        const int status = RunWeb(Options(), folder_.Path(output), err);
        if (message) *message = err.str();
        return status;
    }

    // The temporary and set-aside folders an export makes beside its output.
    std::vector<std::string> LeftBeside(std::string_view output) const {
        std::vector<std::string> left;
        const std::string prefix = "." + std::string(output) + ".";
        for (const auto& entry : std::filesystem::directory_iterator(folder_.Path(""))) {
            const std::string name = PathToUtf8(entry.path().filename());
            if (name.starts_with(prefix)) left.push_back(name);
        }
        return left;
    }
};

TEST_F(WebExportTest, RunWeb_WritesThePageAndRefusesTheFoldersItReads) {
    std::string message;
    ASSERT_EQ(Export("page", &message), 0) << message;
    EXPECT_EQ(message, "wrote " + PathToUtf8(folder_.Path("page")) +
                           ": the page, the package and 2 disc files\n");
    std::vector<std::string> written(kPageFiles.begin(), kPageFiles.end());
    written.insert(written.end(), {"package.bin", "files.json", "disc/docs/guide.txt",
                                   "disc/readme.txt", std::string(StagedSite::kMarkerName)});
    std::map<std::string, std::string> contents = FolderContents(folder_.Path("page"));
    EXPECT_EQ(contents["files.json"], R"({"files": ["docs/guide.txt", "readme.txt"]})");
    EXPECT_EQ(contents["disc/readme.txt"], "read me");
    for (const std::string& name : written) {
        EXPECT_EQ(contents.erase(name), 1u) << name;
    }
    EXPECT_TRUE(contents.empty()) << contents.begin()->first;  // no status.json, no out.txt
    EXPECT_TRUE(LeftBeside("page").empty());

    struct Case {
        std::string output;
        std::string message;
    };
    const std::string disc = PathToUtf8(folder_.Path("src/disc"));
    const std::string site = PathToUtf8(folder_.Path("site"));
    const std::vector<Case> cases = {
        {"src/disc", "is the disc folder"},
        {"src/disc/web", "lies in the disc folder \"" + disc + "\""},
        {"src", "is the source's folder"},
        {"", "holds the disc folder \"" + disc + "\""},
        {"site/web", "lies in the browser player's folder \"" + site + "\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.output);
        EXPECT_EQ(Export(c.output, &message), 1);
        EXPECT_EQ(message, "error: the output folder \"" + PathToUtf8(folder_.Path(c.output)) +
                               "\" " + c.message + "; give a folder of its own\n");
    }
    EXPECT_FALSE(std::filesystem::exists(folder_.Path("src/disc/web")));
    EXPECT_FALSE(std::filesystem::exists(folder_.Path("src/disc/package.bin")));

    folder_.Write("src/main.toml", "title = 3\n");
    EXPECT_EQ(Export("page2", &message), 1);
    EXPECT_TRUE(message.starts_with("error: " + PathToUtf8(source_) + ":1: ")) << message;
    EXPECT_FALSE(std::filesystem::exists(folder_.Path("page2")));
}

// Without a disc folder the source's folder is not published, and dot-files never are.
TEST_F(WebExportTest, RunWeb_PublishesNeitherTheSourceFolderNorDotFiles) {
    std::filesystem::remove_all(folder_.Path("src/disc"));
    folder_.Write("src/.env", "TOKEN=secret");
    folder_.Write("src/.git/config", "[remote]");
    folder_.Write("src/notes.txt", "notes");
    struct Case {
        std::optional<std::string> disc;  // --disc, relative to the test's folder
        std::string filesJson;
        std::string firstLine;
    };
    const std::vector<Case> cases = {
        {std::nullopt, R"({"files": []})",
         "no disc folder \"" + PathToUtf8(folder_.Path("src/disc")) +
             "\": the page has no disc files (--disc DIR names one)"},
        {"src", R"({"files": ["bg.png", "main.toml", "notes.txt"]})", "wrote "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.disc.value_or("no disc"));
        const std::string output = c.disc ? "with-disc" : "without-disc";
        WebOptions options = Options();
        if (c.disc) options.disc = folder_.Path(*c.disc);
        std::ostringstream err;
        ASSERT_EQ(RunWeb(options, folder_.Path(output), err), 0) << err.str();
        EXPECT_TRUE(err.str().starts_with(c.firstLine)) << err.str();
        const auto written = FolderContents(folder_.Path(output));
        EXPECT_EQ(written.at("files.json"), c.filesJson);
        for (const auto& [name, bytes] : written) {
            EXPECT_EQ(name.find(".env"), std::string::npos) << name;
            EXPECT_EQ(name.find(".git"), std::string::npos) << name;
        }
    }
}

TEST_F(WebExportTest, RunWeb_ReplacesOnlyANewOrEmptyFolderOrAnEarlierExport) {
    const std::string page = PathToUtf8(folder_.Path("page"));
    struct Case {
        std::string name;
        std::function<void()> prepare;  // makes folder "page" as the author left it
        std::string error;              // "" when the export is to succeed
    };
    const std::vector<Case> cases = {
        {"new, in a new parent", [] {}, ""},
        {"empty", [&] { std::filesystem::create_directories(folder_.Path("page")); }, ""},
        {"an author's file", [&] { folder_.Write("page/notes.txt", "mine"); },
         "the output folder \"" + page +
             "\" is not empty, and no earlier export wrote it; give a new or empty folder"},
        {"a file", [&] { folder_.Write("page", "mine"); },
         "the output folder \"" + page + "\" is a file; give a folder"},
        {"an earlier export",
         [&] {
             Export("page");
             folder_.Write("src/disc/new.txt", "new");
             std::filesystem::remove(folder_.Path("src/disc/readme.txt"));
         },
         ""},
        {"an earlier export with an author's file",
         [&] {
             Export("page");
             folder_.Write("page/disc/docs/mine.txt", "mine");
         },
         "the output folder \"" + page +
             "\" holds \"disc/docs/mine.txt\", which the earlier export did not write; move it "
             "out or give another folder"},
        {"another program's marker",
         [&] {
             folder_.Write("page/" + std::string(StagedSite::kMarkerName), "index.html\n");
             folder_.Write("page/index.html", "mine");
         },
         "the output folder \"" + page +
             "\" is not empty, and no earlier export wrote it; give a new or empty folder"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(folder_.Path("page"));
        folder_.Write("src/disc/readme.txt", "read me");
        std::filesystem::remove(folder_.Path("src/disc/new.txt"));
        c.prepare();
        const auto before = FolderContents(folder_.Path(""));
        std::string message;
        const int status = Export("page", &message);
        if (c.error.empty()) {
            EXPECT_EQ(status, 0) << message;
            const auto written = FolderContents(folder_.Path("page"));
            EXPECT_EQ(written.count("disc/readme.txt"),
                      std::filesystem::exists(folder_.Path("src/disc/readme.txt")) ? 1u : 0u);
            EXPECT_EQ(written.count("disc/new.txt"),
                      std::filesystem::exists(folder_.Path("src/disc/new.txt")) ? 1u : 0u);
        } else {
            EXPECT_EQ(status, 1);
            EXPECT_EQ(message, "error: " + c.error + "\n");
            EXPECT_EQ(FolderContents(folder_.Path("")), before);
        }
        EXPECT_TRUE(LeftBeside("page").empty());
    }
}

TEST_F(WebExportTest, RunWeb_AFailedExportLeavesTheEarlierSiteWhole) {
    ASSERT_EQ(Export("page"), 0);
    const auto before = FolderContents(folder_.Path("page"));
    folder_.Write("src/disc/readme.txt", "changed");
    std::filesystem::remove(folder_.Path("site/page.js"));  // the page is incomplete

    std::string message;
    EXPECT_EQ(Export("page", &message), 1);
    EXPECT_EQ(message, "error: cannot read the page's file page.js\n");
    EXPECT_EQ(FolderContents(folder_.Path("page")), before);
    EXPECT_TRUE(LeftBeside("page").empty());
}

// build -o and web -o make the folders they write into, however many are missing; a file
// where a folder must go stops them before they write anything.
TEST_F(WebExportTest, BuildAndWeb_MakeTheFoldersTheyWriteInto) {
    const std::filesystem::path player = folder_.Write("player.exe", testing::BarePlayerImage());
    folder_.Write("taken", "a file");
    struct Case {
        std::string command;  // "build" or "web"
        std::string output;   // relative to the test's folder
        std::string written;  // the file that must then be there, relative to it; "" for a failure
        std::string error;    // the start of the message of a failure
    };
    const std::string taken = PathToUtf8(folder_.Path("taken"));
    const std::vector<Case> cases = {
        {"build", "setup.exe", "setup.exe", ""},
        {"build", "out/setup.exe", "out/setup.exe", ""},
        {"build", "out/a/b/c/setup.exe", "out/a/b/c/setup.exe", ""},
        {"build", "out/d/../e/setup.exe", "out/e/setup.exe", ""},
        {"web", "page", "page/ambrevo-web.wasm", ""},
        {"web", "out/f/page", "out/f/page/index.html", ""},
        {"web", "out/g/h/i/page", "out/g/h/i/page/ambrevo-web.wasm", ""},
        {"web", "out/j/k/", "out/j/k/index.html", ""},
        {"build", "taken/setup.exe", "", "error: cannot make the folder \"" + taken + "\": "},
        {"build", "taken/l/setup.exe", "", "error: cannot make the folder \"" + taken + "/l\": "},
        {"web", "taken/page", "", "error: cannot make the folder \"" + taken + "\": "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command + " -o " + c.output);
        std::ostringstream err;
        const std::filesystem::path output = folder_.Path(c.output);
        const int status =
            c.command == "build"
                ? RunBuild({{source_}, player, output, true, std::nullopt, false}, err)
                : RunWeb(Options(), output, err);
        if (c.written.empty()) {
            EXPECT_EQ(status, 1);
            EXPECT_TRUE(err.str().starts_with(c.error)) << err.str();
            EXPECT_TRUE(std::filesystem::is_regular_file(folder_.Path("taken")));
        } else {
            EXPECT_EQ(status, 0) << err.str();
            EXPECT_TRUE(std::filesystem::is_regular_file(folder_.Path(c.written)));
        }
    }
}

}  // namespace
}  // namespace ambrevo::pack
