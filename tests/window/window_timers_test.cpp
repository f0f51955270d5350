#include <gtest/gtest.h>

#include "window/marquee.h"
#include "window_test_support.h"

namespace ambrevo {
namespace {

TEST(MarqueeTest, CaptionRotatesTheTextWithThePositionCharacterAtBothEnds) {
    const std::string text = MarqueeText("Demo");
    EXPECT_EQ(text, "Demo     ");
    EXPECT_EQ(MarqueeCaption(text, 1), "Demo     D");
    EXPECT_EQ(MarqueeCaption(text, 2), "emo     De");
    EXPECT_EQ(MarqueeCaption(text, 9), " Demo     ");
    EXPECT_EQ(MarqueeCaption("", 3), "");
    // Positions count characters, so a title in another script never splits one.
    const std::string cyrillic = MarqueeText("Кафе");
    EXPECT_EQ(MarqueeLength(cyrillic), 9);
    EXPECT_EQ(MarqueeCaption(cyrillic, 2), "афе     Ка");
    EXPECT_EQ(MarqueeCaption(cyrillic, 9), " Кафе     ");
    EXPECT_EQ(MarqueeCaption(cyrillic, 40), " Кафе     ");
}

class WindowTimersTest : public testing::WindowTest {
protected:
    MenuDefinition Titled(std::string title, bool scroll) {
        MenuDefinition menu = testing::PictureMenu(1);
        menu.title = std::move(title);
        menu.scrollTitle = scroll;
        return menu;
    }
    std::string Tick() {
        widgets_.Advance(160);
        EXPECT_EQ(widgets_.ApplicationTitle(), Form().Caption());
        return Form().Caption();
    }
};

TEST_F(WindowTimersTest, TheTitleScrollsEvery160MillisecondsAndComesRound) {
    Load(Titled("AB", true));
    EXPECT_EQ(window_.TitleTimer().Interval(), 160);
    std::vector<std::string> captions;
    for (int tick = 0; tick < 8; ++tick) captions.push_back(Tick());
    EXPECT_EQ(captions, (std::vector<std::string>{"AB     A", "B     AB", "     AB ", "    AB  ",
                                                  "   AB   ", "  AB    ", " AB     ", "AB     A"}));
    EXPECT_EQ(widgets_.Record(Form()).redrawsNow, 8);
}

TEST_F(WindowTimersTest, TheScrollPositionSurvivesALoadAndWrapsOnAShorterTitle) {
    Load(Titled("Longer", true));  // 11 characters
    for (int tick = 0; tick < 3; ++tick) Tick();
    Load(Titled("Wide title", true));
    EXPECT_EQ(Tick(), "e title     Wide");  // position 4
    for (int tick = 0; tick < 3; ++tick) Tick();
    Load(Titled("A", true));  // 6 characters: the next position, 8, is past its end
    EXPECT_EQ(Tick(), "A     A");
    EXPECT_EQ(window_.MarqueePosition(), 1);
}

TEST_F(WindowTimersTest, WithoutScrollingTheTitleStaysAndTheTimerIsStopped) {
    Load(Titled("AB", true));
    Tick();
    Load(Titled("Plain", false));
    EXPECT_EQ(window_.TitleTimer().Interval(), 0);
    widgets_.Advance(1000);
    EXPECT_EQ(Form().Caption(), "Plain");
    EXPECT_EQ(widgets_.ApplicationTitle(), "Plain");
}

TEST_F(WindowTimersTest, TheClockLabelsFollowTheClockEverySecondWhetherShownOrNot) {
    Load(Titled("Clock", false));
    EXPECT_FALSE(window_.Parts().time->Visible());
    clock_.timeText = "10:11:13";
    clock_.dateText = "18.05.2024";
    widgets_.Advance(999);
    EXPECT_EQ(window_.Parts().time->Caption(), "10:11:12");
    widgets_.Advance(1);
    EXPECT_EQ(window_.Parts().time->Caption(), "10:11:13");
    EXPECT_EQ(window_.Parts().date->Caption(), "18.05.2024");
}

}  // namespace
}  // namespace ambrevo
