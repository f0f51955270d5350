#include "pack/editor/edit_session.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "pack/editor/edit_routes.h"
#include "pack/editor/picture_files.h"
#include "pack/pictures/png_codec.h"
#include "pack/source/menu_keys.h"
#include "source_folder.h"

namespace ambrevo::pack {
namespace {

constexpr std::string_view kMenu = R"(title = "Main"   # shown in the task bar
background = "back.png"

[[item]]
kind = "picture"
target = "a.txt"
position = [10, 20]
[item.pictures]
normal = "item.png"

[[item]]
kind = "button"
caption = "&Exit"
target = "*"
position = [100, 60]
size = [80, 24]
)";

// The items as the edits before the move leave them.
constexpr std::string_view kPictureItem =
    "[[item]]\nkind = \"picture\"\nposition = [10, 20]\n[item.pictures]\nnormal = \"back.png\"\n";
constexpr std::string_view kButtonItem =
    "[[item]]\nkind = \"button\"\ncaption = \"&Exit\"\ntarget = \"*\"\nposition = [110, 60]\n"
    "size = [80, 24]\n";

class EditSessionTest : public ::testing::Test {
protected:
    EditSessionTest() {
        folder_.WritePng("back.png", 320, 200, 0x102030);
        folder_.WritePng("item.png", 40, 30, 0x405060);
        folder_.Write("package.toml", "menus = [\"main.toml\"]\n");
        folder_.Write("main.toml", kMenu);
    }

    std::string Text(const std::string& name = "main.toml") const {
        std::ifstream file(folder_.Path(name), std::ios::binary);
        std::ostringstream text;
        text << file.rdbuf();
        return text.str();
    }
    // An edit of main.toml, or of the file it names, made on the file's current version.
    EditReply Edit(nlohmann::json request) {
        if (!request.contains("file")) request["file"] = "main.toml";
        request["version"] = SourceVersion(Text(request["file"]));
        return ApplyJsonEdit(session_, request);
    }

    testing::SourceFolder folder_;
    EditSession session_{folder_.Path("package.toml")};
};

TEST_F(EditSessionTest, TheModelNamesFilesVersionsAndWhereEachItemIs) {
    const nlohmann::json model = session_.Model();
    EXPECT_EQ(model["files"], nlohmann::json::parse(R"([{"name": "package.toml", "version": ")" +
                                                    SourceVersion("menus = [\"main.toml\"]\n") +
                                                    R"("}, {"name": "main.toml", "version": ")" +
                                                    SourceVersion(kMenu) + R"("}])"));
    EXPECT_EQ(model["menus"][0]["size"], nlohmann::json::parse("[320, 200]"));
    EXPECT_EQ(model["menus"][0]["keys"],
              nlohmann::json::parse(R"({"title": "Main", "background": "back.png"})"));
    nlohmann::json items = model["menus"][0]["items"];
    EXPECT_EQ(items[1]["keys"]["caption"], "&Exit");
    for (auto& item : items) item.erase("keys");
    EXPECT_EQ(items, nlohmann::json::parse(R"([
        {"index": 1, "kind": "picture", "position": [10, 20], "size": [40, 30],
         "file": "main.toml", "line": 4},
        {"index": 2, "kind": "button", "position": [100, 60], "size": [80, 24],
         "file": "main.toml", "line": 11}])"));
    EXPECT_EQ(model["problems"], nlohmann::json::array());
}

TEST_F(EditSessionTest, TheModelListsProblemsWithTheItemTheyConcern) {
    folder_.Write("main.toml", std::string(kMenu) +
                                   "\n[[item]]\nkind = \"text\"\n"
                                   "position = [300, 10]\nsizes = [1, 2]\n");
    const nlohmann::json model = session_.Model();
    EXPECT_EQ(model["problem_list"], nlohmann::json::parse(R"([
        {"file": "main.toml", "line": 18, "item": 3, "warning": true,
         "message": "item 3 (97 x 25 at 300, 10) lies partly outside the 320 x 200 window"},
        {"file": "main.toml", "line": 21, "item": 3, "warning": false,
         "message": "unknown key \"sizes\"; did you mean Size (\"size\")?"}])"));
    EXPECT_EQ(model["problems"],
              nlohmann::json::array(
                  {"main.toml:21: unknown key \"sizes\"; did you mean Size (\"size\")?"}));
    EXPECT_EQ(model["keys"], MenuKeysJson());
}

