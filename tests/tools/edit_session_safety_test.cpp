#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

#include "pack/common/file_io.h"
#include "pack/editor/edit_routes.h"
#include "pack/editor/edit_session.h"
#include "source_folder.h"

namespace ambrevo::pack {
namespace {

constexpr std::string_view kPackageText = "menus = [\"main.toml\"]\n";
constexpr std::string_view kMenuText = "title = \"Main\"\nbackground = \"back.png\"\n";
constexpr std::string_view kSavedMenu = "title = \"Saved by hand\"\nbackground = \"back.png\"\n";

class EditSessionSafetyTest : public ::testing::Test {
protected:
    EditSessionSafetyTest() {
        folder_.WritePng("back.png", 32, 20, 0x102030);
        folder_.Write("package.toml", kPackageText);
        folder_.Write("main.toml", kMenuText);
    }

    std::string Text(const std::string& name) const {
        std::ifstream file(folder_.Path(name), std::ios::binary);
        std::ostringstream text;
        text << file.rdbuf();
        return text.str();
    }
    nlohmann::json Request(const std::string& file, nlohmann::json request) const {
        request["file"] = file;
        request["version"] = SourceVersion(Text(file));
        return request;
    }
    nlohmann::json SetTitle(const std::string& title) const {
        return Request("main.toml", {{"set", {{"title", title}}}});
    }
    nlohmann::json AddMenu() const {
        return Request("package.toml", {{"add_menu", {{"file", "help.toml"}, {"title", "Help"}}}});
    }

    testing::SourceFolder folder_;
    EditSession session_{folder_.Path("package.toml")};
};

TEST_F(EditSessionSafetyTest, ASaveBetweenTheCheckAndTheWriteIsKeptAndTheEditRefused) {
    const struct {
        const char* name;
        std::function<void(EditSession&)> before;  // steps made with no save in between
        std::function<nlohmann::json()> request;
        std::string saved;  // the file the author saves at the last moment
    } cases[] = {
        {"an edit", [](EditSession&) {}, [&] { return SetTitle("Start"); }, "main.toml"},
        {"an undo",
         [&](EditSession& session) {
             ASSERT_EQ(ApplyJsonEdit(session, SetTitle("Start")).status, 200);
         },
         [] {
             return nlohmann::json{{"undo", true}};
         },
         "main.toml"},
        {"a redo",
         [&](EditSession& session) {
             ASSERT_EQ(ApplyJsonEdit(session, SetTitle("Start")).status, 200);
             ASSERT_EQ(ApplyJsonEdit(session, {{"undo", true}}).status, 200);
         },
         [] {
             return nlohmann::json{{"redo", true}};
         },
         "main.toml"},
        {"a new menu", [](EditSession&) {}, [&] { return AddMenu(); }, "package.toml"},
    };
    for (const auto& c : cases) {
        folder_.Write("package.toml", kPackageText);
        folder_.Write("main.toml", kMenuText);
        EditSession session(folder_.Path("package.toml"));
        c.before(session);
        const std::string saved = c.saved == "main.toml" ? std::string(kSavedMenu)
                                                         : std::string(kPackageText) + "# saved\n";
        bool once = false;
        session.SetBeforeFinalCheck([&] {
            if (!std::exchange(once, true)) folder_.Write(c.saved, saved);
        });
        const EditReply reply = ApplyJsonEdit(session, c.request());
        EXPECT_EQ(reply.status, 409) << c.name << ": " << reply.body.dump();
        EXPECT_TRUE(once) << c.name;
        EXPECT_EQ(Text(c.saved), saved) << c.name;
        EXPECT_FALSE(std::filesystem::exists(folder_.Path("help.toml"))) << c.name;
        session.SetBeforeFinalCheck(nullptr);
    }
}

TEST_F(EditSessionSafetyTest, FilesTheToolMustNotReplaceAreRefusedWithNothingWritten) {
    const std::filesystem::path package = folder_.Path("package.toml");
    const std::string cannot = "cannot write " + QuotedPath(package) + ": ";
    std::filesystem::permissions(package, std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::remove);
    const EditReply menu = ApplyJsonEdit(session_, AddMenu());
    EXPECT_EQ(menu.status, 400);
    EXPECT_EQ(menu.body["error"], cannot + "the file is read-only");
    // Both files or neither: the menu's file made first is gone again.
    EXPECT_FALSE(std::filesystem::exists(folder_.Path("help.toml")));
    EXPECT_EQ(Text("package.toml"), kPackageText);
    std::filesystem::permissions(package, std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::add);

    // A menu file linked to another in the folder stays a link to it.
    folder_.Write("real.toml", kMenuText);
    std::error_code unsupported;  // Windows lets only administrators link files
    std::filesystem::remove(folder_.Path("main.toml"));
    std::filesystem::create_symlink("real.toml", folder_.Path("main.toml"), unsupported);
    if (unsupported) return;
    const EditReply linked = ApplyJsonEdit(session_, SetTitle("Start"));
    EXPECT_EQ(linked.status, 400);
    EXPECT_EQ(linked.body["error"], "cannot write " + QuotedPath(folder_.Path("main.toml")) +
                                        ": it is a link (to \"real.toml\"); the tool writes "
                                        "only plain files");
    EXPECT_TRUE(std::filesystem::is_symlink(folder_.Path("main.toml")));
    EXPECT_EQ(Text("real.toml"), kMenuText);
}

// A menu listed in a folder that links out of the source folder is never written, though
// its own name is a plain file there.
TEST_F(EditSessionSafetyTest, AMenuInALinkedFolderOutsideIsNotWritten) {
    testing::SourceFolder outside;
    outside.Write("menus/other.toml", kMenuText);
    std::error_code unsupported;  // Windows lets only administrators link folders
    std::filesystem::create_directory_symlink(outside.Path("menus"), folder_.Path("menus"),
                                              unsupported);
    if (unsupported) GTEST_SKIP() << "this system makes no folder links";
    folder_.Write("package.toml", "menus = [\"main.toml\", \"menus/other.toml\"]\n");
    EditSession session(folder_.Path("package.toml"));
    const EditReply reply =
        ApplyJsonEdit(session, Request("menus/other.toml", {{"set", {{"title", "Taken"}}}}));
    EXPECT_EQ(reply.status, 400);
    EXPECT_EQ(reply.body["error"],
              "\"menus/other.toml\" is no TOML source file of this package in its folder");
    std::ifstream file(outside.Path("menus/other.toml"), std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    EXPECT_EQ(text.str(), kMenuText);
}

TEST_F(EditSessionSafetyTest, AnEditThatPushesOutTheOldestStepsSaysHowMany) {
    EditSession session(folder_.Path("package.toml"), std::make_shared<PictureCache>(),
                        {.steps = 2});
    for (const char* title : {"One", "Two", "Three"}) {
        const EditReply reply = ApplyJsonEdit(session, SetTitle(title));
        ASSERT_EQ(reply.status, 200) << reply.body.dump();
        EXPECT_EQ(reply.body.value("undo_dropped", 0), title == std::string("Three") ? 1 : 0);
    }
    EXPECT_EQ(ApplyJsonEdit(session, {{"undo", true}}).status, 200);
    EXPECT_EQ(ApplyJsonEdit(session, {{"undo", true}}).status, 200);
    EXPECT_EQ(Text("main.toml"), "title = \"One\"\nbackground = \"back.png\"\n");
    EXPECT_EQ(ApplyJsonEdit(session, {{"undo", true}}).body["error"], "nothing to undo");
}

}  // namespace
}  // namespace ambrevo::pack
