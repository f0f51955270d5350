#include "support/language_codes.h"

#include <algorithm>

#include "support/ascii.h"

namespace ambrevo {

bool IsLanguageCode(std::string_view code) {
    return code.size() == 2 &&
           std::all_of(code.begin(), code.end(), [](char c) { return c >= 'a' && c <= 'z'; });
}

std::string LanguageCodeOf(std::string_view tag) {
    const std::string code = AsciiLower(tag.substr(0, tag.find_first_of("-_.@")));
    return IsLanguageCode(code) ? code : std::string();
}

std::vector<std::string> LanguageCodesOf(std::span<const std::string> tags) {
    std::vector<std::string> codes;
    for (const std::string& tag : tags) {
        std::string code = LanguageCodeOf(tag);
        if (code.empty() || std::find(codes.begin(), codes.end(), code) != codes.end()) continue;
        codes.push_back(std::move(code));
    }
    return codes;
}

}  // namespace ambrevo
