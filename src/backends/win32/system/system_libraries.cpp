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

const VersionFunctions& VersionLibrary() {
    static const VersionFunctions functions = [] {
        constexpr char kName[] = "version.dll";
        const HMODULE library = LoadSystemLibrary(kName);
        return VersionFunctions{Typed<decltype(VersionFunctions::getFileVersionInfoSize)>(
                                    LibraryFunction(library, kName, "GetFileVersionInfoSizeW")),
                                Typed<decltype(VersionFunctions::getFileVersionInfo)>(
                                    LibraryFunction(library, kName, "GetFileVersionInfoW")),
                                Typed<decltype(VersionFunctions::verQueryValue)>(
                                    LibraryFunction(library, kName, "VerQueryValueW"))};
    }();
    return functions;
}

const SoundFunctions& SoundLibrary() {
    static const SoundFunctions functions = [] {
        constexpr char kName[] = "winmm.dll";
        const HMODULE library = LoadSystemLibrary(kName);
        return SoundFunctions{Typed<decltype(SoundFunctions::playSound)>(
            LibraryFunction(library, kName, "PlaySoundW"))};
    }();
    return functions;
}

const AccessibilityFunctions& AccessibilityLibrary() {
    static const AccessibilityFunctions functions = [] {
        constexpr char kAccessibility[] = "oleacc.dll";
        constexpr char kAutomation[] = "oleaut32.dll";
        const HMODULE accessibility = LoadSystemLibrary(kAccessibility);
        const HMODULE automation = LoadSystemLibrary(kAutomation);
        return AccessibilityFunctions{
            Typed<decltype(AccessibilityFunctions::lresultFromObject)>(
                LibraryFunction(accessibility, kAccessibility, "LresultFromObject")),
            Typed<decltype(AccessibilityFunctions::createStdAccessibleObject)>(
                LibraryFunction(accessibility, kAccessibility, "CreateStdAccessibleObject")),
            Typed<decltype(AccessibilityFunctions::sysAllocString)>(
                LibraryFunction(automation, kAutomation, "SysAllocString"))};
    }();
    return functions;
}

const ShellFunctions& ShellLibrary() {
    static const ShellFunctions functions = [] {
        constexpr char kName[] = "shell32.dll";
        const HMODULE library = LoadSystemLibrary(kName);
        return ShellFunctions{Typed<decltype(ShellFunctions::shellExecuteEx)>(
                                  LibraryFunction(library, kName, "ShellExecuteExW")),
                              Typed<decltype(ShellFunctions::findExecutable)>(
                                  LibraryFunction(library, kName, "FindExecutableW"))};
    }();
    return functions;
}

const ComFunctions& ComLibrary() {
    static const ComFunctions functions = [] {
        constexpr char kName[] = "ole32.dll";
        const HMODULE library = LoadSystemLibrary(kName);
        return ComFunctions{
            Typed<decltype(ComFunctions::initialize)>(LibraryFunction(library, kName, "CoInitializeEx")),
            Typed<decltype(ComFunctions::uninitialize)>(
                LibraryFunction(library, kName, "CoUninitialize"))};
    }();
    return functions;
}

}  // namespace ambrevo::win32
