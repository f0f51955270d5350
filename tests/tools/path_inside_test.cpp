#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

#include "pack/common/file_io.h"
#include "pack/common/real_path.h"

namespace ambrevo::pack {
namespace {

#ifdef _WIN32
constexpr bool kNamesIgnoreCase = true;
#else
constexpr bool kNamesIgnoreCase = false;
#endif

// Folders are compared as the system names them: case ignored on Windows only.
TEST(PathInsideTest, FindsWhereAPathLiesAsTheSystemComparesNames) {
    const std::filesystem::path root = std::filesystem::current_path().root_path();
    const struct {
        const char* name;
        std::filesystem::path inner;
        std::filesystem::path outer;
        std::optional<std::filesystem::path> inside;  // on a system that compares case
        std::optional<std::filesystem::path> insideIgnoringCase;
    } cases[] = {
        {"a folder inside", root / "home/ann/discs/one", root / "home/ann",
         std::filesystem::path("discs/one"), std::filesystem::path("discs/one")},
        {"the folder itself, with a trailing separator", root / "home/ann/", root / "home/ann",
         std::filesystem::path("."), std::filesystem::path(".")},
        {"a sibling whose name starts alike", root / "home/anna", root / "home/ann", std::nullopt,
         std::nullopt},
        {"the folder above", root / "home", root / "home/ann", std::nullopt, std::nullopt},
        {"dot-dot out of it", root / "home/ann/../bob", root / "home/ann", std::nullopt,
         std::nullopt},
        {"dot-dot that stays in", root / "home/ann/x/../y", root / "home/ann",
         std::filesystem::path("y"), std::filesystem::path("y")},
        {"the home typed in another case", root / "Home/ANN/Documents", root / "home/ann",
         std::nullopt, std::filesystem::path("Documents")},
        {"letters outside ASCII in another case", root / PathFromUtf8("home/ÉLODIE/x"),
         root / PathFromUtf8("home/élodie"), std::nullopt, std::filesystem::path("x")},
    };
    for (const auto& c : cases) {
        const std::optional<std::filesystem::path> expected =
            kNamesIgnoreCase ? c.insideIgnoringCase : c.inside;
        EXPECT_EQ(PathInside(c.inner, c.outer), expected) << c.name;
    }
}

}  // namespace
}  // namespace ambrevo::pack
