#include "backends/win32/widgetset/native_button.h"

#include <cstdint>
#include <memory>
#include <utility>

#include "backends/win32/system/system_error.h"
#include "backends/win32/system/wide_text.h"
#include "backends/win32/widgetset/mouse_input.h"
#include "support/app_error.h"
#include "ui/application.h"
#include "ui/form.h"

namespace ambrevo::win32 {
namespace {

DWORD StyleOf(const ui::Button& button) {
    DWORD style = WS_CHILD | BS_PUSHBUTTON;
    if (button.Visible()) style |= WS_VISIBLE;
    if (button.TabStop()) style |= WS_TABSTOP;
    if (!button.Enabled()) style |= WS_DISABLED;
    return style;
}

constexpr unsigned Bit(ui::ControlChange change) { return 1u << static_cast<unsigned>(change); }

// The order in which kept changes are applied: the window is shown last, set up.
constexpr ui::ControlChange kPendingOrder[] = {
    ui::ControlChange::TabStop, ui::ControlChange::Enabled, ui::ControlChange::Font,
    ui::ControlChange::Bounds,  ui::ControlChange::Caption, ui::ControlChange::Visible};

}  // namespace

NativeButton::NativeButton(HWND parent, ui::Button& button, ui::InputRouter& router,
                           FontCache& fonts, const ui::DisplayScale& scale, MadeInFront madeInFront)
    : parent_(parent),
      button_(button),
      router_(router),
      fonts_(fonts),
      scale_(scale),
      madeInFront_(std::move(madeInFront)) {
    if (ShowsInForm()) Make();
}

NativeButton::~NativeButton() {
    *alive_ = false;
    if (!window_) return;
    // The native procedure alone sees the window's last messages (losing the focus too).
    ::SetWindowLongPtrW(Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original_));
    ::SetWindowLongPtrW(Handle(), GWLP_USERDATA, 0);
}

HWND NativeButton::Window() {
    if (!window_) Make();
    ApplyPendingChanges();
    return Handle();
}

bool NativeButton::ShowsInForm() const {
    const ui::Rect& bounds = button_.Bounds();
    const ui::Rect& form = button_.Owner().Bounds();
    return button_.Visible() && bounds.width > 0 && bounds.height > 0 && bounds.left < form.width &&
           bounds.top < form.height && bounds.left + bounds.width > 0 &&
           bounds.top + bounds.height > 0;
}