TEST_F(EditSessionTest, EditsAreWrittenInPlaceOrRefusedWithTheFileUntouched) {
    // As the system holds them: Windows keeps only whether a file is read-only.
    std::filesystem::permissions(folder_.Path("main.toml"), std::filesystem::perms(0640));
    const std::filesystem::perms kept =
        std::filesystem::status(folder_.Path("main.toml")).permissions();
    const struct {
        const char* name;
        nlohmann::json request;
        int status;
        std::string from, to;  // the change to the file; none when refused
        std::string error;     // the start of the refusal's message
    } cases[] = {
        {"a position set in place",
         {{"item", 2}, {"set", {{"position", {110, 60}}}}},
         200,
         "position = [100, 60]",
         "position = [110, 60]",
         ""},
        {"an item moved partly outside the window: written, the warning only listed",
         {{"item", 2}, {"set", {{"position", {300, 60}}}}},
         200,
         "position = [110, 60]",
         "position = [300, 60]",
         ""},
        {"and moved back",
         {{"item", 2}, {"set", {{"position", {110, 60}}}}},
         200,
         "position = [300, 60]",
         "position = [110, 60]",
         ""},
        {"a picture of a sub-table and a key removed",
         {{"item", 1}, {"set", {{"pictures.normal", "back.png"}, {"target", nullptr}}}},
         200,
         "target = \"a.txt\"\nposition = [10, 20]\n[item.pictures]\nnormal = \"item.png\"",
         "position = [10, 20]\n[item.pictures]\nnormal = \"back.png\"",
         ""},
        {"the menu's own key, its comment kept",
         {{"set", {{"title", "Start"}}}},
         200,
         "title = \"Main\"   #",
         "title = \"Start\"   #",
         ""},
        {"a value the check refuses",
         {{"item", 1}, {"set", {{"kind", "sphere"}}}},
         400,
         "",
         "",
         "main.toml:5: "},
        {"an item that is not there",
         {{"item", 3}, {"set", {{"caption", "x"}}}},
         400,
         "",
         "",
         "\"item\" must be an item's number, 1 to 2"},
        {"a fraction",
         {{"item", 1}, {"set", {{"position", {1.5, 2}}}}},
         400,
         "",
         "",
         "Position (\"position\"): \"Left\" needs a whole number, not 1.5"},
        {"a place of a list left empty",
         {{"set", {{"description.bounds", {0, 0, nullptr, 40}}}}},
         400,
         "",
         "",
         "Description area (\"description.bounds\"): \"Width\" needs a number"},
        {"a font's key left empty",
         {{"item", 2}, {"set", {{"font", {{"size", nullptr}}}}}},
         400,
         "",
         "",
         "Caption font (\"font\"): \"size\" needs a value: a text, a number, true or false, a "
         "list or a table"},
        {"a picture item added with its picture in a sub-table",
         {{"add",
           {{"kind", "picture"}, {"position", {200, 100}}, {"pictures.normal", "item.png"}}}},
         200,
         "size = [80, 24]\n",
         "size = [80, 24]\n\n[[item]]\nkind = \"picture\"\nposition = [200, 100]\n"
         "[item.pictures]\nnormal = \"item.png\"\n",
         ""},
        {"a new menu named with a folder",
         {{"file", "package.toml"}, {"add_menu", {{"file", "../help.toml"}, {"title", "Help"}}}},
         400,
         "",
         "",
         "a new menu's file must be a plain name ending in .toml"},
        {"a new menu in a file that exists",
         {{"file", "package.toml"}, {"add_menu", {{"file", "main.toml"}, {"title", "Help"}}}},
         400,
         "",
         "",
         "\"main.toml\" exists already"},
        {"a new menu in a menu's own file",
         {{"add_menu", {{"file", "help.toml"}, {"title", "Help"}}}},
         400,
         "",
         "",
         "a new menu is listed in the package file \"package.toml\""},
        {"a new menu whose background is not there",
         {{"file", "package.toml"},
          {"add_menu", {{"file", "help.toml"}, {"title", "Help"}, {"background", "gone.png"}}}},
         400,
         "",
         "",
         "help.toml:2: "},
        {"the tab order changed",
         {{"move", 2}, {"to", 1}},
         200,
         std::string(kPictureItem) + "\n" + std::string(kButtonItem),
         std::string(kButtonItem) + "\n" + std::string(kPictureItem),
         ""},
        {"two items' keys in one step",
         {{"each",
           {{{"item", 1}, {"set", {{"size", {90, 30}}}}},
            {{"item", 2}, {"set", {{"position", {12, 20}}}}}}}},
         200,
         std::string(kButtonItem) + "\n" + std::string(kPictureItem),
         "[[item]]\nkind = \"button\"\ncaption = \"&Exit\"\ntarget = \"*\"\nposition = [110, 60]\n"
         "size = [90, 30]\n\n[[item]]\nkind = \"picture\"\nposition = [12, 20]\n[item.pictures]\n"
         "normal = \"back.png\"\n",
         ""},
        {"an item duplicated as written, the copy placed apart",
         {{"duplicate", 2}, {"set", {{"position", {22, 30}}}}},
         200,
         "normal = \"back.png\"\n",
         "normal = \"back.png\"\n\n[[item]]\nkind = \"picture\"\nposition = [22, 30]\n"
         "[item.pictures]\nnormal = \"back.png\"\n",
         ""},
        {"several items' keys, one of an item that is not there",
         {{"each",
           {{{"item", 1}, {"set", {{"position", {0, 0}}}}},
            {{"item", 5}, {"set", {{"size", {90, 30}}}}}}}},
         400,
         "",
         "",
         "\"item\" must be an item's number, 1 to 4"},
    };
    for (const auto& c : cases) {
        const std::string before = Text();
        const EditReply reply = Edit(c.request);
        EXPECT_EQ(reply.status, c.status) << c.name << ": " << reply.body.dump();
        if (c.status != 200) {
            EXPECT_EQ(Text(), before) << c.name;
            EXPECT_EQ(Text("package.toml"), "menus = [\"main.toml\"]\n") << c.name;
            EXPECT_FALSE(std::filesystem::exists(folder_.Path("help.toml"))) << c.name;
            EXPECT_TRUE(reply.body["error"].get<std::string>().starts_with(c.error))
                << c.name << ": " << reply.body.dump();
            continue;
        }
        std::string expected = before;
        const std::size_t at = expected.find(c.from);
        ASSERT_NE(at, std::string::npos) << c.name;
        EXPECT_EQ(Text(), expected.replace(at, c.from.size(), c.to)) << c.name;
        EXPECT_EQ(reply.body["version"], SourceVersion(Text())) << c.name;
        // Undo takes it back byte for byte; redo makes it again.
        EXPECT_EQ(ApplyJsonEdit(session_, {{"undo", true}}).status, 200) << c.name;
        EXPECT_EQ(Text(), before) << c.name;
        EXPECT_EQ(ApplyJsonEdit(session_, {{"redo", true}}).status, 200) << c.name;
        EXPECT_EQ(Text(), expected) << c.name;
        EXPECT_EQ(std::filesystem::status(folder_.Path("main.toml")).permissions(), kept) << c.name;
    }
}

