#include "backends/win32/widgetset/widget_context.h"

#include <algorithm>

#include "backends/win32/widgetset/form_window.h"

namespace ambrevo::win32 {
namespace {

constexpr char kFormClassName[] = "AmbrevoForm";

}  // namespace

WidgetContext::WidgetContext(HINSTANCE instance, HICON icon, WNDPROC formProcedure)
    : formClass_(instance, kFormClassName, formProcedure,
                 reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1))),
      icon_(icon) {}

void WidgetContext::Remove(const FormWindow& form) { std::erase(forms_, &form); }

FormWindow* WidgetContext::FormOf(HWND topLevel) const {
    const auto found = std::find_if(forms_.begin(), forms_.end(), [&](const FormWindow* form) {
        return form->Handle() == topLevel && topLevel != nullptr;
    });
    return found != forms_.end() ? *found : nullptr;
}

FormWindow* WidgetContext::MainForm() const {
    const auto found = std::find_if(forms_.begin(), forms_.end(), [](const FormWindow* form) {
        return form->Model().Style() == ui::FormStyle::Borderless && form->Handle() != nullptr;
    });
    return found != forms_.end() ? *found : nullptr;
}

}  // namespace ambrevo::win32