// Made in the model's state, so nothing is pending but the showing, which waits for a
// hidden form.
void NativeButton::Make() {
    const ui::Rect bounds = scale_.ToDevice(button_.Bounds());
    DWORD style = StyleOf(button_);
    pending_ = 0;
    if (!::IsWindowVisible(parent_) && (style & WS_VISIBLE) != 0) {
        style &= ~WS_VISIBLE;
        pending_ = Bit(ui::ControlChange::Visible);
    }
    window_.Reset(::CreateWindowExW(0, L"BUTTON", Widen(button_.Caption()).c_str(), style,
                                    bounds.left, bounds.top, bounds.width, bounds.height, parent_,
                                    nullptr, ::GetModuleHandleW(nullptr), nullptr));
    if (!window_) {
        const DWORD error = ::GetLastError();
        throw AppError("Cannot create the button \"" + button_.Name() + "\". " +
                       SystemErrorMessage(error));
    }
    ::SendMessageW(Handle(), WM_SETFONT,
                   reinterpret_cast<WPARAM>(fonts_.Get(button_.Font(), scale_)), FALSE);
    const HWND inFront = madeInFront_(button_);
    ::SetWindowPos(Handle(), inFront ? inFront : HWND_TOP, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ::SetWindowLongPtrW(Handle(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    original_ = reinterpret_cast<WNDPROC>(::SetWindowLongPtrW(
        Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&NativeButton::SubclassProc)));
}

void NativeButton::Update(ui::ControlChange change) {
    if (!window_) {
        // Nothing to bring in step: the window, once made, takes the model's state.
        if (::IsWindowVisible(parent_) && ShowsInForm()) Make();
        return;
    }
    const HWND window = Handle();
    // A hidden button cannot keep the focus: it goes to the form at once.
    if (change == ui::ControlChange::Visible && !button_.Visible() && ::GetFocus() == window) {
        ::SetFocus(parent_);
    }
    if (!::IsWindowVisible(parent_)) {
        pending_ |= Bit(change);
        return;
    }
    ApplyPendingChanges();
    Apply(change);
}

void NativeButton::ApplyPendingChanges() {
    if (!window_) {
        if (ShowsInForm()) Make();
        if (!window_) return;
    }
    if (pending_ == 0) return;
    const unsigned pending = std::exchange(pending_, 0);
    for (const ui::ControlChange change : kPendingOrder) {
        if ((pending & Bit(change)) != 0) Apply(change);
    }
}

// Kept changes may end where they began: the window's own state is compared where that
// is cheap.
void NativeButton::Apply(ui::ControlChange change) {
    const HWND window = Handle();
    const LONG_PTR style = ::GetWindowLongPtrW(window, GWL_STYLE);
    switch (change) {
        case ui::ControlChange::Bounds: {
            const ui::Rect bounds = scale_.ToDevice(button_.Bounds());
            ::SetWindowPos(window, nullptr, bounds.left, bounds.top, bounds.width, bounds.height,
                           SWP_NOZORDER | SWP_NOACTIVATE);
            break;
        }
        case ui::ControlChange::Visible:
            if (((style & WS_VISIBLE) != 0) == button_.Visible()) break;
            ::ShowWindow(window, button_.Visible() ? SW_SHOWNA : SW_HIDE);
            break;
        case ui::ControlChange::Caption:
            ::SetWindowTextW(window, Widen(button_.Caption()).c_str());
            break;
        case ui::ControlChange::Font:
            ::SendMessageW(window, WM_SETFONT,
                           reinterpret_cast<WPARAM>(fonts_.Get(button_.Font(), scale_)), TRUE);
            break;
        case ui::ControlChange::TabStop:
            if (((style & WS_TABSTOP) != 0) == button_.TabStop()) break;
            ::SetWindowLongPtrW(window, GWL_STYLE,
                                button_.TabStop() ? (style | WS_TABSTOP) : (style & ~WS_TABSTOP));
            break;
        case ui::ControlChange::Enabled:
            if (((style & WS_DISABLED) == 0) == button_.Enabled()) break;
            ::EnableWindow(window, button_.Enabled());
            break;
        case ui::ControlChange::Style:
        case ui::ControlChange::Picture:
        case ui::ControlChange::Cursor:
            break;  // nothing a push button shows; the cursor is read at WM_SETCURSOR
    }
}

void NativeButton::ApplyZOrder(bool front) {
    if (!window_) return;  // placed when made
    ::SetWindowPos(Handle(), front ? HWND_TOP : HWND_BOTTOM, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

LRESULT CALLBACK NativeButton::SubclassProc(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam) {
    auto* self = reinterpret_cast<NativeButton*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    return self->OnMessage(message, wParam, lParam);
}

// Everything that may run model code runs inside one dispatch, so that a button destroyed
// by its own handler lives until the dispatch ends; the window's native procedure runs
// first. This object may be gone once a handler has run: only locals are used here.
LRESULT NativeButton::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    const std::shared_ptr<bool> alive = alive_;
    ui::Button& button = button_;
    ui::InputRouter& router = router_;
    const WNDPROC original = original_;
    const HWND window = Handle();
    const auto callOriginal = [=] {
        return ::CallWindowProcW(original, window, message, wParam, lParam);
    };
    LRESULT result = 0;
    const auto dispatch = [&](auto&& handler) {
        button.Owner().App().Dispatch([&] {
            result = callOriginal();
            if (*alive) handler();
        });
        return result;
    };
    const POINT at = PointOf(lParam);
    switch (message) {
        case WM_NCDESTROY:
            // Destroyed with its form by the system: nothing is left to destroy.
            window_.Release();
            return callOriginal();
        case WM_SETFOCUS:
            return dispatch([&] { button.GotFocus(); });
        case WM_KILLFOCUS:
            return dispatch([&] {
                if (button.Focused()) button.Owner().FocusChanged(nullptr);
            });
        case WM_KEYDOWN:
            return dispatch([&] { button.KeyDown(static_cast<int>(wParam)); });
        case WM_CHAR:
            // Characters are the model's alone: the native button does nothing with them.
            router.KeyPress(button, static_cast<std::uint32_t>(wParam));
            return 0;
        case WM_GETDLGCODE:
            return callOriginal() | DLGC_WANTARROWS;
        case WM_SETCURSOR:
            if (LOWORD(lParam) != HTCLIENT) break;
            ::SetCursor(CursorOf(button.GetCursor()));
            return TRUE;
        case WM_MOUSEMOVE:
            return dispatch([&] { button.MouseMove({ButtonOfKeys(wParam), at.x, at.y}); });
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
            return dispatch([&] { button.MouseDown({ButtonOfMessage(message), at.x, at.y}); });
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
            // The native procedure sends BN_CLICKED, whose handler may destroy the button.
            return dispatch([&] { button.MouseUp({ButtonOfMessage(message), at.x, at.y}); });
        default:
            break;
    }
    return callOriginal();
}

}  // namespace ambrevo::win32
