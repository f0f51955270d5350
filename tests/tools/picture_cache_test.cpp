#include "pack/pictures/picture_cache.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <variant>

#include "source_folder.h"

namespace ambrevo::pack {
namespace {

using DecodedPicture = std::shared_ptr<const PngPicture>;

// 10 x 10 pixels: 400 bytes of colours and 100 of alpha.
constexpr std::size_t kPictureBytes = 500;

TEST(PictureCacheTest, DecodedPixelsStayWithinTheBoundTheLeastRecentlyUsedDroppedFirst) {
    const testing::SourceFolder folder;
    for (const char* name : {"a.png", "b.png", "c.png", "d.png"}) {
        folder.WritePng(name, 10, 10, 0x203040);
    }
    PictureCache cache(3 * kPictureBytes);
    const auto load = [&](const char* name) {
        return std::get<DecodedPicture>(cache.Load(folder.Path(name)));
    };
    const DecodedPicture a = load("a.png");
    const DecodedPicture b = load("b.png");
    load("c.png");
    EXPECT_EQ(cache.PixelBytes(), 3 * kPictureBytes);
    EXPECT_EQ(load("a.png"), a);  // kept, and now the most recently used
    load("d.png");
    EXPECT_EQ(cache.PixelBytes(), 3 * kPictureBytes);
    EXPECT_EQ(load("a.png"), a);
    const DecodedPicture again = load("b.png");  // dropped for d, so decoded again
    EXPECT_NE(again, b);
    EXPECT_EQ(again->alpha, b->alpha);
    EXPECT_EQ(cache.PixelBytes(), 3 * kPictureBytes);
    // A file whose picture went is still one of the files read, for the watch.
    EXPECT_EQ(cache.Files().size(), 4u);
    EXPECT_EQ(std::get<std::string>(cache.Load(folder.Path("gone.png"))), "not found");
    EXPECT_EQ(cache.PixelBytes(), 3 * kPictureBytes);

    PictureCache tiny(kPictureBytes - 1);
    EXPECT_EQ(std::get<DecodedPicture>(tiny.Load(folder.Path("a.png")))->alpha.size(), 100u);
    EXPECT_EQ(tiny.PixelBytes(), 0u);
}

}  // namespace
}  // namespace ambrevo::pack
