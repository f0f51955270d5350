#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace ambrevo {

// True for an ISO 639-1 language code as packages store it: two letters a-z.
bool IsLanguageCode(std::string_view code);

// The ISO 639-1 code of a language tag ("de-DE", "de_DE.UTF-8", "DE" give "de"): its
// first part, lower-cased; empty when that part is not two letters (a three-letter code,
// "*", an empty tag).
std::string LanguageCodeOf(std::string_view tag);

// The codes of the tags in order of preference, each once; tags without a code are left out.
std::vector<std::string> LanguageCodesOf(std::span<const std::string> tags);

}  // namespace ambrevo
