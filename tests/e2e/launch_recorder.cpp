// A program that the end-to-end tests launch from menu items. It appends one line to
// launches.txt beside itself: its working folder, then each argument after a "|", in
// UTF-8 whatever the machine's code page. With "/linger MS" as its first two arguments it
// stays that long before it ends, so that a test can watch the menu wait for it.

#include <windows.h>
// After <windows.h>, which it needs.
#include <shellapi.h>

#include <chrono>
#include <exception>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

namespace {

std::string Utf8(const std::wstring& text) {
    const int size =
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1) return {};
    std::string out(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, out.data(), size, nullptr, nullptr);
    out.pop_back();  // the terminator
    return out;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (argv == nullptr || argc < 1) return 1;
    try {
        wchar_t self[MAX_PATH * 4];
        const DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH * 4);
        if (length == 0 || length >= MAX_PATH * 4) return 1;
        {
            std::ofstream out(std::filesystem::path(self).parent_path() / "launches.txt",
                              std::ios::app);
            out << Utf8(std::filesystem::current_path().wstring());
            for (int i = 1; i < argc; ++i) out << '|' << Utf8(argv[i]);
            out << '\n';
        }
        if (argc >= 3 && std::wstring(argv[1]) == L"/linger") {
            std::this_thread::sleep_for(std::chrono::milliseconds(std::stoi(argv[2])));
        }
    } catch (const std::exception&) {
        return 1;
    }
    return 0;
}
