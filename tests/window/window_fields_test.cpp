#include <gtest/gtest.h>

#include "window_test_support.h"

namespace ambrevo {
namespace {

using testing::PictureId;

class WindowFieldsTest : public testing::WindowTest {
protected:
    ui::Label& Description() { return *window_.Parts().description; }
    ui::Label& Shadow() { return *window_.Parts().descriptionShadow; }
};

TEST_F(WindowFieldsTest, BeforeAnyMenuTheWindowHasItsFixedParts) {
    EXPECT_EQ(Form().Name(), "frmMenu");
    EXPECT_EQ(Form().Style(), ui::FormStyle::Borderless);
    EXPECT_FALSE(Form().Visible());
    EXPECT_EQ(Form().Caption(), "");
    EXPECT_EQ(Form().Font(), (ui::Font{"Tahoma", 8}));
    EXPECT_EQ(Form().Bounds(), (ui::Rect{0, 0, 235, 135}));
    std::vector<std::string> names;
    for (const auto& control : Form().Controls()) names.push_back(control->Name());
    EXPECT_EQ(names, (std::vector<std::string>{"MenBck", "imgAccText", "lblAccTextShadow",
                                               "lblAccText", "lblTime", "lblDate"}));
    EXPECT_EQ(Form().ContextMenu()->Entries().at(0).caption, "About");
    EXPECT_EQ(window_.Parts().background->ContextMenu(), Form().ContextMenu());
    EXPECT_EQ(window_.Parts().background->Bounds(), (ui::Rect{0, 0, 1, 1}));
    EXPECT_FALSE(Shadow().Visible());
    EXPECT_EQ(Description().Bounds(), (ui::Rect{40, 120, 120, 45}));
    EXPECT_TRUE(Description().WordWrap() && Description().Transparent());
    EXPECT_EQ(window_.Parts().time->Caption(), "10:11:12");
    EXPECT_EQ(window_.Parts().date->Caption(), "17.05.2024");
    EXPECT_EQ(window_.ClockTimer().Interval(), 1000);
    EXPECT_EQ(window_.AnimationTimer().Interval(), 0);

    int aboutCalls = 0;
    window_.onAbout = [&] { ++aboutCalls; };
    Form().ContextMenu()->Choose(0);
    EXPECT_EQ(aboutCalls, 1);
    // From the keyboard too: Shift+F10 opens the same menu.
    widgets_.ChooseInNextMenu(0);
    EXPECT_TRUE(widgets_.Input(Form()).ContextMenuKey(ui::kKeyF10, true, {.shift = true}));
    EXPECT_EQ(aboutCalls, 2);
}

TEST_F(WindowFieldsTest, MenuFieldsSetTheTitleDescriptionAreaClockAndBackground) {
    MenuDefinition menu = testing::PictureMenu(1, 500, 500);
    menu.title = "Setup";
    menu.placement = 5;
    menu.descriptionFont = {"Verdana", 12, {true, false, true}};
    menu.descriptionColor = 0x0000FF;
    menu.descriptionBounds = {30, 140, 200, 40};
    menu.descriptionAlignment = 2;
    menu.shadowColor = 0x808080;
    menu.showTime = true;
    menu.showDate = false;
    menu.clockColor = 0x00FF00;
    menu.timePosition = {5, 6};
    menu.datePosition = {70, 8};
    menu.timeFont = {"Courier", 9, {false, true, false}};
    menu.dateFont = {"Arial", 7, {true, false, false}};
    menu.descriptionPicturePosition = {210, 15};
    Load(menu);

    EXPECT_EQ(Form().Caption(), "Setup");
    EXPECT_EQ(widgets_.ApplicationTitle(), "Setup");
    EXPECT_EQ(window_.MarqueeText(), "Setup     ");
    EXPECT_TRUE(Form().Visible());
    EXPECT_EQ(Form().Bounds(), (ui::Rect{6, 0, 500, 500}));
    EXPECT_EQ(testing::ShownId(window_.Parts().background), PictureId(0, PictureSet::Normal, 0));

    EXPECT_EQ(Description().Font(), (ui::Font{"Verdana", 12, true, false, true, 0x0000FF}));
    EXPECT_EQ(Shadow().Font(), (ui::Font{"Verdana", 12, true, false, true, 0x808080}));
    EXPECT_EQ(Description().Bounds(), (ui::Rect{30, 140, 200, 40}));
    EXPECT_EQ(Description().Alignment(), ui::Alignment::Center);
    EXPECT_EQ(Shadow().Alignment(), ui::Alignment::Center);
    EXPECT_EQ(Description().Caption(), "Choose");
    EXPECT_EQ(Shadow().Caption(), "Choose");

    const ui::Label& time = *window_.Parts().time;
    const ui::Label& date = *window_.Parts().date;
    EXPECT_TRUE(time.Visible());
    EXPECT_FALSE(date.Visible());
    EXPECT_EQ(time.Font(), (ui::Font{"Courier", 9, false, true, false, 0x00FF00}));
    EXPECT_EQ(date.Font(), (ui::Font{"Arial", 7, true, false, false, 0x00FF00}));
    EXPECT_EQ(time.Bounds().left, 5);
    EXPECT_EQ(time.Bounds().top, 6);
    EXPECT_EQ(date.Bounds().left, 70);
    EXPECT_EQ(date.Bounds().top, 8);
    EXPECT_EQ(window_.Parts().descriptionPicture->Bounds().left, 210);
    EXPECT_EQ(window_.Parts().descriptionPicture->Bounds().top, 15);
}

TEST_F(WindowFieldsTest, ShadowSitsOffsetBehindTheDescriptionWhenTheOffsetIsPositive) {
    const struct {
        int offset;
        bool visible;
        ui::Rect bounds;
    } cases[] = {
        {3, true, {33, 143, 200, 40}},
        {1, true, {31, 141, 200, 40}},
        {0, false, {30, 140, 200, 40}},
        {-2, false, {28, 138, 200, 40}},
    };
    for (const auto& c : cases) {
        MenuDefinition menu = testing::PictureMenu(1);
        menu.descriptionBounds = {30, 140, 200, 40};
        menu.shadowOffset = c.offset;
        Load(menu);
        EXPECT_EQ(Shadow().Visible(), c.visible) << c.offset;
        EXPECT_EQ(Shadow().Bounds(), c.bounds) << c.offset;
    }
}

TEST_F(WindowFieldsTest, ExtremeShadowOffsetStaysWithinTheCoordinateRange) {
    MenuDefinition menu = testing::PictureMenu(1);
    menu.descriptionBounds = {2147483000, -2147483000, 10, 10};
    menu.shadowOffset = 2147483000;
    Load(menu);
    EXPECT_EQ(Shadow().Bounds(), (ui::Rect{2147483647, 0, 10, 10}));
}

TEST_F(WindowFieldsTest, AlignmentValuesOutsideZeroToTwoKeepThePreviousAlignment) {
    const struct {
        int value;
        ui::Alignment expected;
    } steps[] = {
        {1, ui::Alignment::Right},   {7, ui::Alignment::Right}, {2, ui::Alignment::Center},
        {-1, ui::Alignment::Center}, {0, ui::Alignment::Left},
    };
    for (const auto& step : steps) {
        MenuDefinition menu = testing::PictureMenu(1);
        menu.descriptionAlignment = step.value;
        Load(menu);
        EXPECT_EQ(Description().Alignment(), step.expected) << step.value;
        EXPECT_EQ(Shadow().Alignment(), step.expected) << step.value;
    }
}

}  // namespace
}  // namespace ambrevo
