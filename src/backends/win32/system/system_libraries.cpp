#include "backends/win32/system/system_libraries.h"

#include <string>

#include "backends/win32/system/system_error.h"
#include "backends/win32/system/wide_text.h"
#include "support/app_error.h"

namespace ambrevo::win32 {
namespace {

// The search flags of LoadLibraryExW and SetDefaultDllDirectories came with a Windows
// update; the player looks them up so that it still starts on a system without them.
using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);

FARPROC Kernel32Function(const char* name) {
    const HMODULE kernel32 = ::GetModuleHandleA("kernel32.dll");
    return kernel32 != nullptr ? ::GetProcAddress(kernel32, name) : nullptr;
}

bool HasSearchFlags() { return Kernel32Function("SetDefaultDllDirectories") != nullptr; }

std::wstring SystemFolder() {
    wchar_t folder[MAX_PATH];
    const UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        throw AppError("Cannot find the system folder. " + SystemErrorMessage(::GetLastError()));
    }
    return std::wstring(folder, length);
}

// A function pointer of the library's own type. The detour through the generic function
// type tells the compiler that the cast is meant.
template <typename Function>
Function Typed(FARPROC address) {
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(address));
}

}  // namespace

void RestrictDllSearch() {
    ::SetDllDirectoryA("");
    if (const FARPROC address = Kernel32Function("SetDefaultDllDirectories")) {
        Typed<SetDefaultDllDirectoriesFunction>(address)(LOAD_LIBRARY_SEARCH_SYSTEM32);
    }
}

HMODULE LoadSystemLibrary(const char* name) {
    // Without the search flags, a full path in the system folder; the altered search then
    // takes the library's own dependencies from there too.
    const std::wstring path = HasSearchFlags() ? Widen(name) : SystemFolder() + L"\\" + Widen(name);
    const HMODULE library = ::LoadLibraryExW(
        path.c_str(), nullptr,
        HasSearchFlags() ? LOAD_LIBRARY_SEARCH_SYSTEM32 : LOAD_WITH_ALTERED_SEARCH_PATH);
    if (library == nullptr) {
        const DWORD error = ::GetLastError();
        throw AppError("Cannot load the system library \"" + std::string(name) + "\". " +
                       SystemErrorMessage(error));
    }
    return library;
}

FARPROC LibraryFunction(HMODULE library, const char* libraryName, const char* functionName) {
    const FARPROC address = ::GetProcAddress(library, functionName);
    if (address == nullptr) {
        throw AppError("The system library \"" + std::string(libraryName) + "\" has no function " +
                       functionName);
    }
    return address;
}

namespace {

// A library of the system folder, loaded for the whole run; Function gives the address of
// one of its functions, which converts to the function pointer type it initialises.
class SystemLibrary {
public:
    explicit SystemLibrary(const char* name) : name_(name), library_(LoadSystemLibrary(name)) {}

    class Address {
    public:
        explicit Address(FARPROC address) : address_(address) {}
        template <typename Function>
        operator Function() const {  // NOLINT(google-explicit-constructor): the point of it
            return Typed<Function>(address_);
        }

    private:
        FARPROC address_;
    };
    Address Function(const char* functionName) const {
        return Address(LibraryFunction(library_, name_, functionName));
    }

private:
    const char* name_;
    HMODULE library_;
};

// The functions of one library, in the order their struct lists them.
template <typename Functions, typename... Names>
Functions FunctionsOf(const char* libraryName, Names... functionNames) {
    const SystemLibrary library(libraryName);
    return Functions{library.Function(functionNames)...};
}

}  // namespace

// Looked up per window: a form window is made a handful of times per run.
int WindowDpi(HWND window) {
    using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
    const HMODULE user32 = ::GetModuleHandleA("user32.dll");
    const auto getDpiForWindow =
        window && user32 ? reinterpret_cast<GetDpiForWindowFunction>(
                               reinterpret_cast<void*>(::GetProcAddress(user32, "GetDpiForWindow")))
                         : nullptr;
    if (const int dpi = getDpiForWindow ? static_cast<int>(getDpiForWindow(window)) : 0; dpi > 0) {
        return dpi;
    }
    const HDC screen = ::GetDC(nullptr);
    if (!screen) return 0;
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    return dpi;
}

const VersionFunctions& VersionLibrary() {
    static const auto functions = FunctionsOf<VersionFunctions>(
        "version.dll", "GetFileVersionInfoSizeW", "GetFileVersionInfoW", "VerQueryValueW");
    return functions;
}

const SoundFunctions& SoundLibrary() {
    static const auto functions = FunctionsOf<SoundFunctions>("winmm.dll", "PlaySoundW");
    return functions;
}

const AccessibilityFunctions& AccessibilityLibrary() {
    static const AccessibilityFunctions functions = [] {
        const SystemLibrary accessibility("oleacc.dll");
        const SystemLibrary automation("oleaut32.dll");
        return AccessibilityFunctions{accessibility.Function("LresultFromObject"),
                                      accessibility.Function("CreateStdAccessibleObject"),
                                      automation.Function("SysAllocString")};
    }();
    return functions;
}

const ShellFunctions& ShellLibrary() {
    static const auto functions =
        FunctionsOf<ShellFunctions>("shell32.dll", "ShellExecuteExW", "FindExecutableW");
    return functions;
}

const ComFunctions& ComLibrary() {
    static const auto functions =
        FunctionsOf<ComFunctions>("ole32.dll", "CoInitializeEx", "CoUninitialize");
    return functions;
}

}  // namespace ambrevo::win32
