#include "pack/editor/picture_upload.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "pack/common/file_io.h"
#include "pack/common/pack_error.h"
#include "pack/pictures/png_codec.h"
#include "source_folder.h"

#include <stb/stb_image_write.h>  // its code is the tool's own (pictures/png_codec.cpp)

namespace ambrevo::pack {
namespace {

using testing::SourceFolder;

std::vector<std::uint8_t> BytesOf(const std::filesystem::path& file) { return ReadFileBytes(file); }

// A width x height JPEG of one colour.
std::vector<std::uint8_t> Jpeg(int width, int height) {
    const std::vector<std::uint8_t> rgb(static_cast<std::size_t>(width) * height * 3, 0x80);
    std::vector<std::uint8_t> out;
    stbi_write_jpg_to_func(
        [](void* context, void* data, int size) {
            auto* bytes = static_cast<std::vector<std::uint8_t>*>(context);
            const auto* begin = static_cast<const std::uint8_t*>(data);
            bytes->insert(bytes->end(), begin, begin + size);
        },
        &out, width, height, 3, rgb.data(), 90);
    return out;
}

std::set<std::string> FilesIn(const std::filesystem::path& folder) {
    std::set<std::string> names;
    if (!std::filesystem::exists(folder)) return names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

TEST(PictureUploadTest, NamesTheFileSafelyForAWindowsDisc) {
    const struct {
        std::string given, stored;
    } cases[] = {
        {"logo.png", "logo.png"},
        {"Photo 1.JPG", "Photo 1.png"},
        {"C:\\Users\\me\\Desktop\\back.png", "back.png"},
        {"../../up/high.png", "high.png"},
        {"what?:*.png", "what___.png"},
        {"CON.jpg", "CON_.png"},
        {"lpt1", "lpt1_.png"},
        {".hidden.png", "hidden.png"},
        {"ends in dots...png", "ends in dots.png"},
        {"Bild \xC3\xBC.png", "Bild \xC3\xBC.png"},
        {"bad \xFF byte.png", "bad _ byte.png"},
        {"...", "picture.png"},
        {"", "picture.png"},
        {std::string(200, 'a') + ".png", std::string(80, 'a') + ".png"},
    };
    for (const auto& c : cases) EXPECT_EQ(DroppedPictureName(c.given), c.stored) << c.given;
}

TEST(PictureUploadTest, StoresPicturesUnderFreeNamesAndRefusesOthersWritingNothing) {
    SourceFolder folder;
    const std::vector<std::uint8_t> png = BytesOf(folder.WritePng("source.png", 5, 3, 0x336699));
    std::vector<std::uint8_t> truncated(png.begin(), png.begin() + 40);
    std::vector<std::uint8_t> huge = png;  // the header claims 9000 x 3
    huge[16] = 0;
    huge[17] = 0;
    huge[18] = 0x23;
    huge[19] = 0x28;
    const std::vector<std::uint8_t> jpeg = Jpeg(7, 4);
    const std::string text = "not a picture at all";
    const std::vector<std::uint8_t> notPicture(text.begin(), text.end());

    const struct {
        std::string name;
        std::vector<std::uint8_t> bytes;
        std::string file;  // empty: refused with `error`
        int width, height;
        std::string error;
    } cases[] = {
        {"logo.png", png, "pictures/logo.png", 5, 3, ""},
        {"LOGO.png", png, "pictures/LOGO-2.png", 5, 3, ""},
        {"logo.jpg", jpeg, "pictures/logo-3.png", 7, 4, ""},
        {"CON.png", png, "pictures/CON_.png", 5, 3, ""},
        {"text.png", notPicture, "", 0, 0, "not a PNG or JPEG picture"},
        {"cut.png", truncated, "", 0, 0, "not a readable PNG"},
        {"huge.png", huge, "", 0, 0, "9000 x 3 is over the 8192 x 8192 limit"},
        {"cut.jpg", std::vector<std::uint8_t>(jpeg.begin(), jpeg.begin() + 20), "", 0, 0,
         "not a readable JPEG"},
    };
    const std::filesystem::path pictures = folder.Path("pictures");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::set<std::string> before = FilesIn(pictures);
        if (c.file.empty()) {
            try {
                StoreDroppedPicture(folder.Path(""), c.name, c.bytes);
                ADD_FAILURE() << "stored";
            } catch (const PackError& refused) {
                EXPECT_TRUE(std::string(refused.what()).starts_with(c.error)) << refused.what();
            }
            EXPECT_EQ(FilesIn(pictures), before) << "nothing written";
            continue;
        }
        const StoredPicture stored = StoreDroppedPicture(folder.Path(""), c.name, c.bytes);
        EXPECT_EQ(stored.file, c.file);
        EXPECT_EQ(stored.width, c.width);
        EXPECT_EQ(stored.height, c.height);
        const std::vector<std::uint8_t> written = BytesOf(folder.Path(c.file));
        const PngPicture decoded = DecodePng(written);
        EXPECT_EQ(decoded.bitmap->width, c.width);
        EXPECT_EQ(decoded.bitmap->height, c.height);
        if (c.bytes == png) {
            EXPECT_EQ(written, png) << "a PNG is kept as it came";
        }
        EXPECT_EQ(FilesIn(pictures).size(), before.size() + 1);
    }
    EXPECT_EQ(BytesOf(folder.Path("pictures/logo.png")), png) << "never replaced";
}

}  // namespace
}  // namespace ambrevo::pack
