#pragma once

#include <string>
#include <string_view>

namespace ambrevo::win32 {

// The player's texts are UTF-8; Windows takes and gives UTF-16 through its wide functions,
// which reach every file name and draw every script whatever the machine's code page.
std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view wide);
std::string Narrow(const wchar_t* wide);  // a terminated text; null gives ""

}  // namespace ambrevo::win32
