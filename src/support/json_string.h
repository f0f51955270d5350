#pragma once

#include <string>
#include <string_view>

namespace ambrevo {

// A JSON string literal of UTF-8 text: quotes and backslashes escaped, control characters
// as \u00XX, every other byte as it is.
std::string JsonString(std::string_view text);

}  // namespace ambrevo
