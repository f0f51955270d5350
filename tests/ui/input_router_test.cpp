#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/fake_dialogs.h"
#include "fakes/headless_widgetset.h"
#include "ui/application.h"
#include "ui/input_router.h"

namespace ambrevo::ui {
namespace {

using Log = std::vector<std::string>;
using Mode = InputRouter::ButtonInput;

// The form: a picture under a label that overlaps it, two push buttons (one disabled) and
// its own context menu; the label has a menu of its own. Every event is logged as
// "name:event" with the control's own coordinates where it has them.
class InputRouterTest : public ::testing::TestWithParam<Mode>, private InputSurface {
protected:
    InputRouterTest() {
        widgets_.Attach(app_);
        form_.SetBounds({0, 0, 200, 100});
        Watch(picture_, {0, 0, 60, 60});
        Watch(label_, {40, 40, 60, 40});
        Watch(ok_, {120, 10, 40, 20});
        Watch(off_, {120, 40, 40, 20});
        ok_.SetCaption("&OK");
        ok_.SetTabStop(true);
        off_.SetEnabled(false);
        label_.SetContextMenu(&labelMenu_);
        form_.SetContextMenu(&formMenu_);
    }

    void Watch(Control& control, const Rect& bounds) {
        control.SetBounds(bounds);
        const std::string name = control.Name();
        const auto mouse = [this, name](const char* what) {
            return [this, name, what](Control&, const MouseEvent& e) {
                log_.push_back(name + ":" + what + " " + std::to_string(e.x) + "," +
                               std::to_string(e.y));
            };
        };
        control.onMouseDown = mouse("down");
        control.onMouseMove = mouse("move");
        control.onMouseUp = mouse("up");
        control.onClick = [this, name](Control&) { log_.push_back(name + ":click"); };
    }

    // InputSurface
    void CaptureMouse() override { log_.push_back("capture"); }
    void ReleaseMouse() override { log_.push_back("release"); }
    bool OnForm(Point at) const override { return Rect{0, 0, 200, 100}.Contains(at.x, at.y); }
    void ShowMenu(const PopupMenu& menu, Point at) override {
        log_.push_back("menu " + menu.Name() + " " + std::to_string(at.x) + "," +
                       std::to_string(at.y));
    }

