#include "backends/win32/widgetset/form_window.h"

#include <algorithm>

#include "backends/win32/system/dc_guards.h"
#include "backends/win32/system/system_error.h"
#include "backends/win32/system/system_libraries.h"
#include "backends/win32/system/wide_text.h"
#include "support/app_error.h"
#include "support/busy_flag.h"
#include "ui/application.h"

namespace ambrevo::win32 {
namespace {

constexpr int kWheelNotch = WHEEL_DELTA;

DWORD StyleOf(ui::FormStyle style) {
    switch (style) {
        case ui::FormStyle::Borderless:
            return WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX;
        case ui::FormStyle::ToolWindow:
            return WS_POPUP | WS_CAPTION;  // no system menu: no title-bar buttons
        case ui::FormStyle::Dialog:
            break;
    }
    return WS_POPUP | WS_CAPTION | WS_SYSMENU;
}

DWORD ExStyleOf(ui::FormStyle style) {
    switch (style) {
        case ui::FormStyle::Borderless:
            return 0;
        case ui::FormStyle::ToolWindow:
            return WS_EX_TOOLWINDOW;
        case ui::FormStyle::Dialog:
            break;
    }
    return WS_EX_DLGMODALFRAME;
}

// The window rectangle at `at` (screen pixels) whose client area has the form's size at the
// scale.
RECT OuterRect(ui::Point at, const ui::Rect& bounds, const ui::DisplayScale& scale, DWORD style,
               DWORD exStyle) {
    RECT rect{0, 0, scale.ToDevice(bounds.width), scale.ToDevice(bounds.height)};
    ::AdjustWindowRectEx(&rect, style, FALSE, exStyle);
    return {at.x, at.y, at.x + rect.right - rect.left, at.y + rect.bottom - rect.top};
}

}  // namespace

FormWindow::FormWindow(WidgetContext& context, ui::Form& form)
    : context_(context),
      form_(form),
      style_(StyleOf(form.Style())),
      exStyle_(ExStyleOf(form.Style())),
      mouse_(form, scale_),
      painter_(context.Fonts(), context.Bitmaps()) {
    // Framed windows belong to the main window: no task-bar button of their own, and they
    // go and come back with it.
    const FormWindow* main = context_.MainForm();
    const HWND owner = form.Style() != ui::FormStyle::Borderless && main ? main->Handle() : nullptr;
    const ui::Rect& bounds = form.Bounds();
    // Made at 96 DPI, where menu and screen pixels are one.
    const RECT outer = OuterRect({bounds.left, bounds.top}, bounds, scale_, style_, exStyle_);
    const HWND created = ::CreateWindowExW(
        exStyle_, context_.FormClass().Name(), Widen(form.Caption()).c_str(), style_, outer.left,
        outer.top, outer.right - outer.left, outer.bottom - outer.top, owner, nullptr,
        context_.FormClass().Instance(), this);
    if (!created) {
        const DWORD error = ::GetLastError();
        throw AppError("Cannot create the window \"" + form.Name() + "\". " +
                       SystemErrorMessage(error));
    }
    // Hidden still: now that it has a screen, it takes that screen's scale.
    if (const ui::DisplayScale own(WindowDpi(created)); own != scale_) {
        scale_ = own;
        BoundsChanged();
    }
    accessibility_ = std::make_unique<FormAccessibility>(created, form, scale_);
    context_.Add(*this);
    SetIcon(context_.Icon());
    if (context_.MainForm() == this && !context_.Title().empty()) {
        ::SetWindowTextW(Handle(), Widen(context_.Title()).c_str());
    }
    ready_ = true;
}

FormWindow::~FormWindow() {
    context_.Remove(*this);
    buttons_.clear();
    if (window_) ::SetWindowLongPtrW(Handle(), GWLP_USERDATA, 0);
}

void FormWindow::SetIcon(HICON icon) {
    ::SendMessageW(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    ::SendMessageW(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
}

NativeButton* FormWindow::ButtonOf(const ui::Control& control) const {
    const auto found = buttons_.find(&control);
    return found != buttons_.end() ? found->second.get() : nullptr;
}

NativeButton* FormWindow::ButtonOf(HWND window) const {
    if (!window) return nullptr;
    for (const auto& [control, button] : buttons_) {
        if (button->Handle() == window) return button.get();
    }
    return nullptr;
}

HWND FormWindow::MadeInFront(const ui::Control& control) const {
    const auto& controls = form_.Controls();
    auto at = std::find_if(controls.begin(), controls.end(),
                           [&control](const auto& each) { return each.get() == &control; });
    if (at == controls.end()) return nullptr;
    for (++at; at != controls.end(); ++at) {
        const NativeButton* button = ButtonOf(**at);
        if (button && button->Handle()) return button->Handle();
    }
    return nullptr;
}

ui::InputRouter& FormWindow::Input() {
    ApplyPendingChanges();
    return mouse_.Router();
}

// A hidden button keeps its changes until it is shown or handed out: nobody sees it. A
// button not made yet is made here once it shows within the window.
void FormWindow::ApplyPendingChanges() {
    for (const auto& [control, button] : buttons_) {
        if (control->Visible()) button->ApplyPendingChanges();
    }
}

void FormWindow::CaptionChanged() { ::SetWindowTextW(Handle(), Widen(form_.Caption()).c_str()); }

void FormWindow::PlaceWindow(ui::Point at) {
    const RECT outer = OuterRect(at, form_.Bounds(), scale_, style_, exStyle_);
    const BusyFlag applying(applyingBounds_);
    ::SetWindowPos(Handle(), nullptr, outer.left, outer.top, outer.right - outer.left,
                   outer.bottom - outer.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void FormWindow::BoundsChanged() {
    const ui::Rect& bounds = form_.Bounds();
    PlaceWindow(scale_.ToDevice(ui::Point{bounds.left, bounds.top}));
    // A larger window may take in buttons not made yet.
    if (::IsWindowVisible(Handle())) ApplyPendingChanges();
}

void FormWindow::VisibleChanged() { ::ShowWindow(Handle(), form_.Visible() ? SW_SHOW : SW_HIDE); }

void FormWindow::EnabledChanged() { ::EnableWindow(Handle(), form_.Enabled() ? TRUE : FALSE); }

void FormWindow::RegionChanged() {
    const auto& shape = form_.Shape();
    if (!shape) {
        ::SetWindowRgn(Handle(), nullptr, TRUE);
        return;
    }
    // Each rectangle is converted edge by edge, so cut-outs that touch stay touching.
    const RECT bounds = ToRect(scale_.ToDevice(shape->bounds));
    UniqueRegion region(::CreateRectRgnIndirect(&bounds));
    if (!region) throw AppError("Cannot create the window shape. Out of memory");
    for (const ui::Rect& cutout : shape->cutouts) {
        const RECT cut = ToRect(scale_.ToDevice(cutout));
        UniqueRegion piece(::CreateRectRgnIndirect(&cut));
        if (!piece) throw AppError("Cannot create the window shape. Out of memory");
        ::CombineRgn(region.Get(), region.Get(), piece.Get(), RGN_DIFF);
    }
    // Once set, the region belongs to the window.
    if (::SetWindowRgn(Handle(), region.Get(), TRUE)) region.Release();
}

void FormWindow::ControlAdded(ui::Control& control) {
    if (control.Kind() == ui::ControlKind::Button) {
        buttons_[&control] = std::make_unique<NativeButton>(
            Handle(), static_cast<ui::Button&>(control), mouse_.Router(), context_.Fonts(), scale_,
            [this](const ui::Button& button) { return MadeInFront(button); });
    } else {
        Invalidate(control.Bounds());
    }
}

void FormWindow::ControlRemoved(ui::Control& control) {
    mouse_.Forget(control);
    if (buttons_.erase(&control) == 0 && control.Visible()) Invalidate(control.Bounds());
}

void FormWindow::ControlChanged(ui::Control& control, ui::ControlChange change,
                                const ui::Rect& old) {
    if (NativeButton* button = ButtonOf(control)) {
        button->Update(change);
    } else if (change == ui::ControlChange::Cursor) {
        mouse_.CursorChanged(control);
    } else if (change == ui::ControlChange::Visible || control.Visible()) {
        // What the control covered before and what it covers now.
        Invalidate(old);
        Invalidate(control.Bounds());
    }
}

void FormWindow::ZOrderChanged(ui::Control& control) {
    if (NativeButton* button = ButtonOf(control)) {
        button->ApplyZOrder(form_.Controls().back().get() == &control);
    } else if (control.Visible()) {
        Invalidate(control.Bounds());
    }
}

void FormWindow::FocusControl(ui::Button& button) {
    if (NativeButton* native = ButtonOf(button)) ::SetFocus(native->Window());
}

void FormWindow::FocusForm() {
    ::SetFocus(Handle());
    form_.FocusChanged(nullptr);
}

void FormWindow::RedrawNow() { ::UpdateWindow(Handle()); }

void FormWindow::AccessibilityEvent(ui::AccessibleEvent event, int element) {
    accessibility_->Notify(event, element);
}

// Focusing and pressing asked for by a screen reader, run like the keyboard's.
void FormWindow::OnAccessibleCommand(WPARAM command, LPARAM target) {
    const int element = accessibility_->ElementOf(target);
    ui::AccessibleElements* elements = form_.Accessible();
    if (element == 0 || !elements) return;
    if (command == static_cast<WPARAM>(AccessibleCommand::Focus)) {
        Dispatch([&] { elements->Focus(element); });
    } else if (command == static_cast<WPARAM>(AccessibleCommand::Press)) {
        Dispatch([&] { elements->Press(element); });
    }
}

// A hidden window is painted whole when it is shown: nothing to mark before that.
void FormWindow::Invalidate(const ui::Rect& bounds) {
    if (bounds.width <= 0 || bounds.height <= 0 || !::IsWindowVisible(Handle())) return;
    const RECT rect = ToRect(scale_.ToDevice(bounds));
    ::InvalidateRect(Handle(), &rect, FALSE);
}

LRESULT CALLBACK FormWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self =
            static_cast<FormWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->window_.Reset(window);
        self->mouse_.SetWindow(window);
    }
    auto* self = reinterpret_cast<FormWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self) return ::DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        // Destroyed by the system (with its owner): nothing is left to destroy.
        ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->window_.Release();
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
    return self->OnMessage(window, message, wParam, lParam);
}

// Handlers dispatch last: a handler may destroy this form, so nothing here touches the
// object after its dispatch.
LRESULT FormWindow::OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ERASEBKGND:
            return 1;  // the paint covers everything
        case WM_PAINT: {
            PaintDc dc(window);
            Paint(dc.Get(), dc.Area());
            return 0;
        }
        case WM_PRINTCLIENT: {
            RECT client{};
            ::GetClientRect(window, &client);
            Paint(reinterpret_cast<HDC>(wParam), client);
            return 0;
        }
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
            mouse_.ButtonDown(message, lParam);
            return 0;
        case WM_MOUSEMOVE:
            mouse_.Move(wParam, lParam);
            return 0;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP:
            mouse_.ButtonUp(message, wParam, lParam);
            return 0;
        case WM_CAPTURECHANGED:
            if (reinterpret_cast<HWND>(lParam) != window) mouse_.CaptureLost();
            return 0;
        case WM_SETCURSOR:
            if (reinterpret_cast<HWND>(wParam) != window || LOWORD(lParam) != HTCLIENT) break;
            mouse_.SetCursorForPointer();
            return TRUE;
        case WM_MOUSEWHEEL:
            OnWheel(wParam);
            return 0;
        case WM_CONTEXTMENU:
            // From the mouse the right button's release has shown the menu already.
            if (lParam != -1) break;
            mouse_.KeyboardMenu();
            return 0;
        case WM_COMMAND:
            if (HIWORD(wParam) == BN_CLICKED && lParam != 0) {
                if (NativeButton* button = ButtonOf(reinterpret_cast<HWND>(lParam))) {
                    ui::Button& model = button->Model();
                    Dispatch([&] { model.Click(); });
                }
                return 0;
            }
            break;
        case WM_CLOSE:
            // The model decides whether the window goes.
            Dispatch([&] { form_.CloseRequested(); });
            return 0;
        case WM_SHOWWINDOW:
            // Buttons set up while the window was hidden appear with it, in their last state.
            if (wParam) ApplyPendingChanges();
            break;
        case WM_ACTIVATE:
            if (RestoreFocus(wParam)) return 0;
            break;
        case WM_WINDOWPOSCHANGED:
            OnPositionChanged();
            break;
        case WM_DPICHANGED:
            OnDpiChanged(wParam, *reinterpret_cast<const RECT*>(lParam));
            return 0;
        case WM_GETOBJECT:
            if (static_cast<DWORD>(lParam) == static_cast<DWORD>(OBJID_CLIENT) && accessibility_) {
                if (const auto answer = accessibility_->Answer(wParam)) return *answer;
            }
            break;
        case kAccessibleCommandMessage:
            OnAccessibleCommand(wParam, lParam);
            return 0;
        default:
            break;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

void FormWindow::Paint(HDC dc, const RECT& area) {
    try {
        painter_.Paint(dc, area, form_, scale_);
    } catch (...) {
        // Out of memory while painting: the area stays as it was; reporting it from a paint
        // would only ask for the next paint.
    }
}

void FormWindow::OnWheel(WPARAM wParam) {
    if (::GetActiveWindow() != Handle()) return;
    wheelRest_ += GET_WHEEL_DELTA_WPARAM(wParam);
    const int notches = wheelRest_ / kWheelNotch;
    if (notches == 0) return;
    wheelRest_ -= notches * kWheelNotch;
    Dispatch([&] { form_.MouseWheel(notches); });
}

// Like a dialog, the window gives the focus back to the button that had it when it went
// inactive. True when it did.
bool FormWindow::RestoreFocus(WPARAM wParam) {
    if (LOWORD(wParam) == WA_INACTIVE) {
        const HWND focus = ::GetFocus();
        lastFocus_ = ButtonOf(focus) ? focus : nullptr;
        return false;
    }
    const bool minimized = HIWORD(wParam) != 0;
    if (minimized || !ButtonOf(lastFocus_)) return false;
    ::SetFocus(lastFocus_);  // its focus handler may destroy this form
    return true;
}

// A window moved or sized by the user (a framed one) keeps the model's bounds true.
void FormWindow::OnPositionChanged() {
    if (!ready_ || applyingBounds_ || ::IsIconic(Handle())) return;
    RECT outer{};
    RECT client{};
    ::GetWindowRect(Handle(), &outer);
    ::GetClientRect(Handle(), &client);
    const ui::Point at = scale_.ToMenu(ui::Point{outer.left, outer.top});
    const ui::Rect bounds{at.x, at.y, scale_.ToMenu(client.right), scale_.ToMenu(client.bottom)};
    if (bounds == form_.Bounds()) return;
    Dispatch([&] {
        const BusyFlag applying(applyingBounds_);
        form_.SetBounds(bounds);
    });
}

// The model's size stays as it is: only its pixels on the screen change. The window goes
// where Windows suggests (which keeps it under the pointer), at the form's size scaled
// exactly as its controls are, and the model learns the new place.
void FormWindow::OnDpiChanged(WPARAM dpi, const RECT& suggested) {
    const ui::DisplayScale scale(LOWORD(dpi));
    if (scale == scale_) return;
    scale_ = scale;
    PlaceWindow({suggested.left, suggested.top});
    for (const auto& [control, button] : buttons_) {
        button->Update(ui::ControlChange::Font);
        button->Update(ui::ControlChange::Bounds);
    }
    RegionChanged();
    ::InvalidateRect(Handle(), nullptr, FALSE);
    Dispatch([&] { form_.ScaleChanged(); });
    OnPositionChanged();  // dispatches: the last thing here
}

}  // namespace ambrevo::win32
