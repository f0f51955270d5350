#pragma once

#include <windows.h>

#include <utility>

namespace ambrevo::win32 {

// Owns one Win32 handle and releases it through Traits::Close. Move-only, so a handle is
// released exactly once.
template <typename Traits>
class UniqueHandle {
public:
    using Handle = typename Traits::Handle;

    UniqueHandle() = default;
    explicit UniqueHandle(Handle handle) : handle_(handle) {}
    ~UniqueHandle() { Reset(); }

    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.Release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) Reset(other.Release());
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    Handle Get() const { return handle_; }
    explicit operator bool() const { return handle_ != Traits::Invalid(); }

    // Gives the handle up without releasing it.
    Handle Release() { return std::exchange(handle_, Traits::Invalid()); }

    void Reset(Handle handle = Traits::Invalid()) {
        const Handle old = std::exchange(handle_, handle);
        if (old != Traits::Invalid()) Traits::Close(old);
    }

private:
    Handle handle_ = Traits::Invalid();
};

// Kernel handles whose failure value is INVALID_HANDLE_VALUE (CreateFileA).
struct FileHandleTraits {
    using Handle = HANDLE;
    static Handle Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Handle handle) { ::CloseHandle(handle); }
};

// Kernel handles whose failure value is null (processes).
struct ProcessHandleTraits {
    using Handle = HANDLE;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle handle) { ::CloseHandle(handle); }
};

struct FindHandleTraits {
    using Handle = HANDLE;
    static Handle Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Handle handle) { ::FindClose(handle); }
};

template <typename GdiHandle>
struct GdiObjectTraits {
    using Handle = GdiHandle;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle handle) { ::DeleteObject(handle); }
};

struct MemoryDcTraits {
    using Handle = HDC;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle handle) { ::DeleteDC(handle); }
};

struct IconTraits {
    using Handle = HICON;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle handle) { ::DestroyIcon(handle); }
};

struct WindowTraits {
    using Handle = HWND;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle handle) { ::DestroyWindow(handle); }
};

struct MenuTraits {
    using Handle = HMENU;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle handle) { ::DestroyMenu(handle); }
};

using UniqueFile = UniqueHandle<FileHandleTraits>;
using UniqueProcess = UniqueHandle<ProcessHandleTraits>;
using UniqueFind = UniqueHandle<FindHandleTraits>;
using UniqueBitmap = UniqueHandle<GdiObjectTraits<HBITMAP>>;
using UniqueFont = UniqueHandle<GdiObjectTraits<HFONT>>;
using UniqueBrush = UniqueHandle<GdiObjectTraits<HBRUSH>>;
using UniqueRegion = UniqueHandle<GdiObjectTraits<HRGN>>;
using UniqueMemoryDc = UniqueHandle<MemoryDcTraits>;
using UniqueIcon = UniqueHandle<IconTraits>;
using UniqueWindow = UniqueHandle<WindowTraits>;
using UniqueMenu = UniqueHandle<MenuTraits>;

}  // namespace ambrevo::win32
