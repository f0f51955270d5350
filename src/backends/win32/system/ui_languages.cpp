#include "backends/win32/system/ui_languages.h"

#include <windows.h>

#include "support/language_codes.h"

namespace ambrevo::win32 {
namespace {

// LOCALE_SISO639LANGNAME holds at most nine characters with the terminating null.
constexpr int kIsoNameSize = 9;

// The ISO 639 name of a language identifier's locale; empty when Windows has none.
std::string IsoLanguageName(LANGID language) {
    char name[kIsoNameSize] = {};
    const LCID locale = MAKELCID(language, SORT_DEFAULT);
    if (GetLocaleInfoA(locale, LOCALE_SISO639LANGNAME, name, kIsoNameSize) == 0) return {};
    return name;
}

}  // namespace

std::vector<std::string> UserInterfaceLanguageCodes() {
    const std::vector<std::string> names = {IsoLanguageName(GetUserDefaultUILanguage()),
                                            IsoLanguageName(GetSystemDefaultUILanguage())};
    return LanguageCodesOf(names);
}

}  // namespace ambrevo::win32
