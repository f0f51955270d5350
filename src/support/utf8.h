#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace ambrevo {

// Texts inside the player are UTF-8: menu texts are decoded from their code page when a
// menu is read, and paths come from the platform's wide functions. ASCII bytes never occur
// inside a multi-byte sequence, so the path and marker rules that look at ASCII characters
// ("\", "%", ".mnu", A-Z folding) work on UTF-8 unchanged.

constexpr std::uint32_t kInvalidUtf8 = 0xFFFFFFFF;

// Decodes the character at text[i] and advances i past it; kInvalidUtf8 (advancing by at
// least one byte) for a malformed or overlong sequence, a surrogate or a value past U+10FFFF.
std::uint32_t NextCodePoint(std::string_view text, std::size_t& i);

void AppendUtf8(std::string& out, std::uint32_t codePoint);

// UTF-16 code units, with a character outside the basic plane as a surrogate pair.
std::u16string Utf8ToUtf16(std::string_view utf8);
// Unpaired surrogates become U+FFFD.
std::string Utf16ToUtf8(std::u16string_view utf16);

}  // namespace ambrevo