TEST_F(EditSessionTest, AStaleVersionOrAFileOutsideThePackageIsNeverWritten) {
    const std::string version = SourceVersion(Text());
    ASSERT_EQ(Edit({{"add",
                     {{"kind", "text"},
                      {"caption", "Hi"},
                      {"position", {5, 5}},
                      {"size", {50, 14}},
                      {"target", "*"}}}})
                  .body["item"],
              3);
    // The author saves the file in a text editor meanwhile.
    folder_.Write("main.toml", std::string(kMenu) + "# saved by hand\n");
    const EditReply stale = ApplyJsonEdit(
        session_, {{"file", "main.toml"}, {"version", version}, {"set", {{"title", "x"}}}});
    EXPECT_EQ(stale.status, 409);
    EXPECT_EQ(stale.body["version"], SourceVersion(Text()));
    EXPECT_EQ(ApplyJsonEdit(session_, {{"undo", true}}).status, 409);
    EXPECT_EQ(Text(), std::string(kMenu) + "# saved by hand\n");

    folder_.Write("package.toml", "menus = [\"main.toml\", \"../outside.toml\"]\n");
    folder_.Write("../outside.toml", "title = \"x\"\n");
    const EditReply outside =
        ApplyJsonEdit(session_, {{"file", "../outside.toml"},
                                 {"version", SourceVersion("title = \"x\"\n")},
                                 {"set", {{"title", "y"}}}});
    EXPECT_EQ(outside.status, 400);
    std::filesystem::remove(folder_.Path("../outside.toml"));
}

