#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "backends/win32/widgetset_fixture.h"

namespace ambrevo::win32 {
namespace {

// Records the mouse events of the controls it watches, as "name event x,y button".
class MouseTest : public WidgetsetTest {
protected:
    void Watch(ui::Control& control) {
        const auto record = [this](const char* what) {
            return [this, what](ui::Control& sender, const ui::MouseEvent& event) {
                const char* button = event.button == ui::MouseButton::Left    ? "L"
                                     : event.button == ui::MouseButton::Right ? "R"
                                                                              : "M";
                events_.push_back(sender.Name() + " " + what + " " + std::to_string(event.x) + "," +
                                  std::to_string(event.y) + " " + button);
            };
        };
        control.onMouseDown = record("down");
        control.onMouseMove = record("move");
        control.onMouseUp = record("up");
        control.onClick = [this](ui::Control& sender) {
            events_.push_back(sender.Name() + " click");
        };
    }

    void Send(ui::Form& form, UINT message, int x, int y, WPARAM keys = 0) {
        ::SendMessageA(Window(form), message, keys, MAKELPARAM(x, y));
    }

    // Two overlapping pictures, "back" at 10,10 and "front" at 30,30, each 50 x 50.
    ui::Form& FormWithTwoPictures() {
        ui::Form& form = ShowForm();
        for (const auto& [name, at] : {std::pair{"back", 10}, std::pair{"front", 30}}) {
            ui::Picture& picture = form.AddPicture(name);
            picture.SetBounds({at, at, 50, 50});
            Watch(picture);
        }
        return form;
    }

