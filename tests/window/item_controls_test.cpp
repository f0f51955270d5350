#include <gtest/gtest.h>

#include "window/item_names.h"
#include "window_test_support.h"

namespace ambrevo {
namespace {

using testing::PictureId;

class ItemControlsTest : public testing::WindowTest {};

TEST_F(ItemControlsTest, ControlsAreNamedWithThreeDigitsAndGiveBackTheirItemNumber) {
    Load(testing::PictureMenu(100));
    for (const int n : {1, 100}) {
        const std::string digits = n == 1 ? "001" : "100";
        for (const char* prefix : {"LblBtn", "WinBtn", "ImgBtn", "KeyBtn"}) {
            const ui::Control* control = Find(prefix + digits);
            ASSERT_NE(control, nullptr) << prefix << digits;
            EXPECT_EQ(ItemNumberOf(*control), n) << prefix << digits;
        }
    }
    EXPECT_EQ(Find("ImgBtn101"), nullptr);
    EXPECT_EQ(ItemNumberOf(*window_.Parts().background), 0);
    EXPECT_EQ(ItemNumberOf(*window_.Parts().time), 0);
}

TEST_F(ItemControlsTest, ItemControlsLieAboveTheFixedPartsInCreationOrder) {
    Load(testing::PictureMenu(2));
    std::vector<std::string> names;
    for (const auto& control : Form().Controls()) names.push_back(control->Name());
    EXPECT_EQ(names, (std::vector<std::string>{"MenBck", "imgAccText", "lblAccTextShadow",
                                               "lblAccText", "lblTime", "lblDate", "LblBtn001",
                                               "WinBtn001", "ImgBtn001", "KeyBtn001", "LblBtn002",
                                               "WinBtn002", "ImgBtn002", "KeyBtn002"}));
}

TEST_F(ItemControlsTest, NewControlsStartWithTheirDefaults) {
    window_.Definition().items.emplace_back();
    window_.CreateItemControls(1);
    const ItemControls& item = Item(1);
    EXPECT_EQ(item.label->Caption(), "Button &1");
    EXPECT_EQ(item.button->Caption(), "Button &1");
    EXPECT_EQ(item.label->Bounds(), (ui::Rect{200, 60, 97, 25}));
    EXPECT_EQ(item.button->Bounds(), (ui::Rect{200, 60, 97, 25}));
    EXPECT_EQ(item.label->GetCursor(), ui::Cursor::HandPoint);
    EXPECT_TRUE(item.label->Transparent()) << "text items letter the menu picture";
    EXPECT_FALSE(item.label->Visible() || item.button->Visible() || item.picture->Visible());
    EXPECT_TRUE(item.button->TabStop() && item.keyProxy->TabStop());
    EXPECT_TRUE(item.keyProxy->Visible());
    EXPECT_EQ(item.keyProxy->Bounds(), (ui::Rect{-40, -40, 20, 20}));
}

TEST_F(ItemControlsTest, EachKindShowsItsOwnControlWithItsCaptionAndMnemonic) {
    struct Case {
        std::int32_t kind;
        std::string caption;
        std::string shortcut;
        bool italic;
        std::string labelCaption;
        std::string keyCaption;
        bool keyVisible;
    };
    const Case cases[] = {
        {0, "Picture", "5", false, "Picture", "&5", true},
        {1, "&Install", "i", false, "&Install", "&i", false},
        {2, "E&xit", "e", true, "E&xit ", "E&xit", true},
        {2, "Plain", "p", false, "Plain", "Plain", true},
        {3, "Other", "q", false, "Other", "&q", true},
    };
    MenuDefinition menu = testing::PictureMenu(static_cast<int>(std::size(cases)));
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        MenuItem& item = menu.items[i];
        item.kind = cases[i].kind;
        item.caption = cases[i].caption;
        item.shortcutKey = cases[i].shortcut;
        item.font.style.italic = cases[i].italic;
    }
    Load(menu);

    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        const ItemControls& item = Item(static_cast<int>(i) + 1);
        EXPECT_EQ(item.picture->Visible(), c.kind == 0) << c.caption;
        EXPECT_EQ(item.button->Visible(), c.kind == 1) << c.caption;
        EXPECT_EQ(item.label->Visible(), c.kind >= 2) << c.caption;
        EXPECT_EQ(item.button->Caption(), c.caption);
        EXPECT_EQ(item.label->Caption(), c.labelCaption);
        EXPECT_EQ(item.keyProxy->Caption(), c.keyCaption);
        EXPECT_EQ(item.keyProxy->Visible(), c.keyVisible) << c.caption;
        EXPECT_EQ(item.keyProxy->Bounds(), (ui::Rect{-40, -40, 20, 20})) << c.caption;
    }
    EXPECT_EQ(ui::MnemonicOf(Item(2).button->Caption()), 'I');
    EXPECT_EQ(ui::MnemonicOf(Item(3).keyProxy->Caption()), 'X');
}

TEST_F(ItemControlsTest, ItemsSharePositionAndTextControlsTakeTheItemSize) {
    MenuDefinition menu = testing::PictureMenu(2);
    menu.items[0].left = 33;
    menu.items[0].top = 44;
    menu.items[0].width = 120;
    menu.items[0].height = 30;
    menu.pictures.StorePicture(2, 0, 0, nullptr);  // a picture item without a picture
    Load(menu);

    const ItemControls& first = Item(1);
    EXPECT_EQ(first.picture->Bounds(), (ui::Rect{33, 44, 4, 3}));
    EXPECT_EQ(first.button->Bounds(), (ui::Rect{33, 44, 120, 30}));
    EXPECT_EQ(first.label->Bounds(), (ui::Rect{33, 44, 120, 30}));
    EXPECT_EQ(testing::ShownId(first.picture), PictureId(1, PictureSet::Normal, 0));

    const ItemControls& second = Item(2);
    EXPECT_TRUE(second.picture->Visible());
    EXPECT_EQ(second.picture->Image(), nullptr);
    EXPECT_EQ(second.picture->Bounds(), (ui::Rect{40, 10, 0, 0}));
}

TEST_F(ItemControlsTest, ItemFontsApplyFromVersionSevenOnAndTheColourOnlyToTheLabel) {
    MenuDefinition menu = testing::PictureMenu(1);
    MenuItem& item = menu.items[0];
    item.kind = 2;
    item.caption = "E&xit";
    item.font = {"Georgia", 11, {true, true, false}};
    item.fontColor = 0xFF0000;
    item.alignment = 1;

    Load(menu, 7);
    EXPECT_EQ(Item(1).label->Font(), (ui::Font{"Georgia", 11, true, true, false, 0xFF0000}));
    EXPECT_EQ(Item(1).button->Font(), (ui::Font{"Georgia", 11, true, true, false, 0}));
    EXPECT_EQ(Item(1).label->Alignment(), ui::Alignment::Right);
    EXPECT_EQ(Item(1).label->Caption(), "E&xit ");

    // Version 6 stores no item font: the window's font, no trailing space.
    Load(menu, 6);
    EXPECT_EQ(Item(1).label->Font(), Form().Font());
    EXPECT_EQ(Item(1).button->Font(), Form().Font());
    EXPECT_EQ(Item(1).label->Alignment(), ui::Alignment::Left);
    EXPECT_EQ(Item(1).label->Caption(), "E&xit");
}

}  // namespace
}  // namespace ambrevo
