#include "backends/win32/widgetset/timer_window.h"

#include "backends/win32/system/system_error.h"
#include "support/app_error.h"

namespace ambrevo::win32 {
namespace {

constexpr char kTimerClassName[] = "AmbrevoTimers";

}  // namespace

class TimerWindow::Peer : public ui::TimerPeer {
public:
    Peer(TimerWindow& owner, UINT_PTR id) : owner_(owner), id_(id) {}
    ~Peer() override {
        ::KillTimer(owner_.window_.Get(), id_);
        owner_.timers_.erase(id_);
    }

    // The same id again replaces the running count.
    void Start(int milliseconds) override {
        if (::SetTimer(owner_.window_.Get(), id_, static_cast<UINT>(milliseconds), nullptr) == 0) {
            const DWORD error = ::GetLastError();
            throw AppError("Cannot start a timer. " + SystemErrorMessage(error));
        }
    }
    // Also drops a tick already waiting in the queue.
    void Stop() override { ::KillTimer(owner_.window_.Get(), id_); }

private:
    TimerWindow& owner_;
    UINT_PTR id_;
};

TimerWindow::TimerWindow(HINSTANCE instance)
    : class_(instance, kTimerClassName, &TimerWindow::WindowProc, nullptr) {
    window_.Reset(::CreateWindowExW(0, class_.Name(), L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                    instance, nullptr));
    if (!window_) {
        const DWORD error = ::GetLastError();
        throw AppError("Cannot create the timer window. " + SystemErrorMessage(error));
    }
    ::SetWindowLongPtrW(window_.Get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

TimerWindow::~TimerWindow() { ::SetWindowLongPtrW(window_.Get(), GWLP_USERDATA, 0); }

std::unique_ptr<ui::TimerPeer> TimerWindow::CreatePeer(ui::Timer& timer) {
    if (!application_) throw AppError("Timers need the widgetset attached to the application");
    const UINT_PTR id = nextId_++;
    timers_[id] = &timer;
    return std::make_unique<Peer>(*this, id);
}

LRESULT CALLBACK TimerWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<TimerWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_TIMER && self) {
        self->Tick(wParam);
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

void TimerWindow::Tick(UINT_PTR id) {
    const auto found = timers_.find(id);
    if (found == timers_.end()) return;
    ui::Timer& timer = *found->second;
    application_->Dispatch([&] { timer.Tick(); });
}

}  // namespace ambrevo::win32
