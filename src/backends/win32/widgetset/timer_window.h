#pragma once

#include <windows.h>

#include <map>
#include <memory>

#include "backends/win32/system/unique_handle.h"
#include "backends/win32/widgetset/window_class.h"
#include "ui/application.h"
#include "ui/timer.h"
#include "ui/widgetset.h"

namespace ambrevo::win32 {

// The timers of the model, as SetTimer timers of one hidden message-only window: one id per
// timer, WM_TIMER dispatched to the timer's Tick through the application.
class TimerWindow {
public:
    // Throws AppError when the window cannot be made.
    explicit TimerWindow(HINSTANCE instance);
    ~TimerWindow();
    TimerWindow(const TimerWindow&) = delete;
    TimerWindow& operator=(const TimerWindow&) = delete;

    void Attach(ui::Application& application) { application_ = &application; }
    // Throws AppError before Attach, since ticks need the application.
    std::unique_ptr<ui::TimerPeer> CreatePeer(ui::Timer& timer);

private:
    class Peer;
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void Tick(UINT_PTR id);

    WindowClass class_;
    UniqueWindow window_;
    ui::Application* application_ = nullptr;
    std::map<UINT_PTR, ui::Timer*> timers_;
    UINT_PTR nextId_ = 1;
};

}  // namespace ambrevo::win32
