#pragma once

#include <cstdint>

namespace ambrevo {

// A menu's texts are in the machine's ANSI code page unless the package declares another
// for it. The declarations travel in a package entry of their own, which players that do
// not know it never look up:
//   entry "codepages.dat": ReadInteger count (0..100), then count times
//   ReadString (the menu's entry name, lower case) and ReadLong (its Windows code page).
inline constexpr char kCodePageEntryName[] = "codepages.dat";
inline constexpr std::uint32_t kSystemCodePage = 0;  // the machine's ANSI code page
inline constexpr std::uint32_t kWindows1252 = 1252;
inline constexpr std::uint32_t kUtf8CodePage = 65001;

}  // namespace ambrevo
