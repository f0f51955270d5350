#include <gtest/gtest.h>

#include <stdexcept>

#include "fakes/fake_dialogs.h"
#include "fakes/headless_widgetset.h"
#include "ui/application.h"
#include "ui/timer.h"

namespace ambrevo::ui {
namespace {

using Shown = testing::FakeDialogs::Shown;

class ControlModelTest : public ::testing::Test {
protected:
    ControlModelTest() { widgets_.Attach(app_); }

    HeadlessWidgetset widgets_;
    testing::FakeDialogs dialogs_;
    Application app_{widgets_, dialogs_};
    Form& form_ = app_.CreateForm("frmTest", FormStyle::Borderless);
};

TEST_F(ControlModelTest, TimerKeepsCountingOnItsOwnIntervalAndRestartsOnAnother) {
    Timer timer(app_, "Timer1");
    std::vector<long long> ticks;
    timer.onTick = [&](Timer&) { ticks.push_back(widgets_.Now()); };

    timer.SetInterval(100);
    widgets_.Advance(250);
    timer.SetInterval(100);  // the same interval: the count goes on
    widgets_.Advance(60);
    timer.SetInterval(40);  // another: counts from now (310)
    widgets_.Advance(90);
    timer.SetInterval(0);
    widgets_.Advance(500);

    EXPECT_EQ(ticks, (std::vector<long long>{100, 200, 300, 350, 390}));
    EXPECT_FALSE(widgets_.TimerRunning(timer));
}

TEST_F(ControlModelTest, ZOrderIsTheControlListAndTabOrderTheCreationOrder) {
    Label& first = form_.AddLabel("first");
    Picture& second = form_.AddPicture("second");
    Button& third = form_.AddButton("third");
    const auto order = [&] {
        std::vector<std::string> names;
        for (const auto& control : form_.Controls()) names.push_back(control->Name());
        return names;
    };

    EXPECT_EQ(order(), (std::vector<std::string>{"first", "second", "third"}));
    first.BringToFront();
    third.SendToBack();
    EXPECT_EQ(order(), (std::vector<std::string>{"third", "second", "first"}));
    EXPECT_LT(first.CreationIndex(), second.CreationIndex());
    EXPECT_LT(second.CreationIndex(), third.CreationIndex());
    EXPECT_EQ(form_.FindControl("second"), &second);
}

TEST_F(ControlModelTest, OnlyRealChangesReachTheWidgetset) {
    Picture& picture = form_.AddPicture("ImgBtn001");
    Label& label = form_.AddLabel("LblBtn001");
    const auto image = std::make_shared<const Bitmap>(Bitmap{3, 2, Pixels(6, 0)});
    auto& record = widgets_.Record(form_);

    picture.SetAutoSize(true);
    picture.SetImage(image);
    const int afterFirst = record.changesByControl["ImgBtn001"];
    picture.SetImage(image);
    picture.SetVisible(true);
    label.SetCaption("Same");
    const int labelChanges = record.changesByControl["LblBtn001"];
    label.SetCaption("Same");

    EXPECT_EQ(record.changesByControl["ImgBtn001"], afterFirst) << "same picture, same state";
    EXPECT_EQ(record.changesByControl["LblBtn001"], labelChanges);
    EXPECT_EQ(picture.Bounds(), (Rect{0, 0, 3, 2})) << "auto-size takes the picture's size";
    picture.SetImage(nullptr);
    EXPECT_EQ(picture.Bounds(), (Rect{0, 0, 0, 0})) << "no picture takes no space";
}

TEST_F(ControlModelTest, APicturesVariantForDenseScreensIsAChangeOfItsOwn) {
    Picture& picture = form_.AddPicture("ImgBtn001");
    picture.SetAutoSize(true);
    const auto image = std::make_shared<const Bitmap>(Bitmap{3, 2, Pixels(6, 0)});
    const auto dense = std::make_shared<const Bitmap>(Bitmap{6, 4, Pixels(24, 0)});
    auto& changes = widgets_.Record(form_).changesByControl["ImgBtn001"];
    const struct {
        const char* step;
        std::shared_ptr<const Bitmap> image, dense;
        int changed;
    } steps[] = {
        {"the picture, and with it the size", image, nullptr, 2},
        {"its variant added", image, dense, 1},
        {"the same pair", image, dense, 0},
        {"the variant dropped", image, nullptr, 1},
    };
    for (const auto& s : steps) {
        const int before = changes;
        picture.SetImage(s.image, s.dense);
        EXPECT_EQ(changes - before, s.changed) << s.step;
        EXPECT_EQ(picture.DenseImage(), s.dense) << s.step;
        EXPECT_EQ(picture.Bounds(), (Rect{0, 0, 3, 2})) << s.step << ": the 1x picture's size";
    }
}

TEST_F(ControlModelTest, AutoSizedLabelFollowsItsText) {
    Label& label = form_.AddLabel("lblTime");
    label.SetCaption("12:00:00");
    EXPECT_EQ(label.Bounds().width, widgets_.MeasureText(label.Font(), "12:00:00", 0).width);

    label.SetAutoSize(false);
    label.SetBounds({0, 0, 60, 17});
    label.SetCaption("12:00:00 PM");
    EXPECT_EQ(label.Bounds(), (Rect{0, 0, 60, 17}));
}

TEST_F(ControlModelTest, MnemonicIsTheCharacterAfterASingleAmpersand) {
    EXPECT_EQ(MnemonicOf("&Install"), 'I');
    EXPECT_EQ(MnemonicOf("E&xit"), 'X');
    EXPECT_EQ(MnemonicOf("Save && &quit"), 'Q');
    EXPECT_EQ(MnemonicOf("&5"), '5');
    EXPECT_EQ(MnemonicOf("No mnemonic"), 0);
    EXPECT_EQ(MnemonicOf("Trailing &"), 0);
    // Captions are UTF-8: the whole letter after "&", in upper case where it has one.
    EXPECT_EQ(MnemonicOf("&выход"), 0x412u);
    EXPECT_EQ(MnemonicOf("Καλ&ημέρα"), 0x397u);
    EXPECT_EQ(MnemonicOf("&ésprit"), 0xC9u);
    EXPECT_EQ(MnemonicOf("&メニュー"), 0x30E1u);
    EXPECT_EQ(MnemonicOf("&\xFF"), 0u);  // not UTF-8
}

TEST_F(ControlModelTest, ControlDestroyedByItsOwnHandlerLivesUntilTheEventEnds) {
    Button& button = form_.AddButton("WinBtn001");
    bool afterDestroy = false;
    button.onClick = [&](Control& sender) {
        form_.DestroyControl(sender);
        afterDestroy = sender.Name() == "WinBtn001";  // still a valid object here
    };

    widgets_.Click(button);

    EXPECT_TRUE(afterDestroy);
    EXPECT_EQ(form_.FindControl("WinBtn001"), nullptr);
    EXPECT_TRUE(form_.Controls().empty());
}

TEST_F(ControlModelTest, ErrorInAnEventIsReportedUnderTheApplicationTitle) {
    app_.SetTitle("Disc Menu");
    Label& label = form_.AddLabel("lbl");
    label.onClick = [](Control&) { throw std::runtime_error("Cannot open file \"x\""); };
    Button& button = form_.AddButton("btn");
    button.onClick = [](Control&) { throw 42; };

    widgets_.Click(label);
    widgets_.Click(button);

    EXPECT_EQ(dialogs_.shown,
              (std::vector<Shown>{{"Cannot open file \"x\"", MessageKind::Error, "Disc Menu"},
                                  {"Unexpected error.", MessageKind::Error, "Disc Menu"}}));
    EXPECT_EQ(widgets_.ApplicationTitle(), "Disc Menu");
}

TEST_F(ControlModelTest, FocusMovesOnlyToVisibleButtonsAndFiresOnce) {
    Button& hidden = form_.AddButton("hidden");
    hidden.SetVisible(false);
    Button& shown = form_.AddButton("shown");
    int gotFocus = 0;
    shown.onGotFocus = [&](Control&) { ++gotFocus; };
    hidden.onGotFocus = [&](Control&) { ++gotFocus; };

    hidden.SetFocus();
    shown.SetFocus();
    shown.SetFocus();

    EXPECT_EQ(gotFocus, 1);
    EXPECT_TRUE(shown.Focused());
    form_.SetFocus();
    EXPECT_EQ(form_.FocusedButton(), nullptr);
}

TEST_F(ControlModelTest, DestroyedFormGoesAndTerminateQuitsOnce) {
    Form& about = app_.CreateForm("frmAbout", FormStyle::Dialog);
    about.SetVisible(true);
    about.onClose = [&](Form& sender) { app_.DestroyForm(sender); };

    widgets_.Dispatch([&] { about.CloseRequested(); });
    app_.Terminate();
    app_.Terminate();

    EXPECT_EQ(app_.Forms().size(), 1u);
    EXPECT_TRUE(app_.Terminated());
    EXPECT_TRUE(widgets_.QuitCalled());
}

}  // namespace
}  // namespace ambrevo::ui
