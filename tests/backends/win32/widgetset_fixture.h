#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "backends/win32/widgetset/win32_widgetset.h"
#include "fakes/fake_dialogs.h"
#include "ui/application.h"

namespace ambrevo::win32 {

// GDI objects the process holds. Wine does not count them for GetGuiResources: there the
// free slots of its handle table are counted instead (filled, then released at once).
inline long GdiObjectsInUse() {
    const DWORD counted = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
    if (counted != 0) return static_cast<long>(counted);
    std::vector<HRGN> filler;
    for (;;) {
        const HRGN region = ::CreateRectRgn(0, 0, 1, 1);
        if (!region) break;
        filler.push_back(region);
    }
    for (const HRGN region : filler) ::DeleteObject(region);
    return -static_cast<long>(filler.size());
}

// A real widgetset on the test's display, attached to an application, with helpers to show
// a form, read its pixels and let messages run.
class WidgetsetTest : public ::testing::Test {
protected:
    WidgetsetTest()
        : widgets_(::GetModuleHandleA(nullptr), ::LoadIconA(nullptr, IDI_APPLICATION)),
          app_(widgets_, dialogs_) {
        widgets_.Attach(app_);
    }

    // A visible borderless form with its client area at 40, 40 on the screen, on top.
    ui::Form& ShowForm(int width = 200, int height = 120) {
        ui::Form& form = app_.CreateForm("frmTest", ui::FormStyle::Borderless);
        form.SetBounds({40, 40, width, height});
        form.SetVisible(true);
        // Above the windows of other tests that may run at the same time on the display.
        ::SetWindowPos(Window(form), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        widgets_.ProcessMessages();
        return form;
    }

    HWND Window(const ui::Form& form) const { return widgets_.WindowOf(form); }

    // Paints what is invalid, then reads a client pixel as 0x00RRGGBB.
    std::uint32_t PixelAt(ui::Form& form, int x, int y) {
        return ReadPixels(form, {x, y, 1, 1}).front();
    }
    // Paints what is invalid, then reads the client pixels of area, row by row.
    std::vector<std::uint32_t> ReadPixels(ui::Form& form, const ui::Rect& area) {
        form.RedrawNow();
        const HWND window = Window(form);
        const HDC dc = ::GetDC(window);
        std::vector<std::uint32_t> pixels;
        for (int y = area.top; y < area.top + area.height; ++y) {
            for (int x = area.left; x < area.left + area.width; ++x) {
                const COLORREF color = ::GetPixel(dc, x, y);
                pixels.push_back((GetRValue(color) << 16) | (GetGValue(color) << 8) |
                                 GetBValue(color));
            }
        }
        ::ReleaseDC(window, dc);
        return pixels;
    }
    // How many pixels of area have the colour.
    long CountColor(ui::Form& form, const ui::Rect& area, std::uint32_t color) {
        const auto pixels = ReadPixels(form, area);
        return std::count(pixels.begin(), pixels.end(), color);
    }

    // Runs messages until done says so or the time is up; false on time-out.
    bool PumpUntil(const std::function<bool()>& done, int milliseconds = 2000) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
        while (!done()) {
            if (std::chrono::steady_clock::now() > end) return false;
            widgets_.ProcessMessages();
            ::Sleep(2);
        }
        return true;
    }
    void PumpFor(int milliseconds) {
        PumpUntil([] { return false; }, milliseconds);
    }

    static std::shared_ptr<const Bitmap> Solid(int width, int height, std::uint32_t rgb) {
        return std::make_shared<const Bitmap>(
            Bitmap{width, height, Pixels(static_cast<std::size_t>(width * height), rgb)});
    }

    static std::uint32_t FormColor() {
        const COLORREF color = ::GetSysColor(COLOR_BTNFACE);
        return (GetRValue(color) << 16) | (GetGValue(color) << 8) | GetBValue(color);
    }

    testing::FakeDialogs dialogs_;
    Win32Widgetset widgets_;
    ui::Application app_;
};

}  // namespace ambrevo::win32