TEST_F(EditSessionTest, ANewMenuIsCreatedAndListedAndUndoTakesBothBack) {
    const EditReply added =
        Edit({{"file", "package.toml"}, {"add_menu", {{"file", "help.toml"}, {"title", "Help"}}}});
    ASSERT_EQ(added.status, 200) << added.body.dump();
    EXPECT_EQ(Text("package.toml"), "menus = [\"main.toml\", \"help.toml\"]\n");
    EXPECT_EQ(Text("help.toml"), "title = \"Help\"\n");
    EXPECT_EQ(session_.Model()["menus"][1]["name"], "help.mnu");
    EXPECT_EQ(ApplyJsonEdit(session_, {{"undo", true}}).status, 200);
    EXPECT_EQ(Text("package.toml"), "menus = [\"main.toml\"]\n");
    EXPECT_FALSE(std::filesystem::exists(folder_.Path("help.toml")));
    EXPECT_EQ(ApplyJsonEdit(session_, {{"redo", true}}).status, 200);
    EXPECT_EQ(Text("help.toml"), "title = \"Help\"\n");
    // The author writes in the new menu: undo unlists it and keeps the author's file.
    folder_.Write("help.toml", "title = \"Help me\"\n");
    EXPECT_EQ(ApplyJsonEdit(session_, {{"undo", true}}).status, 200);
    EXPECT_EQ(Text("package.toml"), "menus = [\"main.toml\"]\n");
    EXPECT_EQ(Text("help.toml"), "title = \"Help me\"\n");
    EXPECT_EQ(ApplyJsonEdit(session_, {{"redo", true}}).status, 409);
    EditSession oneMenu(folder_.Path("main.toml"));
    const EditReply refused =
        ApplyJsonEdit(oneMenu, {{"file", "main.toml"},
                                {"version", SourceVersion(Text())},
                                {"add_menu", {{"file", "more.toml"}, {"title", "More"}}}});
    EXPECT_EQ(refused.status, 400);
    EXPECT_TRUE(
        refused.body["error"].get<std::string>().starts_with("a new menu needs a package.toml"))
        << refused.body.dump();
}

TEST_F(EditSessionTest, AnEditMadeOnAMenuTheSourcesDoNotBuildAsShownIsRefused) {
    folder_.Write("package.toml", "menus = [\"main.toml\", \"second.toml\"]\n");
    folder_.Write("second.toml", "title = \"Second\"\nbackground = \"back.png\"\n");
    const nlohmann::json title = {{"set", {{"title", "Start"}}}};
    const struct {
        const char* name;
        std::string menu, file, second;  // second: second.toml's text
        int status;
        std::string error;  // the start of the refusal's message
    } cases[] = {
        {"the menu's own file", "main.mnu", "main.toml", "title = \"Second\"\n", 200, ""},
        {"entry names in any case", "SECOND.MNU", "second.toml", "title = \"Second\"\n", 200, ""},
        {"another menu's file", "second.mnu", "main.toml", "title = \"Second\"\n", 409,
         "the menu \"second.mnu\" is built from \"second.toml\", not from \"main.toml\""},
        {"a menu the package no longer has", "gallery.mnu", "main.toml", "title = \"Second\"\n",
         409, "the package has no menu \"gallery.mnu\" now"},
        {"a typo in another file: the page shows an older build", "main.mnu", "main.toml",
         "title = \"Second\n", 409, "the sources do not build (second.toml:1: "},
    };
    for (const auto& c : cases) {
        folder_.Write("second.toml", c.second);
        const std::string before = Text(c.file);
        nlohmann::json request = title;
        request["menu"] = c.menu;
        request["file"] = c.file;
        const EditReply reply = Edit(request);
        EXPECT_EQ(reply.status, c.status) << c.name << ": " << reply.body.dump();
        if (c.status == 200) {
            EXPECT_TRUE(Text(c.file).starts_with("title = \"Start\"")) << c.name;
            folder_.Write(c.file, before);
            continue;
        }
        EXPECT_EQ(Text(c.file), before) << c.name;
        EXPECT_TRUE(reply.body["error"].get<std::string>().starts_with(c.error))
            << c.name << ": " << reply.body.dump();
    }
}

