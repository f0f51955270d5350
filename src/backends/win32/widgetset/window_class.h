#pragma once

#include <windows.h>

#include <string>

namespace ambrevo::win32 {

// A registered window class, unregistered with the object. Neither copied nor moved.
class WindowClass {
public:
    // Throws AppError when the class cannot be registered.
    WindowClass(HINSTANCE instance, std::string name, WNDPROC procedure, HBRUSH background);
    ~WindowClass();
    WindowClass(const WindowClass&) = delete;
    WindowClass& operator=(const WindowClass&) = delete;

    HINSTANCE Instance() const { return instance_; }
    const wchar_t* Name() const { return wideName_.c_str(); }

private:
    HINSTANCE instance_;
    std::string name_;
    std::wstring wideName_;
};

}  // namespace ambrevo::win32
