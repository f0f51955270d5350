#include "ui/stacking_order.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/fake_dialogs.h"
#include "fakes/headless_widgetset.h"
#include "ui/application.h"
#include "ui/form.h"
#include "ui/input_router.h"

namespace ambrevo::ui {
namespace {

constexpr ControlKind P = ControlKind::Picture;
constexpr ControlKind L = ControlKind::Label;
constexpr ControlKind B = ControlKind::Button;

TEST(StackingOrderTest, PushButtonsLieAboveTheRestInTheirOwnZOrder) {
    const struct {
        std::vector<ControlKind> kinds;
        std::vector<std::size_t> backToFront;
    } cases[] = {
        {{}, {}},
        {{P, L, P}, {0, 1, 2}},
        {{B, B}, {0, 1}},
        {{B, P, L, B, P}, {1, 2, 4, 0, 3}},
        {{L, B, L}, {0, 2, 1}},
    };
    for (const auto& c : cases) EXPECT_EQ(StackingOrder(c.kinds), c.backToFront);
}

// A button brought behind a picture in z-order still lies above it, for the router's mouse
// as for the painting order.
TEST(StackingOrderTest, TheRoutedMouseFindsAButtonBelowAPictureInZOrder) {
    HeadlessWidgetset widgets;
    testing::FakeDialogs dialogs;
    Application app{widgets, dialogs};
    widgets.Attach(app);
    Form& form = app.CreateForm("frmTest", FormStyle::Borderless);
    form.SetBounds({0, 0, 100, 100});
    Button& button = form.AddButton("button");
    Picture& picture = form.AddPicture("picture");
    Label& label = form.AddLabel("label");
    for (Control* control : std::vector<Control*>{&button, &picture, &label}) {
        control->SetBounds({0, 0, 50, 50});
    }
    label.SendToBack();

    EXPECT_EQ(ControlsBackToFront(form), (std::vector<Control*>{&label, &picture, &button}));
    struct Surface : InputSurface {
        void CaptureMouse() override {}
        void ReleaseMouse() override {}
        bool OnForm(Point) const override { return true; }
        void ShowMenu(const PopupMenu&, Point) override {}
    } surface;
    EXPECT_EQ(InputRouter(form, surface, InputRouter::ButtonInput::Routed).HitTest({10, 10}),
              &button);
    EXPECT_EQ(InputRouter(form, surface, InputRouter::ButtonInput::Native).HitTest({10, 10}),
              &picture);
}

}  // namespace
}  // namespace ambrevo::ui
