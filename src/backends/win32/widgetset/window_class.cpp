#include "backends/win32/widgetset/window_class.h"

#include "backends/win32/system/system_error.h"
#include "backends/win32/system/wide_text.h"
#include "support/app_error.h"

namespace ambrevo::win32 {

WindowClass::WindowClass(HINSTANCE instance, std::string name, WNDPROC procedure, HBRUSH background)
    : instance_(instance), name_(std::move(name)), wideName_(Widen(name_)) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance_;
    windowClass.hbrBackground = background;
    windowClass.lpszClassName = wideName_.c_str();
    if (::RegisterClassExW(&windowClass) == 0) {
        const DWORD error = ::GetLastError();
        throw AppError("Cannot register the window class \"" + name_ + "\". " +
                       SystemErrorMessage(error));
    }
}

WindowClass::~WindowClass() { ::UnregisterClassW(wideName_.c_str(), instance_); }

}  // namespace ambrevo::win32
