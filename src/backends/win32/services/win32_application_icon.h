#pragma once

#include <windows.h>

#include <functional>

#include "backends/win32/system/unique_handle.h"
#include "services/application_icon.h"

namespace ambrevo::win32 {

// The application's icon: the one built into the program until an icon file replaces it.
class Win32ApplicationIcon : public ApplicationIcon {
public:
    explicit Win32ApplicationIcon(HINSTANCE instance);

    void LoadFromFile(const std::string& path) override;

    // For the windows to show, in their title and in the task bar.
    HICON Get() const { return loaded_ ? loaded_.Get() : builtIn_; }
    // Called when an icon file has replaced the icon.
    std::function<void(HICON)> onChanged;

private:
    HICON builtIn_;      // shared resource icon, never destroyed
    UniqueIcon loaded_;  // from a file beside the program
};

}  // namespace ambrevo::win32
