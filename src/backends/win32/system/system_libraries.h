#pragma once

#include <windows.h>
// After <windows.h>, which they need.
#include <mmsystem.h>
#include <objbase.h>
#include <oleacc.h>
#include <shellapi.h>
#include <winver.h>

namespace ambrevo::win32 {

// Takes the current folder and the program's own folder out of the DLL search, so that a
// DLL named like a system one that lies beside the program on a disc or in a download
// folder is never loaded. First thing at start, before any library is loaded at run time.
void RestrictDllSearch();

// Loads a library of the system folder by its file name, never one found elsewhere.
// Throws AppError when it cannot be loaded. The library stays loaded for the whole run.
HMODULE LoadSystemLibrary(const char* name);

// The address of a function of a loaded library; throws AppError when it is missing.
FARPROC LibraryFunction(HMODULE library, const char* libraryName, const char* functionName);

// The DPI of a window's screen, from GetDpiForWindow where the system has it (Windows 10
// 1607 and later); for no window, or without that function, the DPI the system gives every
// program (the primary screen's when the program started).
int WindowDpi(HWND window);

// The version-resource functions, resolved from the system folder's version.dll on first
// use. Throws AppError when the library or a function is missing.
struct VersionFunctions {
    decltype(&::GetFileVersionInfoSizeW) getFileVersionInfoSize;
    decltype(&::GetFileVersionInfoW) getFileVersionInfo;
    decltype(&::VerQueryValueW) verQueryValue;
};
const VersionFunctions& VersionLibrary();

// The sound function, resolved from the system folder's winmm.dll on first use. Throws
// AppError when the library or the function is missing.
struct SoundFunctions {
    decltype(&::PlaySoundW) playSound;
};
const SoundFunctions& SoundLibrary();

// The accessibility functions, resolved on first use from the system folder's oleacc.dll
// and oleaut32.dll (whose texts oleacc's callers free). Only a screen reader's question
// loads them. Throws AppError when a library or a function is missing.
struct AccessibilityFunctions {
    decltype(&::LresultFromObject) lresultFromObject;
    decltype(&::CreateStdAccessibleObject) createStdAccessibleObject;
    decltype(&::SysAllocString) sysAllocString;
};
const AccessibilityFunctions& AccessibilityLibrary();

// The shell's functions, resolved on first use from the system folder's shell32.dll: only a
// launch or a viewer check loads the shell, which otherwise costs every start a dozen
// libraries. Throws AppError when the library or a function is missing.
struct ShellFunctions {
    decltype(&::ShellExecuteExW) shellExecuteEx;
    decltype(&::FindExecutableW) findExecutable;
};
const ShellFunctions& ShellLibrary();

// COM's start and end for a thread, resolved on first use from the system folder's
// ole32.dll. Throws AppError when the library or a function is missing.
struct ComFunctions {
    decltype(&::CoInitializeEx) initialize;
    decltype(&::CoUninitialize) uninitialize;
};
const ComFunctions& ComLibrary();

}  // namespace ambrevo::win32
