#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace ambrevo::pack {

// Refuses, with a PackError that names the file as `shownName`, a player that is no
// 32-bit Windows program: bytes without the "MZ" and "PE" headers, or a program for
// another processor (64-bit and the rest). Whether it already carries a package is
// checked apart.
void CheckWindowsPlayer(std::span<const std::uint8_t> program, const std::string& shownName);

// True for a 32-bit Windows program with nothing appended that ends like a package: the
// last four bytes do not give the place of a package header within the file.
bool IsBarePlayer(std::span<const std::uint8_t> program);

}  // namespace ambrevo::pack
