#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace ambrevo::pack {

// The bare player this tool carries for a Windows of bits (32 or 64): its bytes as the
// player's Windows build wrote them, empty when the tool was built before that player
// (cmake/embed_players.cmake writes this function at each build).
std::span<const std::uint8_t> CarriedPlayer(int bits);

// The player a build appends its package to.
struct BuildPlayer {
    std::vector<std::uint8_t> bytes;
    std::string name;  // how messages name it: its file, or "the carried 32-bit player"
    std::optional<std::filesystem::path> file;  // the file it was read from, when given
};

// The given file, else the player carried for bits. Throws PackError for bits other than
// 32 and 64, and when this tool carries no such player.
BuildPlayer PlayerForBuild(const std::optional<std::filesystem::path>& file, int bits);

}  // namespace ambrevo::pack
