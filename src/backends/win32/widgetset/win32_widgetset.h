#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "backends/win32/widgetset/timer_window.h"
#include "backends/win32/widgetset/widget_context.h"
#include "ui/application.h"
#include "ui/widgetset.h"

namespace ambrevo::win32 {

// The control model as real windows: forms are top-level windows painting their labels and
// pictures themselves, buttons are native push buttons, timers are SetTimer timers. One
// message loop serves ProcessMessages and RunMessageLoop, with the forms' own keyboard
// handling (tab order, mnemonics) before translation.
class Win32Widgetset : public ui::Widgetset {
public:
    // icon (may be null) is shown by every form and is not destroyed here. Throws AppError
    // when the window classes cannot be registered.
    Win32Widgetset(HINSTANCE instance, HICON icon);
    ~Win32Widgetset() override;
    Win32Widgetset(const Win32Widgetset&) = delete;
    Win32Widgetset& operator=(const Win32Widgetset&) = delete;

    // Events are dispatched through this application; call it before creating timers.
    void Attach(ui::Application& application);
    // Replaces the icon of every form, for an icon loaded after the widgetset was made.
    void SetIcon(HICON icon);

    // The window showing a form, and the native window of a button; null when none.
    HWND WindowOf(const ui::Form& form) const;
    HWND WindowOf(const ui::Button& button) const;
    // How many DIBs are held for Bitmaps.
    std::size_t CachedBitmapCount() const;

    // ui::Widgetset
    std::unique_ptr<ui::FormPeer> CreateFormPeer(ui::Form& form) override;
    std::unique_ptr<ui::TimerPeer> CreateTimerPeer(ui::Timer& timer) override;
    void ProcessMessages() override;
    void RunMessageLoop() override;
    void Quit() override;
    void SetApplicationTitle(const std::string& title) override;
    void MinimizeApplication() override;
    void RestoreApplication() override;
    ui::Size ScreenSize() override;
    ui::Size MeasureText(const ui::Font& font, const std::string& text, int maxWidth) override;
    std::shared_ptr<const Bitmap> ApplicationIconImage() override;

private:
    void Deliver(MSG& message);
    FormWindow* FormOf(const ui::Form& form) const;

    WidgetContext context_;
    TimerWindow timers_;
    std::shared_ptr<const Bitmap> iconImage_;
    UniqueMemoryDc measureDc_;  // a screen-compatible DC for measuring text
};

}  // namespace ambrevo::win32
