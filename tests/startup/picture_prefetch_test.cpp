#include "startup/picture_prefetch.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "fakes/fake_file_system.h"
#include "pack/package/menu_body_writer.h"
#include "pack/package/package_writer.h"

namespace ambrevo {
namespace {

constexpr char kDiscProgram[] = "E:\\disc\\setup.exe";
const std::vector<std::uint8_t> kStub{'M', 'Z'};

// A menu of a background and `pictures` - 1 item pictures, each of its own colour.
std::vector<std::uint8_t> MenuWith(int pictures, std::uint32_t colour) {
    MenuDefinition menu;
    menu.items.resize(1);
    for (int n = 0; n < pictures; ++n) {
        menu.pictures.StorePicture(n == 0 ? 0 : 1, 0, n == 0 ? 0 : n, std::make_shared<Bitmap>(
            Bitmap{4, 4, std::vector<std::uint32_t>(16, colour + static_cast<std::uint32_t>(n))}));
    }
    return pack::WriteMenuBody(menu, pack::kLatestMenuVersion);
}

// The pictures decoded before start-up asks for them: those of the menu start-up would
// show first, and nothing (and no word) where the package or a picture is damaged.
TEST(PicturePrefetchTest, DecodesTheFirstMenusPicturesAndIsSilentOnDamage) {
    std::vector<std::uint8_t> damaged = MenuWith(3, 0x500000);
    damaged.back() ^= 0xFF;  // the last picture's zlib check fails
    const std::vector<pack::PackageEntryData> twoMenus{{"main.mnu", MenuWith(3, 0x100000)},
                                                       {"more.mnu", MenuWith(5, 0x200000)}};
    const std::vector<pack::PackageEntryData> damagedMenu{{"main.mnu", damaged}};
    const struct {
        const char* what;
        std::vector<std::uint8_t> program;  // empty: no program file
        std::string argument;
        std::size_t held;
    } cases[] = {
        {"the first entry", pack::WritePackage(kStub, twoMenus), "", 3},
        {"the menu the argument names", pack::WritePackage(kStub, twoMenus), "More.mnu", 5},
        {"a damaged picture: those before it", pack::WritePackage(kStub, damagedMenu), "", 2},
        {"no package in the program", kStub, "", 0},
        {"no program file", {}, "", 0},
    };
    for (const auto& c : cases) {
        testing::FakeFileSystem files;
        if (!c.program.empty()) files.AddFile(kDiscProgram, c.program);
        PictureReuse reuse(false);
        {
            PicturePrefetch prefetch(files, [&] { return StartupInputs{kDiscProgram, c.argument, {}}; });
            prefetch.HandTo(reuse);
        }
        EXPECT_EQ(reuse.HeldCount(), c.held) << c.what;
    }
}

}  // namespace
}  // namespace ambrevo