    HeadlessWidgetset widgets_;
    testing::FakeDialogs dialogs_;
    Application app_{widgets_, dialogs_};
    Form& form_ = app_.CreateForm("frmTest", FormStyle::Borderless);
    Picture& picture_ = form_.AddPicture("pic");
    Label& label_ = form_.AddLabel("lbl");
    Button& ok_ = form_.AddButton("ok");
    Button& off_ = form_.AddButton("off");
    PopupMenu labelMenu_{"labelMenu"};
    PopupMenu formMenu_{"formMenu"};
    InputRouter router_{form_, *this, GetParam()};
    Log log_;
};

TEST_P(InputRouterTest, MouseGoesToTheTopmostControlAndStaysWithTheOneThatGotThePress) {
    enum Kind { Down, Move, Up, UpStillHeld };
    struct Event {
        Kind kind;
        MouseButton button;
        Point at;
    };
    const bool routed = GetParam() == Mode::Routed;
    const struct {
        const char* name;
        std::vector<Event> events;
        Log routedLog;  // with push buttons routed; where empty, the same as without
        Log nativeLog;
    } cases[] = {
        {"click on the label above the picture",
         {{Down, MouseButton::Left, {50, 50}}, {Up, MouseButton::Left, {51, 52}}},
         {},
         {"capture", "lbl:down 10,10", "release", "lbl:up 11,12", "lbl:click"}},
        {"released off the control: no click, the captured control hears it",
         {{Down, MouseButton::Left, {10, 10}},
          {Move, MouseButton::Left, {150, 90}},
          {Up, MouseButton::Left, {150, 90}}},
         {},
         {"capture", "pic:down 10,10", "pic:move 150,90", "release", "pic:up 150,90"}},
        {"a second button keeps the capture until both are up",
         {{Down, MouseButton::Left, {10, 10}},
          {Down, MouseButton::Right, {50, 50}},
          {UpStillHeld, MouseButton::Right, {50, 50}},
          {Up, MouseButton::Left, {5, 5}}},
         {},
         {"capture", "pic:down 10,10", "pic:down 50,50", "pic:up 50,50", "menu labelMenu 50,50",
          "release", "pic:up 5,5", "pic:click"}},
        {"right release: the menu of the control there, else the form's, none off the form",
         {{Up, MouseButton::Right, {45, 45}},
          {Up, MouseButton::Right, {10, 90}},
          {Up, MouseButton::Right, {300, 10}}},
         {},
         {"lbl:up 5,5", "menu labelMenu 45,45", "menu formMenu 10,90"}},
        {"push buttons: routed, focused by the left press; a disabled one takes nothing",
         {{Down, MouseButton::Left, {125, 15}},
          {Up, MouseButton::Left, {125, 15}},
          {Down, MouseButton::Left, {125, 45}},
          {Up, MouseButton::Left, {125, 45}}},
         {"capture", "focus ok", "ok:down 5,5", "release", "ok:up 5,5", "ok:click"},
         {}},
    };
    ok_.onGotFocus = [this](Control&) { log_.push_back("focus ok"); };
    for (const auto& c : cases) {
        log_.clear();
        for (const auto& [kind, button, at] : c.events) {
            if (kind == Down) router_.MouseDown(button, at);
            if (kind == Move) router_.MouseMove(button, at);
            if (kind == Up || kind == UpStillHeld) router_.MouseUp(button, at, kind == UpStillHeld);
        }
        const Log& expected = routed && !c.routedLog.empty() ? c.routedLog : c.nativeLog;
        EXPECT_EQ(log_, expected) << c.name;
    }
}

TEST_P(InputRouterTest, AControlRemovedByItsReleaseHandlerIsNotClickedNorKeptCaptured) {
    // The widgetset's peer tells the router, as every widgetset's does.
    label_.onMouseUp = [this](Control&, const MouseEvent&) {
        router_.Forget(label_);
        form_.DestroyControl(label_);
    };
    router_.MouseDown(MouseButton::Left, {50, 50});
    app_.Dispatch([&] { router_.MouseUp(MouseButton::Left, {50, 50}, false); });
    EXPECT_EQ(log_, (Log{"capture", "lbl:down 10,10", "release"}));
    EXPECT_EQ(router_.Captured(), nullptr);
    EXPECT_EQ(router_.HitTest({50, 50}), &picture_);
}

TEST_P(InputRouterTest, TabFollowsCreationOrderAndAccessKeysTakeTheFirstCreated) {
    Button& second = form_.AddButton("second");
    Button& hidden = form_.AddButton("hidden");
    Button& third = form_.AddButton("third");
    for (Button* b : {&second, &hidden, &third}) b->SetTabStop(true);
    hidden.SetVisible(false);
    second.SetCaption("&Выход");
    third.SetCaption("&выход again");
    hidden.SetCaption("&Hidden");
    second.BringToFront();
    ok_.SendToBack();  // z-order does not matter

    const auto focusAfter = [&](KeyModifiers held) {
        const bool taken = router_.Tab(held);
        return std::string(taken ? "" : "not taken ") +
               (form_.FocusedButton() ? form_.FocusedButton()->Name() : "none");
    };
    const struct {
        KeyModifiers held;
        std::string focus;
    } tabs[] = {
        {{}, "ok"},
        {{}, "second"},
        {{}, "third"},
        {{}, "ok"},
        {{true}, "third"},
        {{true}, "second"},
        {{false, true}, "not taken second"},
        {{false, false, true}, "not taken second"},
    };
    for (const auto& t : tabs) EXPECT_EQ(focusAfter(t.held), t.focus);

    const struct {
        std::uint32_t typed;
        const Button* button;
    } keys[] = {
        {U'в', &second}, {U'В', &second}, {'o', &ok_},    {'h', nullptr},
        {' ', nullptr},  {'\r', nullptr}, {'x', nullptr},
    };
    for (const auto& k : keys) EXPECT_EQ(router_.ButtonWithAccessKey(k.typed), k.button) << k.typed;
    second.SetEnabled(false);
    EXPECT_EQ(router_.ButtonWithAccessKey(U'в'), &third);

    std::string clicked;
    third.onClick = [&](Control&) { clicked = form_.FocusedButton()->Name(); };
    EXPECT_TRUE(router_.AccessKey(U'в'));
    EXPECT_EQ(clicked, "third");  // focused first, then clicked
}

TEST_P(InputRouterTest, EnterReachesTheFocusedButtonAsKeysAndSpaceClicksOnceWhenReleased) {
    ok_.onKeyDown = [this](Control&, int key) { log_.push_back("key " + std::to_string(key)); };
    ok_.onKeyPress = [this](Control&, char c) { log_.push_back("char " + std::to_string(c)); };
    ok_.SetFocus();
    const struct {
        const char* name;
        std::function<void()> input;
        Log log;
    } cases[] = {
        {"Enter: its key and character, no click",
         [&] {
             router_.KeyDown(kKeyEnter, {}, false);
             router_.Character('\r');
         },
         {"key 13", "char 13"}},
        {"Space held down, then released: one click",
         [&] {
             router_.KeyDown(kKeySpace, {}, false);
             router_.KeyDown(kKeySpace, {}, true);
             router_.KeyDown(kKeySpace, {}, true);
             router_.KeyUp(kKeySpace);
             router_.KeyUp(kKeySpace);
         },
         {"key 32", "key 32", "key 32", "ok:click"}},
        {"Space released after the focus left: no click",
         [&] {
             router_.KeyDown(kKeySpace, {}, false);
             form_.FocusChanged(nullptr);
             router_.KeyUp(kKeySpace);
             ok_.SetFocus();
         },
         {"key 32"}},
        {"non-ASCII characters never reach the key handlers", [&] { router_.Character(U'Ё'); }, {}},
        {"a native button's characters: ASCII only",
         [&] {
             router_.KeyPress(ok_, U'é');
             router_.KeyPress(ok_, 0x80);
             router_.KeyPress(ok_, 0x131);  // would read as '1' cut to a byte
             router_.KeyPress(ok_, 'x');
         },
         {"char 120"}},
    };
    for (const auto& c : cases) {
        log_.clear();
        c.input();
        EXPECT_EQ(log_, c.log) << c.name;
    }
}

TEST_P(InputRouterTest, TheKeyboardMenuOpensBelowTheFocusedButtonOrAtTheCorner) {
    PopupMenu buttonMenu{"buttonMenu"};
    router_.KeyboardMenu();
    ok_.SetFocus();
    router_.KeyboardMenu();
    ok_.SetContextMenu(&buttonMenu);
    router_.KeyboardMenu();
    ok_.SetBounds({-50, -50, 10, 10});  // a key proxy off the form
    router_.KeyboardMenu();
    EXPECT_EQ(log_, (Log{"menu formMenu 0,0", "menu formMenu 120,30", "menu buttonMenu 120,30",
                         "menu buttonMenu 0,0"}));
}

TEST_P(InputRouterTest, ShiftF10PressedAndTheMenuKeyReleasedOpenTheMenuAndAreTakenWhole) {
    ok_.onKeyDown = [this](Control&, int key) { log_.push_back("key " + std::to_string(key)); };
    ok_.SetFocus();
    const Log opened{"menu formMenu 120,30"};
    const struct {
        const char* name;
        int key;
        bool pressed;
        KeyModifiers held;
        bool taken;
        Log log;
    } cases[] = {
        {"Shift+F10 pressed", kKeyF10, true, {true}, true, opened},
        {"Shift+F10 released", kKeyF10, false, {true}, false, {}},
        {"F10 alone", kKeyF10, true, {}, false, {}},
        {"Control+Shift+F10", kKeyF10, true, {true, true}, false, {}},
        {"Alt+Shift+F10", kKeyF10, true, {true, false, true}, false, {}},
        {"menu key pressed: taken, nothing yet", kKeyContextMenu, true, {}, true, {}},
        {"menu key released", kKeyContextMenu, false, {}, true, opened},
        {"menu key released with Shift", kKeyContextMenu, false, {true}, true, opened},
        {"another key with Shift", kKeyEnter, true, {true}, false, {}},
    };
    for (const auto& c : cases) {
        log_.clear();
        EXPECT_EQ(router_.ContextMenuKey(c.key, c.pressed, c.held), c.taken) << c.name;
        EXPECT_EQ(log_, c.log) << c.name;
    }

    // The routed keys: a taken key never reaches the focused button.
    log_.clear();
    router_.KeyDown(kKeyContextMenu, {}, false);
    router_.KeyUp(kKeyContextMenu);
    router_.KeyDown(kKeyF10, {true}, false);
    router_.KeyUp(kKeyF10);
    router_.KeyDown(kKeyF10, {}, false);
    EXPECT_EQ(log_, (Log{"menu formMenu 120,30", "menu formMenu 120,30", "key 121"}));
}

INSTANTIATE_TEST_SUITE_P(Buttons, InputRouterTest, ::testing::Values(Mode::Native, Mode::Routed),
                         [](const auto& info) {
                             return info.param == Mode::Native ? "Native" : "Routed";
                         });

}  // namespace
}  // namespace ambrevo::ui
