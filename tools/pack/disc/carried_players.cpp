#include "pack/disc/carried_players.h"

#include "pack/common/file_io.h"
#include "pack/common/pack_error.h"

namespace ambrevo::pack {

BuildPlayer PlayerForBuild(const std::optional<std::filesystem::path>& file, int bits) {
    if (file) return {ReadFileBytes(*file), PathToUtf8(*file), file};
    if (bits != 32 && bits != 64) {
        throw PackError("--bits is 32 or 64, not " + std::to_string(bits));
    }
    const std::span<const std::uint8_t> carried = CarriedPlayer(bits);
    const std::string name = "the carried " + std::to_string(bits) + "-bit player";
    if (carried.empty()) {
        throw PackError("this tool carries no " + std::to_string(bits) +
                        "-bit player (it was built before the player); give --player FILE");
    }
    return {{carried.begin(), carried.end()}, name, std::nullopt};
}

}  // namespace ambrevo::pack