TEST_F(EditSessionTest, UndoTakesBackTheNewestStepOfTheFileAskedAndNamesIt) {
    ASSERT_EQ(
        Edit({{"item", 2}, {"set", {{"position", {110, 60}}}}, {"label", "move 'Exit'"}}).status,
        200);
    ASSERT_EQ(
        Edit({{"file", "package.toml"}, {"add_menu", {{"file", "help.toml"}, {"title", "Help"}}}})
            .status,
        200);
    ASSERT_EQ(Edit({{"file", "help.toml"}, {"set", {{"title", "More help"}}}}).status, 200);
    EXPECT_EQ(session_.Model()["undo"], nlohmann::json::parse(R"([
        {"label": "move 'Exit'", "files": ["main.toml"]},
        {"label": "new menu help.toml", "files": ["help.toml", "package.toml"]},
        {"label": "change title of the menu", "files": ["help.toml"]}])"));
    const EditReply undone = ApplyJsonEdit(session_, {{"undo", true}, {"file", "main.toml"}});
    EXPECT_EQ(undone.status, 200) << undone.body.dump();
    EXPECT_EQ(undone.body["label"], "move 'Exit'");
    EXPECT_EQ(Text(), kMenu);
    EXPECT_EQ(Text("help.toml"), "title = \"More help\"\n");
    EXPECT_EQ(ApplyJsonEdit(session_, {{"undo", true}, {"file", "main.toml"}}).body["error"],
              "nothing to undo in \"main.toml\"");
    EXPECT_EQ(session_.Model()["redo"][0]["label"], "move 'Exit'");
    EXPECT_EQ(ApplyJsonEdit(session_, {{"redo", true}, {"file", "main.toml"}}).status, 200);
    EXPECT_NE(Text().find("position = [110, 60]"), std::string::npos);
}

TEST_F(EditSessionTest, TheFirstMenuIsMadeInAFolderWithoutAPackageFileOrNotAtAll) {
    const testing::SourceFolder empty;
    empty.WritePng("pictures/photo.png", 64, 48, 0x336699);
    EditSession session(empty.Path("package.toml"));
    const nlohmann::json model = session.Model();
    EXPECT_EQ(model["source"],
              nlohmann::json::parse(R"({"name": "package.toml", "exists": false})"));
    EXPECT_EQ(model["menus"], nlohmann::json::array());
    EXPECT_EQ(model["problems"], nlohmann::json::array());
    const auto first = [&](const nlohmann::json& background) {
        return ApplyJsonEdit(
            session, {{"file", "package.toml"},
                      {"add_menu",
                       {{"file", "main.toml"}, {"title", "My disc"}, {"background", background}}}});
    };
    const struct {
        const char* name;
        nlohmann::json background;
        std::string error;  // none: made
    } refused[] = {
        {"a colour not written #RRGGBB",
         {{"size", {320, 200}}, {"color", "blue"}},
         "a plain background's colour must be written \"#RRGGBB\""},
        {"a size of nothing",
         {{"size", {0, 200}}, {"color", "#000000"}},
         "a plain background's size must be [width, height], each 1 to 4096 pixels"},
        {"a picture that is not there", "pictures/gone.png", "main.toml:2: "},
    };
    for (const auto& c : refused) {
        const EditReply reply = first(c.background);
        EXPECT_EQ(reply.status, 400) << c.name;
        EXPECT_TRUE(reply.body.value("error", "").starts_with(c.error))
            << c.name << ": " << reply.body.dump();
        EXPECT_FALSE(std::filesystem::exists(empty.Path("package.toml"))) << c.name;
        EXPECT_FALSE(std::filesystem::exists(empty.Path("main.toml"))) << c.name;
        EXPECT_FALSE(std::filesystem::exists(empty.Path("pictures/main-background.png"))) << c.name;
    }
    const EditReply made = first({{"size", {320, 200}}, {"color", "#204060"}});
    ASSERT_EQ(made.status, 200) << made.body.dump();
    EXPECT_EQ(made.body["menu"], "main.toml");
    const auto read = [&](const char* name) {
        std::ifstream file(empty.Path(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(file), {});
    };
    EXPECT_EQ(read("package.toml"), "menus = [\"main.toml\"]\n");
    EXPECT_EQ(read("main.toml"),
              "title = \"My disc\"\nbackground = \"pictures/main-background.png\"\n");
    const nlohmann::json built = session.Model();
    EXPECT_EQ(built["menus"][0]["size"], nlohmann::json::parse("[320, 200]"));
    EXPECT_EQ(built["source"]["exists"], true);
    // The picture is of the colour asked.
    const std::string png = read("pictures/main-background.png");
    const PngPicture picture =
        DecodePng(std::span(reinterpret_cast<const std::uint8_t*>(png.data()), png.size()));
    EXPECT_EQ(picture.bitmap->At(319, 199), 0x204060u);
    EXPECT_EQ(ApplyJsonEdit(session, {{"undo", true}}).status, 200);
    for (const char* name : {"package.toml", "main.toml", "pictures/main-background.png"}) {
        EXPECT_FALSE(std::filesystem::exists(empty.Path(name))) << name;
    }
}

TEST_F(EditSessionTest, ThePictureListHoldsThePngFilesOfTheFolderAndNothingBeyondIt) {
    folder_.WritePng("sub/deeper/Up.PNG", 8, 6, 0x102030);
    folder_.Write("notes.png", "not a picture, whatever its name says");
    folder_.WritePng(".git/cached.png", 4, 4, 0x102030);
    const testing::SourceFolder outside;
    outside.WritePng("far/away.png", 4, 4, 0x102030);
    std::error_code unsupported;  // a system without links tests the rest
    std::filesystem::create_directory_symlink(outside.Path("far"), folder_.Path("linked"),
                                              unsupported);
    std::filesystem::create_symlink(outside.Path("far/away.png"), folder_.Path("away.png"),
                                    unsupported);
    EXPECT_EQ(session_.Pictures(), nlohmann::json::parse(R"({"pictures": [
        {"file": "back.png", "size": [320, 200]}, {"file": "item.png", "size": [40, 30]},
        {"file": "sub/deeper/Up.PNG", "size": [8, 6]}], "more": false})"));
    const nlohmann::json capped = PictureFiles(folder_.Path(""), 2);
    EXPECT_EQ(capped["pictures"].size(), 2u);
    EXPECT_EQ(capped["more"], true);
}

