#include <gtest/gtest.h>

#include "pack/writer/density_entry.h"
#include "window_test_support.h"

namespace ambrevo {
namespace {

using testing::kHighlighted;
using testing::kNormal;

constexpr std::uint32_t kDenseMark = 0x800000;  // added to a picture's id in its variant

std::uint32_t DenseShown(const ui::Picture& picture) {
    const auto& dense = picture.DenseImage();
    return dense && !dense->Empty() ? dense->pixels[0] : 0;
}

class DensePicturesTest : public testing::WindowTest {
protected:
    // One item over a 300 x 200 background, with Normal and Highlighted pictures; the
    // background and both item pictures drawn at twice their size too.
    void InstallDenseMenu() {
        MenuDefinition menu = testing::PictureMenu(1);
        testing::AddFrames(menu, 1, kHighlighted, 0);
        std::vector<pack::DensityPicture> dense;
        for (const auto& [record, set, width, height] :
             std::vector<std::tuple<int, PictureSet, int, int>>{
                 {0, kNormal, 600, 400}, {1, kNormal, 8, 6}, {1, kHighlighted, 8, 6}}) {
            dense.push_back(
                {200, record, static_cast<int>(set), 0,
                 testing::Solid(width, height, testing::PictureId(record, set, 0) + kDenseMark)});
        }
        const std::vector<pack::MenuDensityPictures> menus = {
            {"main.mnu", pack::kLatestMenuVersion, dense}};
        InstallEntries({{"main.mnu", pack::WriteMenuBody(menu, pack::kLatestMenuVersion)},
                        *pack::DensityEntry(menus)});
    }
};

TEST_F(DensePicturesTest, ControlsCarryTheVariantOfTheirPictureOnADenseScreenOnly) {
    struct Case {
        int dpi;
        bool dense;
    };
    for (const Case& c : {Case{96, false}, Case{120, true}, Case{192, true}}) {
        SCOPED_TRACE(c.dpi);
        widgets_.SetDpi(c.dpi);
        InstallDenseMenu();
        window_.LoadMenu("main.mnu");
        const auto expected = [&](int record, PictureSet set) {
            return c.dense ? testing::PictureId(record, set, 0) + kDenseMark : 0u;
        };
        ui::Picture& background = *window_.Parts().background;
        EXPECT_EQ(testing::ShownId(&background), testing::PictureId(0, kNormal, 0));
        EXPECT_EQ(DenseShown(background), expected(0, kNormal));
        EXPECT_EQ(DenseShown(*Item(1).picture), expected(1, kNormal));
        widgets_.MouseMove(*Item(1).picture, 1, 1);
        EXPECT_EQ(testing::ShownId(Item(1).picture), testing::PictureId(1, kHighlighted, 0));
        EXPECT_EQ(DenseShown(*Item(1).picture), expected(1, kHighlighted));
        widgets_.MouseMove(background, 200, 150);
        EXPECT_EQ(DenseShown(*Item(1).picture), expected(1, kNormal));
        EXPECT_TRUE(dialogs_.shown.empty());
    }
}

// The window moved between screens of other scales while the menu is on show: each move
// chooses the variants again, for the pictures on show as the user left them.
TEST_F(DensePicturesTest, AScaleChangeChoosesTheVariantsAgainForThePicturesOnShow) {
    struct Step {
        int dpi;
        bool discGone;
        bool dense;
    };
    widgets_.SetDpi(96);
    InstallDenseMenu();
    window_.LoadMenu("main.mnu");
    widgets_.MouseMove(*Item(1).picture, 1, 1);  // the item shows its Highlighted picture
    for (const Step& step : {Step{192, false, true}, Step{144, false, true}, Step{96, false, false},
                             Step{192, true, false}}) {
        SCOPED_TRACE(step.dpi);
        if (step.discGone) files_.Remove(program_.folder + program_.fileName);
        widgets_.SetDpi(step.dpi);
        window_.Form().ScaleChanged();
        const auto expected = [&](int record, PictureSet set) {
            return step.dense ? testing::PictureId(record, set, 0) + kDenseMark : 0u;
        };
        EXPECT_EQ(DenseShown(*window_.Parts().background), expected(0, kNormal));
        EXPECT_EQ(testing::ShownId(Item(1).picture), testing::PictureId(1, kHighlighted, 0));
        EXPECT_EQ(DenseShown(*Item(1).picture), expected(1, kHighlighted));
    }
    EXPECT_TRUE(dialogs_.shown.empty());
}

}  // namespace
}  // namespace ambrevo
