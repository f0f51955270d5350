#include "backends/win32/services/win32_application_icon.h"

#include "backends/win32/system/system_error.h"
#include "backends/win32/system/wide_text.h"
#include "support/app_error.h"

namespace ambrevo::win32 {
namespace {

// The name of the icon in resources/ambrevo.rc; the first icon is also the file's own.
constexpr char kMainIconName[] = "MAINICON";

}  // namespace

Win32ApplicationIcon::Win32ApplicationIcon(HINSTANCE instance)
    : builtIn_(::LoadIconA(instance, kMainIconName)) {}

void Win32ApplicationIcon::LoadFromFile(const std::string& path) {
    UniqueIcon icon(static_cast<HICON>(::LoadImageW(nullptr, Widen(path).c_str(), IMAGE_ICON, 0, 0,
                                                    LR_LOADFROMFILE | LR_DEFAULTSIZE)));
    if (!icon) {
        // A file that is there but holds no icon fails without an error code.
        const DWORD error = ::GetLastError();
        throw AppError("Cannot load icon file \"" + path + "\". " +
                       (error != ERROR_SUCCESS ? SystemErrorMessage(error) : "It is not an icon"));
    }
    loaded_ = std::move(icon);
    if (onChanged) onChanged(loaded_.Get());
}

}  // namespace ambrevo::win32
