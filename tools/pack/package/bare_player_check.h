#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace ambrevo::pack {

// Refuses, with a PackError that names the file as `shownName`, a player that is neither
// bare player: bytes without the "MZ" and "PE" headers, or a Windows program that is not
// the 32-bit (i386) or the 64-bit (x86-64) kind. Whether it already carries a package is
// checked apart.
void CheckWindowsPlayer(std::span<const std::uint8_t> program, const std::string& shownName);

// True for a 32- or 64-bit player with nothing appended that ends like a package: the
// last four bytes do not give the place of a package header within the file.
bool IsBarePlayer(std::span<const std::uint8_t> program);

}  // namespace ambrevo::pack