TEST_F(EditSessionTest, OnlyAnEditWithTheTokenReachesTheSession) {
    const EditRoutes routes(session_, "c0ffee");
    const std::string edit = R"({"file": "main.toml", "version": ")" + SourceVersion(kMenu) +
                             R"(", "set": {"title": "New"}})";
    const struct {
        std::string method, path, token, body;
        int status;  // 0: not the editor's request
    } cases[] = {
        {"GET", "/model", "", "", 403},
        {"GET", "/model", "c0ffee", "", 200},
        {"GET", "/pictures", "", "", 403},
        {"GET", "/pictures", "c0ffee", "", 200},
        {"POST", "/pictures", "", "", 403},
        {"POST", "/pictures", "c0ffee", "", 400},
        {"GET", "/index.html", "", "", 0},
        {"POST", "/edit", "", edit, 403},
        {"POST", "/edit", "c0ffef", edit, 403},
        {"POST", "/edit", "c0ffee0", edit, 403},
        {"GET", "/edit", "c0ffee", edit, 405},
        {"POST", "/edit", "c0ffee", "{not json", 400},
        {"POST", "/edit", "c0ffee", R"({"file": 3, "set": {"title": "New"}})", 400},
        {"POST", "/edit", "c0ffee", edit, 200},
    };
    for (const auto& c : cases) {
        const WebRequest request{c.method,
                                 c.path,
                                 c.body,
                                 [&c](const char* name) {
                                     return std::string(name) == "X-Ambrevo-Token" ? c.token : "";
                                 },
                                 {}};
        const std::optional<WebResponse> answer = routes.Answer(request);
        EXPECT_EQ(answer ? answer->status : 0, c.status)
            << c.method << " " << c.path << " " << c.token;
        EXPECT_EQ(Text().starts_with("title = \"New\""), c.path == "/edit" && c.status == 200)
            << c.method << " " << c.path << " " << c.token;
    }
    EXPECT_EQ(NewEditToken().size(), 32u);
    EXPECT_NE(NewEditToken(), NewEditToken());
}

}  // namespace
}  // namespace ambrevo::pack
