#include "backends/win32/system/system_libraries.h"

#include <gtest/gtest.h>

#include <string>

#include "support/app_error.h"
#include "support/ascii.h"

namespace ambrevo::win32 {
namespace {

// The file of the module that holds the function, lower-cased.
std::string ModuleFileOf(const void* function) {
    HMODULE module = nullptr;
    ::GetModuleHandleExA(
        GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
        static_cast<LPCSTR>(function), &module);
    char path[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameA(module, path, MAX_PATH);
    return AsciiLower(std::string(path, length));
}

std::string SystemFile(const char* name) {
    char folder[MAX_PATH] = {};
    const UINT length = ::GetSystemDirectoryA(folder, MAX_PATH);
    return AsciiLower(std::string(folder, length) + "\\" + name);
}

TEST(SystemLibrariesTest, FunctionsComeFromTheSystemFolderOnce) {
    RestrictDllSearch();
    const struct {
        const void* function;
        const char* library;
    } cases[] = {
        {reinterpret_cast<const void*>(VersionLibrary().getFileVersionInfoSize), "version.dll"},
        {reinterpret_cast<const void*>(VersionLibrary().getFileVersionInfo), "version.dll"},
        {reinterpret_cast<const void*>(VersionLibrary().verQueryValue), "version.dll"},
        {reinterpret_cast<const void*>(SoundLibrary().playSound), "winmm.dll"},
    };
    for (const auto& c : cases) {
        ASSERT_NE(c.function, nullptr) << c.library;
        EXPECT_EQ(ModuleFileOf(c.function), SystemFile(c.library)) << c.library;
    }
    EXPECT_EQ(&VersionLibrary(), &VersionLibrary());
}

TEST(SystemLibrariesTest, MissingLibraryOrFunctionIsAnErrorNamingIt) {
    try {
        LoadSystemLibrary("ambrevo-no-such-library.dll");
        ADD_FAILURE() << "no error";
    } catch (const AppError& error) {
        EXPECT_EQ(std::string(error.what())
                      .rfind("Cannot load the system library \"ambrevo-no-such-library.dll\". ", 0),
                  0u)
            << error.what();
    }
    const HMODULE version = LoadSystemLibrary("version.dll");
    EXPECT_NE(LibraryFunction(version, "version.dll", "VerQueryValueA"), nullptr);
    try {
        LibraryFunction(version, "version.dll", "NoSuchFunction");
        ADD_FAILURE() << "no error";
    } catch (const AppError& error) {
        EXPECT_STREQ(error.what(),
                     "The system library \"version.dll\" has no function NoSuchFunction");
    }
}

}  // namespace
}  // namespace ambrevo::win32
