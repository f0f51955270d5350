#include "pack/pictures/picture_composer.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace ambrevo::pack {
namespace {

constexpr std::uint32_t kRed = 0xFF0000;
constexpr std::uint32_t kBlue = 0x0000FF;
constexpr std::uint32_t kPlain = 0x102030;

// A 2 x 1 picture, red, with the given alpha per pixel.
PngPicture RedPicture(std::vector<std::uint8_t> alpha) {
    auto bitmap = std::make_shared<Bitmap>();
    bitmap->width = 2;
    bitmap->height = 1;
    bitmap->pixels = {kRed, kRed};
    return {bitmap, std::move(alpha)};
}

// A 3 x 2 background: blue, except (2, 1), which is green.
std::shared_ptr<const Bitmap> Background() {
    auto bitmap = std::make_shared<Bitmap>();
    bitmap->width = 3;
    bitmap->height = 2;
    bitmap->pixels = {kBlue, kBlue, kBlue, kBlue, kBlue, 0x00FF00};
    return bitmap;
}

TEST(PictureComposerTest, BlendsEachPixelOverWhatLiesBeneathItInTheWindow) {
    struct Case {
        const char* what;
        std::vector<std::uint8_t> alpha;
        Point at;
        bool withBackground;
        Pixels pixels;
        bool uncovered;
    };
    const std::vector<Case> cases = {
        {"clear pixels show the background", {0, 255}, {0, 0}, true, {kBlue, kRed}, false},
        {"at the place drawn", {255, 0}, {1, 1}, true, {kRed, 0x00FF00}, false},
        {"half alpha mixes, rounded", {128, 1}, {0, 0}, true, {0x80007F, 0x0100FE}, false},
        {"right of the background", {0, 0}, {2, 0}, true, {kBlue, kPlain}, true},
        {"left of and above it", {0, 255}, {-1, -1}, true, {kPlain, kRed}, true},
        {"opaque pixels outside do not count", {0, 255}, {2, 1}, true, {0x00FF00, kRed}, false},
        {"no background at all", {0, 64}, {0, 0}, false, {kPlain, 0x4C1824}, true},
        {"far off, no overflow", {0, 0}, {2147483647, 2147483647}, true, {kPlain, kPlain}, true},
    };
    for (const Case& c : cases) {
        const PictureBackdrop backdrop{c.withBackground ? Background() : nullptr, kPlain};
        const ComposedPicture composed = ComposeOverBackdrop(RedPicture(c.alpha), c.at, backdrop);
        EXPECT_EQ(composed.bitmap->pixels, c.pixels) << c.what;
        EXPECT_EQ(composed.uncovered, c.uncovered) << c.what;
        EXPECT_EQ(composed.bitmap->width, 2) << c.what;
    }
}

TEST(PictureComposerTest, OpaquePictureIsStoredAsItIs) {
    const PngPicture picture = RedPicture({255, 255});
    const ComposedPicture composed = ComposeOverBackdrop(picture, {-5, -5}, {nullptr, kPlain});
    EXPECT_EQ(composed.bitmap, picture.bitmap);
    EXPECT_FALSE(composed.uncovered);
}

}  // namespace
}  // namespace ambrevo::pack
