#include "backends/win32/widgetset/win32_widgetset.h"

#include "backends/win32/system/system_libraries.h"
#include "backends/win32/system/wide_text.h"
#include "backends/win32/widgetset/application_icon_image.h"
#include "backends/win32/widgetset/form_keyboard.h"
#include "backends/win32/widgetset/form_window.h"
#include "backends/win32/widgetset/label_text.h"
#include "graphics/display_scale.h"

namespace ambrevo::win32 {

Win32Widgetset::Win32Widgetset(HINSTANCE instance, HICON icon)
    : context_(instance, icon, &FormWindow::WindowProc), timers_(instance) {}

Win32Widgetset::~Win32Widgetset() = default;

void Win32Widgetset::Attach(ui::Application& application) { timers_.Attach(application); }

void Win32Widgetset::SetIcon(HICON icon) {
    context_.SetIcon(icon);
    iconImage_.reset();
    for (FormWindow* form : context_.Forms()) form->SetIcon(icon);
}

FormWindow* Win32Widgetset::FormOf(const ui::Form& form) const {
    for (FormWindow* window : context_.Forms()) {
        if (&window->Model() == &form) return window;
    }
    return nullptr;
}

HWND Win32Widgetset::WindowOf(const ui::Form& form) const {
    const FormWindow* window = FormOf(form);
    return window ? window->Handle() : nullptr;
}

HWND Win32Widgetset::WindowOf(const ui::Button& button) const {
    const FormWindow* window = FormOf(button.Owner());
    NativeButton* native = window ? window->ButtonOf(button) : nullptr;
    return native ? native->Window() : nullptr;  // made now, in the model's state
}

std::size_t Win32Widgetset::CachedBitmapCount() const { return context_.Bitmaps().Size(); }

std::unique_ptr<ui::FormPeer> Win32Widgetset::CreateFormPeer(ui::Form& form) {
    return std::make_unique<FormWindow>(context_, form);
}

std::unique_ptr<ui::TimerPeer> Win32Widgetset::CreateTimerPeer(ui::Timer& timer) {
    return timers_.CreatePeer(timer);
}

void Win32Widgetset::Deliver(MSG& message) {
    FormWindow* form = context_.FormOf(::GetAncestor(message.hwnd, GA_ROOT));
    if (form && PreTranslateFormKey(*form, message)) return;
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
}

void Win32Widgetset::ProcessMessages() {
    MSG message{};
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            // Left for the message loop that this call is nested in.
            ::PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        Deliver(message);
    }
}

void Win32Widgetset::RunMessageLoop() {
    MSG message{};
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) Deliver(message);
}

void Win32Widgetset::Quit() { ::PostQuitMessage(0); }

void Win32Widgetset::SetApplicationTitle(const std::string& title) {
    context_.SetTitle(title);
    if (const FormWindow* main = context_.MainForm()) {
        ::SetWindowTextW(main->Handle(), Widen(title).c_str());
    }
}

void Win32Widgetset::MinimizeApplication() {
    if (const FormWindow* main = context_.MainForm()) ::ShowWindow(main->Handle(), SW_MINIMIZE);
}

void Win32Widgetset::RestoreApplication() {
    if (const FormWindow* main = context_.MainForm()) {
        ::ShowWindow(main->Handle(), SW_RESTORE);
        ::SetForegroundWindow(main->Handle());
    }
}

ui::Size Win32Widgetset::ScreenSize() {
    // In menu coordinates, as the forms' bounds are.
    const ui::DisplayScale scale(WindowDpi(nullptr));
    return {scale.ToMenu(::GetSystemMetrics(SM_CXSCREEN)),
            scale.ToMenu(::GetSystemMetrics(SM_CYSCREEN))};
}

ui::Size Win32Widgetset::MeasureText(const ui::Font& font, const std::string& text, int maxWidth) {
    if (!measureDc_) measureDc_.Reset(::CreateCompatibleDC(nullptr));
    if (!measureDc_) return {};
    return MeasureLabelText(measureDc_.Get(), context_.Fonts().Get(font), text, maxWidth);
}

std::shared_ptr<const Bitmap> Win32Widgetset::ApplicationIconImage() {
    if (!iconImage_ && context_.Icon()) iconImage_ = DrawIconImage(context_.Icon());
    return iconImage_;
}

}  // namespace ambrevo::win32
