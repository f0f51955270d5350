// The start page on Windows, where file names ignore case: a home folder typed in another
// case still holds the author's folders, and still holds nothing else.

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <string>

#include "pack/common/file_io.h"
#include "pack/start/start_routes.h"
#include "source_folder.h"
#include "support/ascii.h"

namespace ambrevo::pack {
namespace {

constexpr const char* kToken = "0123456789abcdef0123456789abcdef";

std::filesystem::path Upper(const std::filesystem::path& path) {
    std::string text = PathToUtf8(path);
    for (char& c : text) c = AsciiUpper(c);
    return PathFromUtf8(text);
}

TEST(StartRoutesWin32Test, AHomeTypedInAnotherCaseHoldsTheAuthorsFolders) {
    const testing::SourceFolder folder;
    folder.Write("home/Documents/old disc/package.toml", "menus = []\n");
    folder.Write("outside/x.txt", "");
    const std::filesystem::path home = folder.Path("home");
    const std::filesystem::path typed = Upper(home);
    ASSERT_NE(typed, home);
    const StartRoutes routes({typed, typed / "Documents", typed / ".config" / "ambrevo"}, kToken,
                             [](const std::filesystem::path&) {});
    const struct {
        const char* name;
        std::filesystem::path path;
        int status;
    } cases[] = {
        {"a folder of home as the system names it", home / "Documents" / "old disc", 200},
        {"home itself in its own case", home, 200},
        {"a folder in lower case", PathFromUtf8(AsciiLower(PathToUtf8(home / "Documents"))), 200},
        {"a folder beside home", folder.Path("outside"), 403},
        {"a folder beside home in upper case", Upper(folder.Path("outside")), 403},
    };
    for (const auto& c : cases) {
        const std::string path = PathToUtf8(c.path);
        const WebRequest request{
            "GET", "/start/folders", "",
            [](const char* name) {
                return std::string(name) == "X-Ambrevo-Token" ? kToken : std::string();
            },
            [&](const char* name) { return std::string(name) == "path" ? path : std::string(); }};
        const std::optional<WebResponse> answer = routes.Answer(request);
        ASSERT_TRUE(answer) << c.name;
        EXPECT_EQ(answer->status, c.status) << c.name << ": " << *answer->body;
    }
}

}  // namespace
}  // namespace ambrevo::pack
