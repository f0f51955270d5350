#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "pack/common/file_io.h"
#include "pack/editor/edit_routes.h"
#include "pack/editor/edit_session.h"
#include "source_folder.h"

namespace ambrevo::pack {
namespace {

constexpr std::string_view kPictureMenu = R"(title = "Main"
background = "back.png"

[[item]]
kind = "picture"
target = "a.txt"
position = [10, 20]
[item.pictures]
normal = "item.png"
)";

constexpr std::string_view kStoredLogo = "pictures/logo.png";

// A picture added through the session and then edited with: which edit took it into its
// step decides whether undo takes it out again.
class StoredPictureStepTest : public ::testing::Test {
protected:
    StoredPictureStepTest() {
        folder_.WritePng("back.png", 320, 200, 0x102030);
        folder_.WritePng("item.png", 40, 30, 0x405060);
        folder_.Write("package.toml", "menus = [\"main.toml\"]\n");
        folder_.Write("main.toml", kPictureMenu);
        logo_ = ReadFileBytes(scratch_.WritePng("logo.png", 24, 16, 0xa0b0c0));
    }

    std::optional<std::string> Text(std::string_view name) const {
        if (!std::filesystem::exists(folder_.Path(name))) return std::nullopt;
        const std::vector<std::uint8_t> bytes = ReadFileBytes(folder_.Path(name));
        return std::string(bytes.begin(), bytes.end());
    }
    EditReply Edit(nlohmann::json request) {
        request["file"] = "main.toml";
        request["version"] = SourceVersion(*Text("main.toml"));
        return ApplyJsonEdit(session_, request);
    }
    bool Stored() const { return Text(kStoredLogo) == std::string(logo_.begin(), logo_.end()); }

    testing::SourceFolder folder_;
    testing::SourceFolder scratch_;
    std::vector<std::uint8_t> logo_;
    EditSession session_{folder_.Path("package.toml")};
};

TEST_F(StoredPictureStepTest, UndoTakesTheStoredPictureOutWithTheEditThatUsedIt) {
    const nlohmann::json usePicture = {{"item", 1}, {"set", {{"pictures.normal", kStoredLogo}}}};
    const nlohmann::json addItem = {
        {"add", {{"kind", "picture"}, {"position", {100, 100}}, {"pictures.normal", kStoredLogo}}}};
    const nlohmann::json retitle = {{"set", {{"title", "Photos"}}}};
    const struct {
        const char* name;
        std::vector<nlohmann::json> edits;  // after the picture is added; the last is undone
        bool changedAfter;                  // the picture's file saved over before the undo
        bool keptByUndo;
        nlohmann::json kept;  // the reply's "kept"
    } cases[] = {
        {"set as an item's picture", {usePicture}, false, false, nullptr},
        {"a new item's picture", {addItem}, false, false, nullptr},
        {"used by a later edit, not the next", {retitle, usePicture}, false, false, nullptr},
        {"an edit that does not use it", {retitle}, false, true, nullptr},
        {"used, then saved over: left, and said so",
         {usePicture},
         true,
         true,
         nlohmann::json::array({kStoredLogo})},
    };
    for (const auto& c : cases) {
        ASSERT_EQ(session_.AddPicture("logo.png", logo_)["file"], kStoredLogo) << c.name;
        const std::string before = *Text("main.toml");
        for (const nlohmann::json& edit : c.edits) {
            ASSERT_EQ(Edit(edit).status, 200) << c.name;
        }
        const std::string edited = *Text("main.toml");
        if (c.changedAfter) folder_.WritePng(kStoredLogo, 24, 16, 0x000000);
        const EditReply undone = ApplyJsonEdit(session_, {{"undo", true}});
        ASSERT_EQ(undone.status, 200) << c.name;
        EXPECT_EQ(undone.body.value("kept", nlohmann::json()), c.kept) << c.name;
        EXPECT_EQ(std::filesystem::exists(folder_.Path(kStoredLogo)), c.keptByUndo) << c.name;
        if (!c.changedAfter) {
            // Redo puts both back: the picture's bytes and the key that names it.
            ASSERT_EQ(ApplyJsonEdit(session_, {{"redo", true}}).status, 200) << c.name;
            EXPECT_TRUE(Stored()) << c.name;
            EXPECT_EQ(Text("main.toml"), edited) << c.name;
            ASSERT_EQ(ApplyJsonEdit(session_, {{"undo", true}}).status, 200) << c.name;
        }
        // Back to the start for the next case.
        for (std::size_t i = 1; i < c.edits.size(); ++i) {
            ASSERT_EQ(ApplyJsonEdit(session_, {{"undo", true}}).status, 200) << c.name;
        }
        EXPECT_EQ(Text("main.toml"), before) << c.name;
        std::filesystem::remove(folder_.Path(kStoredLogo));
    }
}

TEST_F(StoredPictureStepTest, UndoRemovesTheKeyAndThePictureRedoPutsBothBack) {
    ASSERT_EQ(session_.AddPicture("logo.png", logo_)["file"], kStoredLogo);
    ASSERT_EQ(Edit({{"item", 1}, {"set", {{"pictures.normal", kStoredLogo}}}}).status, 200);
    ASSERT_NE(Text("main.toml")->find("normal = \"pictures/logo.png\""), std::string::npos);
    const EditReply undone = ApplyJsonEdit(session_, {{"undo", true}});
    ASSERT_EQ(undone.status, 200);
    EXPECT_EQ(Text("main.toml"), std::string(kPictureMenu));
    EXPECT_FALSE(std::filesystem::exists(folder_.Path(kStoredLogo)));
    EXPECT_EQ(session_.Model()["undo"], nlohmann::json::array());
    ASSERT_EQ(ApplyJsonEdit(session_, {{"redo", true}}).status, 200);
    EXPECT_TRUE(Stored());
    EXPECT_NE(Text("main.toml")->find("normal = \"pictures/logo.png\""), std::string::npos);
    EXPECT_EQ(session_.Model()["undo"][0]["files"],
              nlohmann::json::array({kStoredLogo, "main.toml"}));
}

}  // namespace
}  // namespace ambrevo::pack
