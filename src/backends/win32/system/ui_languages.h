#pragma once

#include <string>
#include <vector>

namespace ambrevo::win32 {

// The ISO 639-1 codes of the user's user-interface language, then of the system's
// ("de", "en"), each once; a language without a two-letter code is left out.
std::vector<std::string> UserInterfaceLanguageCodes();

}  // namespace ambrevo::win32
