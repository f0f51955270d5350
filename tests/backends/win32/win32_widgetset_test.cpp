#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "backends/win32/widgetset_fixture.h"

namespace ambrevo::win32 {
namespace {

using ApplicationTest = WidgetsetTest;

std::string TextOf(HWND window) {
    char text[256] = {};
    ::GetWindowTextA(window, text, sizeof text);
    return text;
}

TEST_F(ApplicationTest, TitleIsTheTextOfTheMainWindow) {
    app_.SetTitle("Early title");
    ui::Form& main = ShowForm();
    ui::Form& about = app_.CreateForm("frmAbout", ui::FormStyle::Dialog);
    EXPECT_EQ(TextOf(Window(main)), "Early title");
    app_.SetTitle("Later title");
    EXPECT_EQ(TextOf(Window(main)), "Later title");
    EXPECT_EQ(TextOf(Window(about)), "");
    about.SetCaption("About");
    EXPECT_EQ(TextOf(Window(about)), "About");
}

TEST_F(ApplicationTest, FramedFormsHaveTheirClientSizeAndBelongToTheMainWindow) {
    ui::Form& main = ShowForm();
    for (const ui::FormStyle style : {ui::FormStyle::ToolWindow, ui::FormStyle::Dialog}) {
        ui::Form& form = app_.CreateForm("frmFramed", style);
        form.SetBounds({100, 80, 250, 150});
        form.SetVisible(true);
        const HWND window = Window(form);
        RECT outer{};
        RECT client{};
        ::GetWindowRect(window, &outer);
        ::GetClientRect(window, &client);
        EXPECT_EQ(outer.left, 100);
        EXPECT_EQ(outer.top, 80);
        EXPECT_EQ(client.right, 250);
        EXPECT_EQ(client.bottom, 150);
        EXPECT_EQ(::GetWindow(window, GW_OWNER), Window(main));
        EXPECT_EQ((::GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) != 0,
                  style == ui::FormStyle::ToolWindow);
        app_.DestroyForm(form);
        EXPECT_FALSE(::IsWindow(window));
    }
}

TEST_F(ApplicationTest, DisabledFormTakesNoInput) {
    ui::Form& form = ShowForm();
    form.SetEnabled(false);
    EXPECT_FALSE(::IsWindowEnabled(Window(form)));
    form.SetEnabled(true);
    EXPECT_TRUE(::IsWindowEnabled(Window(form)));
}

TEST_F(ApplicationTest, WindowMovedOutsideTheModelUpdatesItsBounds) {
    ui::Form& form = ShowForm(200, 120);
    ::SetWindowPos(Window(form), nullptr, 70, 90, 210, 130, SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(form.Bounds(), (ui::Rect{70, 90, 210, 130}));
}

// Moved to a screen of twice the density: the window takes the place the system suggests
// at twice its size, draws its pictures there at twice their size, and tells the form once.
TEST_F(ApplicationTest, AScreenOfAnotherDensityScalesTheWindowAndTellsTheForm) {
    ui::Form& form = ShowForm(200, 120);
    ui::Picture& red = form.AddPicture("red");
    red.SetAutoSize(true);
    red.SetImage(Solid(10, 10, 0xFF0000));
    red.SetPosition(50, 30);
    int told = 0;
    form.onScaleChanged = [&](ui::Form&) { ++told; };
    for (int repeat = 0; repeat < 2; ++repeat) {
        RECT suggested{100, 100, 500, 340};
        ::SendMessageW(Window(form), WM_DPICHANGED, MAKEWPARAM(192, 192),
                       reinterpret_cast<LPARAM>(&suggested));
    }
    EXPECT_EQ(told, 1);
    EXPECT_EQ(form.Peer().Dpi(), 192);
    RECT outer{};
    RECT client{};
    ::GetWindowRect(Window(form), &outer);
    ::GetClientRect(Window(form), &client);
    EXPECT_EQ(outer.left, 100);
    EXPECT_EQ(outer.top, 100);
    EXPECT_EQ(client.right, 400);
    EXPECT_EQ(client.bottom, 240);
    EXPECT_EQ(form.Bounds(), (ui::Rect{50, 50, 200, 120}));
    EXPECT_EQ(PixelAt(form, 100, 60), 0xFF0000u);
    EXPECT_EQ(PixelAt(form, 119, 79), 0xFF0000u);
    EXPECT_NE(PixelAt(form, 120, 80), 0xFF0000u);
}

TEST_F(ApplicationTest, MinimizeAndRestoreTheMainWindow) {
    ui::Form& main = ShowForm();
    app_.Minimize();
    EXPECT_TRUE(::IsIconic(Window(main)));
    app_.Restore();
    EXPECT_FALSE(::IsIconic(Window(main)));
    EXPECT_TRUE(::IsWindowVisible(Window(main)));
}

TEST_F(ApplicationTest, ProcessMessagesLeavesTheQuitToTheMessageLoop) {
    ShowForm();
    app_.Terminate();
    widgets_.ProcessMessages();
    widgets_.ProcessMessages();
    MSG message{};
    EXPECT_TRUE(::PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));
    widgets_.RunMessageLoop();  // returns at once
    EXPECT_FALSE(::PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));
}

TEST_F(ApplicationTest, MeasuredTextGrowsWithItsLengthAndWraps) {
    const ui::Font font;
    const ui::Size empty = widgets_.MeasureText(font, "", 0);
    const ui::Size word = widgets_.MeasureText(font, "Word", 0);
    const ui::Size words = widgets_.MeasureText(font, "Word word word word", 0);
    const ui::Size wrapped = widgets_.MeasureText(font, "Word word word word", word.width + 5);
    EXPECT_EQ(empty.width, 0);
    EXPECT_EQ(empty.height, word.height) << "one empty line";
    EXPECT_GT(word.height, 8);
    EXPECT_GT(words.width, 3 * word.width);
    EXPECT_EQ(words.height, word.height);
    EXPECT_LE(wrapped.width, word.width + 5);
    EXPECT_GE(wrapped.height, 4 * word.height);

    ui::Font big = font;
    big.size = 16;
    EXPECT_GT(widgets_.MeasureText(big, "Word", 0).height, word.height);
}

TEST_F(ApplicationTest, IconImageIsDrawnOnceOverTheFormColour) {
    const auto image = widgets_.ApplicationIconImage();
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width, 32);
    EXPECT_EQ(image->height, 32);
    EXPECT_EQ(image->At(0, 0), FormColor()) << "the corner is transparent in the icon";
    EXPECT_NE(std::count(image->pixels.begin(), image->pixels.end(), FormColor()), 32 * 32);
    EXPECT_EQ(widgets_.ApplicationIconImage(), image);
}

}  // namespace
}  // namespace ambrevo::win32