    std::vector<std::string> events_;
};

TEST_F(MouseTest, PressGoesToTheTopmostControlWhichKeepsTheMouseUntilRelease) {
    ui::Form& form = FormWithTwoPictures();
    Send(form, WM_MOUSEMOVE, 20, 20);
    Send(form, WM_MOUSEMOVE, 150, 100);  // over no control: nothing
    Send(form, WM_LBUTTONDOWN, 40, 40, MK_LBUTTON);
    EXPECT_EQ(::GetCapture(), Window(form));
    Send(form, WM_MOUSEMOVE, 15, 15, MK_LBUTTON);   // over "back", still "front"'s
    Send(form, WM_MOUSEMOVE, -5, 300, MK_LBUTTON);  // outside the window
    Send(form, WM_LBUTTONUP, 20, 20);
    EXPECT_EQ(::GetCapture(), nullptr);

    EXPECT_EQ(events_, (std::vector<std::string>{
                           "back move 10,10 L",
                           "front down 10,10 L",
                           "front move -15,-15 L",
                           "front move -35,270 L",
                           "front up -10,-10 L",
                       }))
        << "released outside: no click";
}

TEST_F(MouseTest, ClickFollowsALeftPressAndReleaseOnTheSameControl) {
    ui::Form& form = FormWithTwoPictures();
    Send(form, WM_LBUTTONDOWN, 15, 15, MK_LBUTTON);
    Send(form, WM_LBUTTONUP, 16, 17);
    Send(form, WM_RBUTTONDOWN, 15, 15, MK_RBUTTON);
    Send(form, WM_RBUTTONUP, 15, 15);

    EXPECT_EQ(events_, (std::vector<std::string>{
                           "back down 5,5 L",
                           "back up 6,7 L",
                           "back click",
                           "back down 5,5 R",
                           "back up 5,5 R",
                       }));
}

TEST_F(MouseTest, HiddenAndEmptyControlsAreNeverHit) {
    ui::Form& form = FormWithTwoPictures();
    form.FindControl("front")->SetVisible(false);
    ui::Picture& empty = form.AddPicture("empty");
    empty.SetAutoSize(true);  // no image: 0 x 0
    empty.SetPosition(40, 40);
    Watch(empty);
    ui::Label& label = form.AddLabel("label");
    label.SetBounds({100, 10, 40, 20});
    Watch(label);

    Send(form, WM_MOUSEMOVE, 40, 40);
    Send(form, WM_MOUSEMOVE, 70, 70);  // only "front" was there
    Send(form, WM_MOUSEMOVE, 101, 11);

    EXPECT_EQ(events_, (std::vector<std::string>{"back move 30,30 L", "label move 1,1 L"}));
}

TEST_F(MouseTest, ControlRemovedByItsPressHandlerGetsNothingMoreAndFreesTheMouse) {
    ui::Form& form = FormWithTwoPictures();
    ui::Control& front = *form.FindControl("front");
    front.onMouseDown = [&](ui::Control& sender, const ui::MouseEvent&) {
        events_.push_back("front down");
        form.DestroyControl(sender);
    };
    Send(form, WM_LBUTTONDOWN, 40, 40, MK_LBUTTON);
    EXPECT_EQ(::GetCapture(), nullptr);
    Send(form, WM_MOUSEMOVE, 41, 41, MK_LBUTTON);
    Send(form, WM_LBUTTONUP, 41, 41);

    EXPECT_EQ(events_,
              (std::vector<std::string>{"front down", "back move 31,31 L", "back up 31,31 L"}))
        << "no click: the press was not on \"back\"";
}

TEST_F(MouseTest, WheelGivesNotchesToTheActiveFormAndCloseAsksTheModel) {
    ui::Form& form = ShowForm();
    std::vector<int> turns;
    form.onMouseWheel = [&](ui::Form&, int delta) {
        turns.push_back(delta);
        return true;
    };
    int closeRequests = 0;
    form.onClose = [&](ui::Form&) { ++closeRequests; };
    ::SetActiveWindow(Window(form));
    ASSERT_EQ(::GetActiveWindow(), Window(form));

    for (const int delta : {-WHEEL_DELTA, 2 * WHEEL_DELTA, 60, 60}) {
        ::SendMessageA(Window(form), WM_MOUSEWHEEL, MAKEWPARAM(0, delta), MAKELPARAM(50, 50));
    }
    ::SendMessageA(Window(form), WM_CLOSE, 0, 0);

    EXPECT_EQ(turns, (std::vector<int>{-1, 2, 1})) << "half notches add up";
    EXPECT_EQ(closeRequests, 1);
    EXPECT_TRUE(::IsWindow(Window(form))) << "the model decides whether the window goes";
}

TEST_F(MouseTest, RightReleaseShowsTheControlsMenuElseTheFormsAndRunsTheChoice) {
    ui::Form& form = FormWithTwoPictures();
    std::vector<std::string> chosen;
    ui::PopupMenu& formMenu = form.AddPopupMenu("formMenu");
    formMenu.AddEntry("about", "About", [&] { chosen.push_back("form about"); });
    ui::PopupMenu& pictureMenu = form.AddPopupMenu("pictureMenu");
    pictureMenu.AddEntry("first", "First", [&] { chosen.push_back("picture first"); });
    pictureMenu.AddEntry("second", "Second", [&] { chosen.push_back("picture second"); });
    form.SetContextMenu(&formMenu);
    form.FindControl("front")->SetContextMenu(&pictureMenu);
    // The menu's own loop reads these keys: down to the entry, Enter to choose it.
    const auto choose = [&](int downs, int x, int y) {
        for (int i = 0; i < downs; ++i) ::PostMessageA(Window(form), WM_KEYDOWN, VK_DOWN, 0);
        ::PostMessageA(Window(form), WM_KEYDOWN, VK_RETURN, 0);
        Send(form, WM_RBUTTONUP, x, y);
    };

    choose(2, 40, 40);    // over "front"
    choose(1, 15, 15);    // over "back", which has none
    choose(1, 150, 100);  // over the form
    EXPECT_EQ(chosen, (std::vector<std::string>{"picture second", "form about", "form about"}));
}

TEST_F(MouseTest, CursorIsTheControlsUnderThePointerAndChangesAtOnce) {
    ui::Form& form = ShowForm();
    ui::Label& link = form.AddLabel("link");
    link.SetBounds({10, 10, 60, 20});
    link.SetCursor(ui::Cursor::HandPoint);
    const auto cursorAt = [&](int x, int y) {
        ::SetCursorPos(40 + x, 40 + y);  // the client area starts at 40, 40
        ::SendMessageA(Window(form), WM_SETCURSOR, reinterpret_cast<WPARAM>(Window(form)),
                       MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        return ::GetCursor();
    };
    const HCURSOR arrow = ::LoadCursorA(nullptr, IDC_ARROW);
    const HCURSOR hand = ::LoadCursorA(nullptr, IDC_HAND);

    EXPECT_EQ(cursorAt(20, 20), hand);
    EXPECT_EQ(cursorAt(150, 80), arrow);
    EXPECT_EQ(cursorAt(20, 20), hand);
    link.SetCursor(ui::Cursor::SizeAll);
    EXPECT_EQ(::GetCursor(), ::LoadCursorA(nullptr, IDC_SIZEALL));
}

}  // namespace
}  // namespace ambrevo::win32
